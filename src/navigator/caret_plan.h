// Which key events put an editor's caret at the start of a line: Ctrl+Home,
// Down x (line - 1), Home. Kept free of Win32 so the sequence can be checked
// without a window; caret_keys.cpp feeds it to SendInput, a group a call.
#pragma once

#include "navigator/counting_loop.h"

#include <cstdint>

constexpr uint8_t KEY_LEFT_CONTROL = 0xA2; // VK_LCONTROL, not the generic VK_CONTROL
constexpr uint8_t KEY_HOME = 0x24;         // VK_HOME
constexpr uint8_t KEY_DOWN = 0x28;         // VK_DOWN
constexpr uint32_t KEY_PRESS = 0;          // SendInput flags of a press
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

// One key event: a virtual key and its SendInput flags.
struct KeyEvent {
    uint8_t key;
    uint32_t flags;
    bool operator==(const KeyEvent&) const = default;
};

// What the look at a Ctrl+Home found, asked while Ctrl and Home are down.
enum class CtrlHome {
    LANDED,     // the editor took Home with Ctrl still held
    LOST,       // it answered, but Ctrl was gone: Home may have arrived plain
    UNANSWERED, // it gave no answer: it hangs, or it is gone
};

// The keys linenav holds down between two events, in the order pressed. At
// most Ctrl and Home are down together.
class HeldKeys {
public:
    void Apply(KeyEvent event) {
        if (event.flags == KEY_PRESS) {
            if (count_ < 2) keys_[count_++] = event.key;
            return;
        }
        for (int i = 0; i < count_; ++i)
            if (keys_[i] == event.key) {
                for (int j = i + 1; j < count_; ++j) keys_[j - 1] = keys_[j];
                --count_;
                return;
            }
    }
    // Their releases, the key pressed last first.
    template <class Release> void ReleaseAll(Release&& release) {
        while (count_ > 0) release(KeyEvent{keys_[--count_], KEY_RELEASE});
    }

private:
    uint8_t keys_[2] = {};
    int count_ = 0;
};

// Calls emit(events, count) for every group of key events that go out
// together, in order: Ctrl and Home pressed, Home and Ctrl released, each
// Down pressed and released, the final Home pressed and released; emit gives
// back how many of them went in. The Down loop is the tool's counting loop
// over `loopCounter`, its limit read again from `lineNumber` before every
// pass. `ready()` is asked before the first key, before Ctrl+Home is typed
// again, before the first Down and every KEYBOARD_CHECK_EVERY-th one, and
// before the final Home; when it says no, nothing more is sent. Every group
// is whole and the looks fall between groups, so linenav holds no key while
// ready() runs and none is ever left down. A group that did not go in whole
// (another program's input blocked it) ends the run: the releases of every
// key it left down go out, one at a time, and nothing else.
//
// `landed()` is asked while Ctrl and Home are both down. LANDED: the editor
// took Home with Ctrl still held. LOST: the editor may have taken a plain
// Home (start of the line, not of the document): Ctrl+Home is typed again,
// up to CTRL_HOME_TRIES times in all (a second Ctrl+Home moves nothing).
// UNANSWERED: the editor stopped answering, and each further try would only
// queue more keys into it; its first Ctrl+Home is in its queue already. When
// no try is known to have landed, no Down goes out: a caret left where it
// was shows, a caret on a wrong line does not. Under Wine Ctrl is lost when
// the editor handles the X server's keymap notice of its activation between
// linenav's Ctrl press and its Home: Wine then releases every modifier the
// X server does not hold.
template <class Emit, class Ready, class Landed>
inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit, Ready&& ready,
                          Landed&& landed) {
    HeldKeys held;
    const auto send = [&](KeyEvent first, KeyEvent second) {
        const KeyEvent group[2] = {first, second};
        const int in = emit(group, 2);
        for (int i = 0; i < in && i < 2; ++i) held.Apply(group[i]);
        if (in >= 2) return true;
        // Each release is sent once, alone: one that is blocked too cannot
        // keep the others from going in.
        held.ReleaseAll([&](KeyEvent release) { emit(&release, 1); });
        return false;
    };
    if (!ready()) return;
    for (int tries = 1;; ++tries) {
        if (!send(KeyEvent{KEY_LEFT_CONTROL, KEY_PRESS}, KeyEvent{KEY_HOME, KEY_PRESS})) return;
        const CtrlHome look = landed();
        if (!send(KeyEvent{KEY_HOME, KEY_RELEASE}, KeyEvent{KEY_LEFT_CONTROL, KEY_RELEASE})) return;
        if (look == CtrlHome::LANDED) break;
        if (look == CtrlHome::UNANSWERED || tries == CTRL_HOME_TRIES || !ready()) return;
    }
    bool ours = true;
    CountingLoop(
        loopCounter, [&] { return DownPressLimit(lineNumber); },
        [&] {
            // The first look comes after Ctrl+Home has landed, which may have
            // taken the editor seconds: the keyboard may have moved meanwhile.
            if ((loopCounter == 1 || loopCounter % KEYBOARD_CHECK_EVERY == 0) && !(ours = ready())) return false;
            return ours = send(KeyEvent{KEY_DOWN, KEY_PRESS}, KeyEvent{KEY_DOWN, KEY_RELEASE});
        });
    if (!ours || !ready()) return;
    send(KeyEvent{KEY_HOME, KEY_PRESS}, KeyEvent{KEY_HOME, KEY_RELEASE});
}

template <class Emit, class Ready>
inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit, Ready&& ready) {
    PlanCaretKeys(loopCounter, lineNumber, emit, ready, [] { return CtrlHome::LANDED; });
}

template <class Emit> inline void PlanCaretKeys(int64_t& loopCounter, const int64_t& lineNumber, Emit&& emit) {
    PlanCaretKeys(loopCounter, lineNumber, emit, [] { return true; });
}
