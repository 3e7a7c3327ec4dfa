// A runtime window's record and number: the window registry, the number
// property every runtime window carries, and the ways from a platform window
// to its number and record. The window procedure (app_windows.h) and the
// shortcuts (shortcuts.h) both read them; neither is needed to find them.
#pragma once

#include "base/platform/handles.h"
#include "ui/windows/shortcut_list.h"

#include <cstdint>
#include <windows.h>

struct Registry;
extern Registry* WindowRegistry; // made by StartWindows

// The window registry's object: constructed by OpenAppWindow, destroyed with
// the window's last message.
struct AppWindow {
    HWND handle;                    // raw: CloseAppWindow, the registry's release, owns it; null while free
    ShortcutList shortcuts;         // Tab, Shift+Tab, then the program's own
    AcceleratorTable shortcutTable; // the list compiled for the platform, or none
    int32_t minMax;                 // shown or reported minimized or maximized
    int32_t opened;                 // 0 until OpenAppWindow has finished
};

// Names of the properties every runtime window carries.
constexpr const wchar_t* WINDOW_NUMBER_PROPERTY = L"LinenavWindowNumber"; // number + 1
constexpr const wchar_t* SAVED_FOCUS_PROPERTY = L"LinenavSavedFocus";

AppWindow* LookupWindow(int64_t number);

// The number of the runtime window `window` is, or lies in (the nearest
// ancestor carrying the number property); -1 when none.
int64_t WindowNumberOf(HWND window);
// The number property of `window` itself, minus 1; -1 when it has none.
int64_t OwnWindowNumber(HWND window);

// Gives `window` its number property; it is also remembered as the window
// numbered last.
void NumberWindow(HWND window, int64_t number);
// Whether `window` has its number (property, or remembered as numbered last).
bool IsNumberedWindow(HWND window);
// Takes the number property off `window`, and forgets it as numbered last.
void UnnumberWindow(HWND window);
// Forgets the window numbered last (a new runtime's windows start afresh).
void ForgetNumberedWindow();
