// Numbered menus tied to a window, whose items raise EVENT_MENU, and each
// window's keyboard shortcuts, which raise EVENT_MENU with an item number.
#pragma once

#include "base/system/handles.h"
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

// The window's new accelerator table, or 0 (no such window, or the platform
// refused the table; the entry stays in the list).
HACCEL AddShortcut(int64_t window, int64_t keyValue, int32_t item);
// keyValue -1 removes every entry, Tab and Shift+Tab included.
void RemoveShortcut(int64_t window, int64_t keyValue);

void StartMenus();
