// Numbered top-level windows: opened at a screen position with an exact client
// size, their platform messages turned into events, their focus kept across
// deactivation; each holds its keyboard shortcuts (shortcuts.h).
#pragma once

#include "base/platform/handles.h"
#include "base/text/text_unit.h"
#include "ui/windows/shortcut_list.h"
#include "ui/windows/window_plan.h"

#include <cstdint>
#include <windows.h>

struct Registry;
extern Registry* WindowRegistry;

// The window registry's object: constructed by OpenAppWindow, destroyed with
// the window's last message.
struct AppWindow {
    HWND handle;                    // null while the number is free
    ShortcutList shortcuts;         // Tab, Shift+Tab, then the program's own
    AcceleratorTable shortcutTable; // the list compiled for the platform, or none
    int32_t minMax;                 // shown or reported minimized or maximized
    int32_t opened;                 // 0 until OpenAppWindow has finished
};

// Names of the properties every runtime window carries.
constexpr const wchar_t* WINDOW_NUMBER_PROPERTY = L"LinenavWindowNumber"; // number + 1
constexpr const wchar_t* SAVED_FOCUS_PROPERTY = L"LinenavSavedFocus";

// The native handle for a chosen number, the generated number for NEW_OBJECT,
// 0 on failure. The short form uses DEFAULT_WINDOW_FLAGS.
int64_t OpenAppWindow(int64_t number, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight,
                      const TextUnit* title);
int64_t OpenAppWindow(int64_t number, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight,
                      const TextUnit* title, uint32_t flags, HWND parent = nullptr);
// Closes window `number`, or every window for ALL_OBJECTS.
void CloseAppWindow(int64_t number);
HWND WindowHandle(int64_t number);
AppWindow* LookupWindow(int64_t number);

// The number of the runtime window `window` is, or lies in (the nearest
// ancestor carrying the number property); -1 when none.
int64_t WindowNumberOf(HWND window);
// The number property of `window` itself, minus 1; -1 when it has none.
int64_t OwnWindowNumber(HWND window);

// Shows or hides the keyboard cues (focus rectangles, mnemonic underlines).
void SetFocusCues(HWND window, bool show);

// The gadget layer's part in a window's messages. Gadgets live in windows, so
// the window layer names no gadget function: StartGadgets fills this table,
// and EndWindows empties it once the last window is gone (its gadgets'
// notifications come until then, also after EndGadgets). Each entry is called
// where the window procedure would call the gadget function itself; an empty
// entry is skipped.
struct GadgetHooks {
    // Offers a parent's notification to the kind of the gadget whose control
    // is `control`; false when no kind handled it.
    bool (*offerToKind)(HWND control, HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Tab (false) or Shift+Tab (true) in the active window.
    void (*moveFocus)(bool backward);
    // Makes a window just opened the current gadget container.
    HWND (*useContainer)(HWND window);
};
void SetGadgetHooks(const GadgetHooks& hooks);

void StartWindows();
void EndWindows();
