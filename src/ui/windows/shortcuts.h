// A window's keyboard shortcuts on the platform: the list edited by key value,
// compiled into the window's accelerator table, and the table that applies to
// a key message the event wait takes. The list itself, which makes no Win32
// call, is in shortcut_list.h.
#pragma once

#include "ui/windows/shortcut_list.h"

#include <cstdint>
#include <windows.h>

struct AppWindow; // window_numbers.h

// The window's new accelerator table, or 0 (no such window, or the platform
// refused the table; the entry stays in the list).
HACCEL AddShortcut(int64_t window, int64_t keyValue, int32_t item);
// keyValue -1 removes every entry, Tab and Shift+Tab included.
void RemoveShortcut(int64_t window, int64_t keyValue);

// Compiles the window's shortcut entries into its platform table again.
HACCEL RebuildShortcutTable(AppWindow* window);
// The accelerator table that applies to a key message while `active` is the
// active window, or none.
HACCEL ActiveShortcutList(HWND active);
// The event wait's hook (WindowHooks::takeMessage): a key message that is a
// shortcut of the active window becomes its command, and the keyboard cues
// show; true when it did.
bool TakeShortcutMessage(MSG& message);

// Shows or hides the keyboard cues (focus rectangles, mnemonic underlines).
void SetFocusCues(HWND window, bool show);
