// What linenav does to the editor's window besides finding it: bring it back
// from minimized, and wait until it has taken the keyboard. Each wait is
// bounded.
#pragma once

#include <windows.h>

// How long linenav watches for a change it asked of the editor (restored,
// in front): a responsive editor makes it in a moment.
constexpr ULONGLONG EDITOR_WAIT_LIMIT_MS = 1000;
// How long linenav waits for the editor's answer: the system's own measure
// of a hung window, nothing taken from its queue for 5 seconds. An editor
// on a loaded machine may answer late; a late answer is still an answer.
constexpr ULONGLONG EDITOR_ANSWER_LIMIT_MS = 5000;

// Restores a minimized editor as the taskbar would, and returns once its
// thread has finished doing so (its restored place can then be read, and its
// own activation cannot come after a window linenav shows next). Does nothing
// for a window that is not minimized.
void RestoreEditor(HWND editor);

// Returns once the editor is the foreground window and its thread names it as
// its active window, which SetForegroundWindow only asks for. An editor that
// has not taken it within EDITOR_WAIT_LIMIT_MS may be busy: once it has
// answered, it is watched for that long again. False when it did not answer
// within EDITOR_ANSWER_LIMIT_MS (it hangs, or is gone), or answered and still
// did not take the foreground (the system refused it).
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
