// Which key events put an editor's caret at the start of a line: Ctrl+Home,
// Down x (line - 1), Home. Kept free of Win32 so the sequence can be checked
// without a window; caret_keys.cpp feeds it to SendInput, two events a call.
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

// How often Ctrl+Home is typed before linenav gives up on the line.
constexpr int CTRL_HOME_TRIES = 3;

// One key event: a virtual key and its keybd_event flags.
struct KeyEvent {
    uint8_t key;
    uint32_t flags;
    bool operator==(const KeyEvent&) const = default;
};

// Calls emit(first, second) for every two key events that go out together,
// in order: Ctrl and Home pressed, Home and Ctrl released, each Down pressed
// and released, the final Home pressed and released. The Down loop is the
// tool's counting loop over `loopCounter`, its limit read again from
// `lineNumber` before every pass. `ready()` is asked before the first key,
// before every KEYBOARD_CHECK_EVERY-th Down press, before Ctrl+Home is typed
// again and before the final Home; when it says no, nothing more is sent.
// Every pair is whole and the looks fall between pairs, so linenav holds no
// key while ready() runs and none is ever left down.
//
// `landed()` is asked while Ctrl and Home are both down: true once the editor
// has taken Home with Ctrl still held. Otherwise the editor may have taken a
// plain Home (start of the line, not of the document), or may not have
// answered: Ctrl+Home is typed again, up to CTRL_HOME_TRIES times in all (a
// second Ctrl+Home moves nothing). When no try is known to have landed, no
// Down goes out: a caret left where it was shows, a caret on a wrong line
// does not. Under Wine this happens when the editor handles the X server's
// keymap notice of its activation between linenav's Ctrl press and its Home:
// Wine then releases every modifier the X server does not hold.
template <class Emit, class Ready, class Landed>
inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit, Ready&& ready,
                          Landed&& landed) {
    if (!ready()) return;
    for (int tries = 1;; ++tries) {
        emit(KeyEvent{KEY_LEFT_CONTROL, KEY_PRESS}, KeyEvent{KEY_HOME, KEY_PRESS});
        const bool atTop = landed();
        emit(KeyEvent{KEY_HOME, KEY_RELEASE}, KeyEvent{KEY_LEFT_CONTROL, KEY_RELEASE});
        if (atTop) break;
        if (tries == CTRL_HOME_TRIES || !ready()) return;
    }
    bool ours = true;
    CountingLoop(
        loopCounter, [&] { return DownPressLimit(lineNumber); },
        [&] {
            if (loopCounter % KEYBOARD_CHECK_EVERY == 0 && !(ours = ready())) return false;
            emit(KeyEvent{KEY_DOWN, KEY_PRESS}, KeyEvent{KEY_DOWN, KEY_RELEASE});
            return true;
        });
    if (!ours || !ready()) return;
    emit(KeyEvent{KEY_HOME, KEY_PRESS}, KeyEvent{KEY_HOME, KEY_RELEASE});
}

template <class Emit, class Ready>
inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit, Ready&& ready) {
    PlanCaretKeys(loopCounter, lineNumber, emit, ready, [] { return true; });
}

template <class Emit> inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit) {
    PlanCaretKeys(loopCounter, lineNumber, emit, [] { return true; });
}
