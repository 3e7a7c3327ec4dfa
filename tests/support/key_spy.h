// Keyboard messages a control receives, recorded from a procedure put in front
// of the runtime's own: which key strokes and characters reached it. Modifier
// key strokes (Shift, Ctrl, Alt) are left out.
#pragma once

#include "names.h"

#include <map>
#include <string>
#include <vector>
#include <windows.h>

struct KeyMessage {
    UINT message; // WM_KEYDOWN, WM_KEYUP or WM_CHAR
    WPARAM key;   // virtual key, or the character for WM_CHAR
    bool operator==(const KeyMessage&) const = default;
};
using KeyMessages = std::vector<KeyMessage>;

inline std::string KeyMessageName(const KeyMessage& m) {
    return MessageName(m.message) + " " +
           (m.message == WM_CHAR ? std::to_string(m.key) : VirtualKeyName(static_cast<unsigned>(m.key)));
}

class KeySpy {
public:
    static void Attach(HWND control) {
        Previous()[control] =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
    }
    static KeyMessages& Seen() {
        static KeyMessages seen;
        return seen;
    }
    // Only the messages about one key (its key strokes and its character).
    static KeyMessages About(WPARAM key, WPARAM character) {
        KeyMessages about;
        for (const KeyMessage& m : Seen())
            if ((m.message == WM_CHAR && m.key == character) || (m.message != WM_CHAR && m.key == key))
                about.push_back(m);
        return about;
    }
    static bool SawRelease(WPARAM key) {
        for (const KeyMessage& m : Seen())
            if (m.message == WM_KEYUP && m.key == key) return true;
        return false;
    }

private:
    static std::map<HWND, WNDPROC>& Previous() {
        static std::map<HWND, WNDPROC> previous;
        return previous;
    }
    static LRESULT CALLBACK Procedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
        const bool modifier = wParam == VK_SHIFT || wParam == VK_CONTROL || wParam == VK_MENU;
        if ((message == WM_KEYDOWN || message == WM_KEYUP) && !modifier) Seen().push_back({message, wParam});
        if (message == WM_CHAR) Seen().push_back({message, wParam});
        WNDPROC previous = Previous()[control];
        if (message == WM_NCDESTROY) Previous().erase(control);
        return CallWindowProcW(previous, control, message, wParam, lParam);
    }
};
