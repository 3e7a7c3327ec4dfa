// What linenav does to the editor's window besides finding it: bring it back
// from minimized, and wait until it has taken the keyboard. Each wait is
// bounded: a hung editor holds linenav for at most EDITOR_WAIT_LIMIT_MS.
#pragma once

#include <windows.h>

constexpr ULONGLONG EDITOR_WAIT_LIMIT_MS = 1000;

// Restores a minimized editor as the taskbar would, and returns once its
// thread has finished doing so (its restored place can then be read, and its
// own activation cannot come after a window linenav shows next). Does nothing
// for a window that is not minimized.
void RestoreEditor(HWND editor);

// Returns once the editor is the foreground window and its thread names it as
// its active window, which SetForegroundWindow only asks for. False when that
// did not happen in time.
bool WaitForHandOff(HWND editor);

// The foreground window, waiting while there is none: while the activation
// passes from one thread to another the platform names none for a moment.
// Null when none came within EDITOR_WAIT_LIMIT_MS.
HWND WaitForForegroundWindow();

// True once the thread of `window` has answered a message sent now, which
// it does only after it has finished what it was doing, and has taken every
// sent message before it; false when it did not answer within `limitMs` (it
// hung, or the window is gone).
bool WaitForAnswer(HWND window, ULONGLONG limitMs);

// True once `window` is the foreground window, at once when it is; false when
// it was not within `limitMs`. Asks nothing of the window: it only watches.
bool ForegroundWithin(HWND window, ULONGLONG limitMs);
