// Which key events put an editor's caret at the start of a line: Ctrl+Home,
// Down x (line - 1), Home. Kept free of Win32 so the sequence can be checked
// without a window; caret_keys.cpp feeds it to keybd_event.
#pragma once

#include "navigator/counting_loop.h"

#include <cstdint>

constexpr uint8_t KEY_LEFT_CONTROL = 0xA2; // VK_LCONTROL, not the generic VK_CONTROL
constexpr uint8_t KEY_HOME = 0x24;         // VK_HOME
constexpr uint8_t KEY_DOWN = 0x28;         // VK_DOWN
constexpr uint32_t KEY_PRESS = 0;          // keybd_event flags of a press
constexpr uint32_t KEY_RELEASE = 2;        // KEYEVENTF_KEYUP

// No source file reaches a million lines; a typo such as 99999999999 would
// otherwise keep injecting keys for hours.
constexpr int64_t MAX_DOWN_PRESSES = 1000000;

// Down presses needed for `line`: line - 1, none for line 1 or less (the most
// negative value included, without overflow), at most MAX_DOWN_PRESSES.
constexpr int64_t DownPressLimit(int64_t line) {
    if (line <= 1) return 0;
    const int64_t presses = line - 1;
    return presses < MAX_DOWN_PRESSES ? presses : MAX_DOWN_PRESSES;
}

// Down presses sent between two looks at where the keyboard goes: often
// enough that a program taking the foreground mid-run gets at most this many,
// rare enough that the look costs nothing beside the key events.
constexpr int64_t KEYBOARD_CHECK_EVERY = 64;

// How often Ctrl+Home is typed again when its Ctrl was let go under it.
constexpr int CTRL_HOME_TRIES = 3;

// Calls emit(virtual key, flags) for every key event, in order. The Down loop
// is the tool's counting loop over `loopCounter`, its limit read again from
// `lineNumber` before every pass. `ready()` is asked before the first key,
// before every KEYBOARD_CHECK_EVERY-th Down press and before the final Home;
// when it says no, nothing more is sent. Keys go out in press/release pairs
// and the looks fall between groups, so linenav holds no key while ready()
// runs and none is ever left down.
//
// `ctrlHeld()` is asked after Home of Ctrl+Home has gone out, before Ctrl is
// released. When the system let go of Ctrl under it, the editor may have
// taken a plain Home (start of the line, not of the document): Ctrl+Home is
// typed again, up to CTRL_HOME_TRIES times in all; a second Ctrl+Home moves
// nothing. Under Wine this happens when the editor handles the X server's
// keymap notice of its activation after linenav's Ctrl press: Wine then
// releases every modifier the X server does not hold.
template <class Emit, class Ready, class CtrlHeld>
inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit, Ready&& ready,
                          CtrlHeld&& ctrlHeld) {
    if (!ready()) return;
    for (int tries = 1;; ++tries) {
        emit(KEY_LEFT_CONTROL, KEY_PRESS);
        emit(KEY_HOME, KEY_PRESS);
        emit(KEY_HOME, KEY_RELEASE);
        const bool held = ctrlHeld();
        emit(KEY_LEFT_CONTROL, KEY_RELEASE);
        if (held || tries == CTRL_HOME_TRIES) break;
    }
    bool ours = true;
    CountingLoop(
        loopCounter, [&] { return DownPressLimit(lineNumber); },
        [&] {
            if (loopCounter % KEYBOARD_CHECK_EVERY == 0 && !(ours = ready())) return false;
            emit(KEY_DOWN, KEY_PRESS);
            emit(KEY_DOWN, KEY_RELEASE);
            return true;
        });
    if (!ours || !ready()) return;
    emit(KEY_HOME, KEY_PRESS);
    emit(KEY_HOME, KEY_RELEASE);
}

template <class Emit, class Ready>
inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit, Ready&& ready) {
    PlanCaretKeys(loopCounter, lineNumber, emit, ready, [] { return true; });
}

template <class Emit> inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit) {
    PlanCaretKeys(loopCounter, lineNumber, emit, [] { return true; });
}
