// What the fixture editor answers to the test driver, across processes, with
// plain SendMessage calls (no pointers cross the process boundary).
#pragma once

#include <string>
#include <windows.h>

constexpr const wchar_t* FIXTURE_EDITOR_CLASS = L"LinenavFixtureEditor";
constexpr const wchar_t* FIXTURE_OUTLINE_CLASS = L"LinenavFixtureOutline";

constexpr UINT FIXTURE_KEY_COUNT = WM_APP + 1;   // -> number of key messages recorded
constexpr UINT FIXTURE_KEY_AT = WM_APP + 2;      // wParam index -> packed key record
constexpr UINT FIXTURE_CLEAR_KEYS = WM_APP + 3;  // forget the recorded keys (and answers)
constexpr UINT FIXTURE_CARET_LINE = WM_APP + 4;  // -> 0-based line of the caret
constexpr UINT FIXTURE_EDIT_HANDLE = WM_APP + 5; // -> the Edit control's handle
constexpr UINT FIXTURE_SET_CARET = WM_APP + 6;   // wParam 0-based line: put the caret there
constexpr UINT FIXTURE_WINDOW_AT = WM_APP + 7;   // wParam k -> the program's window k, 0 if none
constexpr UINT FIXTURE_OUTLINE = WM_APP + 8;     // -> the "Outline" tool window, 0 if none
// Activates the program's window 1, then this window again with the focus in
// its Edit: the X focus moves away and back, and the X server sends its
// keymap notice. Then reads the keyboard until Ctrl is up, which under Wine
// handles the notice; again, for at most 1.2 s in all, while it is not.
// Answered once all that is done.
constexpr UINT FIXTURE_REFOCUS = WM_APP + 9;
// Arms a stall: the next time the program gets where wParam says, its thread
// takes no message for lParam milliseconds, or until its resume event is set,
// whichever comes first. FIXTURE_STALL_TAKING: in a window's WM_ACTIVATE,
// once the system names it active; FIXTURE_STALL_BEFORE: in a CBT hook's
// HCBT_ACTIVATE, before it does; FIXTURE_STALL_CTRL: in an Edit's Ctrl press.
constexpr UINT FIXTURE_STALL = WM_APP + 10;
constexpr WPARAM FIXTURE_STALL_TAKING = 0;
constexpr WPARAM FIXTURE_STALL_BEFORE = 1;
constexpr WPARAM FIXTURE_STALL_CTRL = 2;
// -> how many WM_NULL messages that another thread sent the window it
// answered while it was the foreground window: linenav's question once the
// editor has taken the activation, right before it looks at the keyboard.
// FIXTURE_CLEAR_KEYS forgets them too.
constexpr UINT FIXTURE_ANSWER_COUNT = WM_APP + 11;

// The fixture's resume event, named by its process: set, it ends a stall.
inline std::wstring FixtureResumeEventName(DWORD processId) {
    return L"LinenavFixtureResume" + std::to_wstring(processId);
}

// A recorded key message, packed into one LRESULT:
//   bits 0-15 virtual key, bits 16-19 message (0 WM_KEYDOWN, 1 WM_KEYUP,
//   2 WM_SYSKEYDOWN, 3 WM_SYSKEYUP), bit 20 Ctrl down, bit 21 Shift down,
//   bit 22 Alt down (keyboard state as the message was processed).
constexpr LRESULT FIXTURE_CTRL = 1 << 20;
constexpr LRESULT FIXTURE_SHIFT = 1 << 21;
constexpr LRESULT FIXTURE_ALT = 1 << 22;
