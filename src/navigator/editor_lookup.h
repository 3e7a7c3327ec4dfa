// Finding the editor's top-level window by the beginning of its title, and
// reading the sides of a window's screen rectangle.
#pragma once

#include <cstdint>
#include <windows.h>

constexpr int EDITOR_TITLE_BUFFER = 1024; // maximum count handed to GetWindowTextW

// Sets Navigator.EditorHandle to a visible top-level window whose title
// begins with Navigator.TitlePrefix: the foreground window or its nearest
// owner that matches, else the first match, in EnumWindows order, of the
// process that owns the foreground window, else the last match of any process
// (editor_choice.h). With another start's prompt in front, the editor window
// that prompt serves counts as the foreground window; with no window in
// front, it waits for one (WaitForForegroundWindow). Leaves it untouched when
// nothing matches.
void FindEditorWindow();

// The EnumWindows callback: offers each visible match to the
// EditorChoice<HWND> that `value` points to; never stops the enumeration.
BOOL CALLBACK MatchEditorWindow(HWND window, LPARAM value);

// Side 0 = left, 1 = top, 2 = right, 3 = bottom of the window's screen
// rectangle, widened with its sign; 0 for any other side and for a window the
// platform cannot measure.
int64_t WindowRectValue(HWND window, int64_t side);
