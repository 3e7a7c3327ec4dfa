// Input as a person would give it, through the system's input path
// (SendInput), to whatever window is in front.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <windows.h>

void SendKey(WORD key, bool shift = false, bool control = false, bool alt = false);
void SendText(const std::wstring& text); // as typed characters, whatever the layout

// How a pointer helper waits (bounded) for the system to report the pointer
// somewhere. Null polls; a thread that owns the window under the pointer must
// take its messages meanwhile, and passes a wait that does.
using PointerWait = bool (*)(const std::function<bool()>& condition, DWORD timeoutMs);

// Moves the pointer onto `point` in two steps and waits until the system
// reports it there and it stays there; false when it never settles.
bool PlacePointer(POINT point, PointerWait wait = nullptr);
// Presses and releases buttons (MOUSEEVENTF_ flags) where the pointer is,
// `times` times in a row.
void PressButtons(POINT point, DWORD down, DWORD up, int times = 1);
// Places the pointer on `point`, then presses and releases the left button.
bool ClickAt(POINT point, PointerWait wait = nullptr);
// The screen point in the middle of `window`'s close box, found by hit-testing.
std::optional<POINT> CloseBoxOf(HWND window);
