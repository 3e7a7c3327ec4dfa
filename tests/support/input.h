// Input as a person would give it, through the system's input path
// (SendInput), to whatever window is in front.
#pragma once

#include <optional>
#include <string>
#include <windows.h>

void SendKey(WORD key, bool shift = false, bool control = false, bool alt = false);
void SendText(const std::wstring& text); // as typed characters, whatever the layout
// Moves the pointer onto `point` in two steps, waits until the system reports
// it there, then presses and releases the left button.
bool ClickAt(POINT point);
// The screen point in the middle of `window`'s close box, found by hit-testing.
std::optional<POINT> CloseBoxOf(HWND window);
