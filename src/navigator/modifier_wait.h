// Waiting until the person has let go of the modifier keys. A key typed while
// Alt, Shift, a Windows key or Ctrl is held arrives with that modifier, and
// an editor reads Alt+Down as "move the line", Shift+Down as "select". linenav
// never releases a key on the person's behalf: it waits for the hands to come
// off, within one budget for the whole run. Kept free of Win32 so the rule can
// be checked with a clock of the test's own.
#pragma once

#include "base/runtime/bounded_wait.h"

#include <cstdint>

constexpr uint8_t KEY_SHIFT = 0x10;         // VK_SHIFT: either Shift
constexpr uint8_t KEY_CONTROL = 0x11;       // VK_CONTROL: either Ctrl
constexpr uint8_t KEY_ALT = 0x12;           // VK_MENU: either Alt
constexpr uint8_t KEY_LEFT_WINDOWS = 0x5B;  // VK_LWIN
constexpr uint8_t KEY_RIGHT_WINDOWS = 0x5C; // VK_RWIN
constexpr uint8_t MODIFIER_KEYS[] = {KEY_SHIFT, KEY_CONTROL, KEY_ALT, KEY_LEFT_WINDOWS, KEY_RIGHT_WINDOWS};

// What one run may spend, in all, waiting for modifiers to be let go.
constexpr uint64_t MODIFIER_WAIT_LIMIT_MS = 5000;

class ModifierWait {
public:
    // True once no modifier is down, at once when none is; false when the
    // budget runs out while one still is. isDown(virtual key) tells whether a
    // key is down now, nowMs() reads a millisecond clock, pause() lets time
    // pass between two looks. Callers ask only while linenav holds no key of
    // its own, so every modifier down then is the person's.
    template <class IsDown, class NowMs, class Pause> bool HandsOff(IsDown isDown, NowMs nowMs, Pause pause) {
        const auto held = [&] {
            for (uint8_t key : MODIFIER_KEYS)
                if (isDown(key)) return true;
            return false;
        };
        // With nothing held, a look reads no clock: most looks of a run are that.
        if (!held()) return true;
        const uint64_t start = nowMs();
        const bool handsOff = BoundedWait([&] { return !held(); }, leftMs_, nowMs, pause);
        const uint64_t spent = nowMs() - start;
        leftMs_ -= spent < leftMs_ ? spent : leftMs_;
        return handsOff;
    }

    uint64_t leftMs() const { return leftMs_; }

private:
    uint64_t leftMs_ = MODIFIER_WAIT_LIMIT_MS;
};
