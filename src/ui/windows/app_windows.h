// Numbered top-level windows: opened at a screen position with an exact client
// size, their platform messages turned into events, their focus kept across
// deactivation; each holds its keyboard shortcuts (shortcuts.h). Their records
// and numbers are window_numbers.h.
#pragma once

#include "base/text/text_unit.h"
#include "ui/windows/window_numbers.h"
#include "ui/windows/window_plan.h"

#include <cstdint>
#include <windows.h>

// The native handle for a chosen number, the generated number for NEW_OBJECT,
// 0 on failure. The short form uses DEFAULT_WINDOW_FLAGS.
int64_t OpenAppWindow(int64_t number, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight,
                      const TextUnit* title);
int64_t OpenAppWindow(int64_t number, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight,
                      const TextUnit* title, uint32_t flags, HWND parent = nullptr);
// Closes window `number`, or every window for ALL_OBJECTS.
void CloseAppWindow(int64_t number);
HWND WindowHandle(int64_t number);

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
