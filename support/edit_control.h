// An editor's Edit control and its top-level window, looked at from outside:
// the line its caret is on, and whether it has the keyboard. Shared by the
// tests, the fixture programs and the bench.
#pragma once

#include <windows.h>

// The 0-based line of the caret in `edit`, -1 when it does not answer within
// 5 s. With nothing selected, EM_LINEFROMCHAR of -1 is the caret's line: one
// message a look instead of EM_GETSEL and EM_LINEFROMCHAR.
long EditCaretLine(HWND edit);

// True when `top` is the foreground window and `focus` has the keyboard focus
// of its thread.
bool IsForegroundWithFocus(HWND top, HWND focus);
