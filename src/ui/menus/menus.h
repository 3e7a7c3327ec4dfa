// Numbered menus tied to a window, whose items raise EVENT_MENU. A window's
// keyboard shortcuts (ui/windows/shortcuts.h) raise EVENT_MENU with an item
// number too, and bind through BindMenuItemHandler.
#pragma once

#include "base/platform/handles.h"
#include "ui/events/dispatch.h"

#include <cstdint>
#include <windows.h>

struct Registry;
extern Registry* MenuRegistry;

// The menu registry's object: constructed by CreateMenuBar, destroyed when
// the menu is freed.
struct MenuRecord {
    MenuHandle handle;
    HWND owner;        // may be null; null again once the window is destroyed
    int32_t ownerGone; // the owner window was destroyed: items bind to nothing
};

constexpr const wchar_t* MENU_SUBCLASS_PROPERTY = L"LinenavMenuPreviousProcedure";

// The menu handle, the generated number for NEW_OBJECT, 0 on failure. The
// menu is never attached: the window keeps its client size.
int64_t CreateMenuBar(int64_t number, HWND owner);
// 1 if bound; 0 if the menu is not in use, its window was destroyed, or the
// handler is already bound.
int32_t BindMenuItemHandler(int64_t menu, int32_t item, EventHandler handler);
void FreeMenu(int64_t number); // ALL_OBJECTS: every menu

void StartMenus();
