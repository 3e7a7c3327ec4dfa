// BoundedWait on the system's millisecond clock, sleeping between two asks.
#pragma once

#include "base/runtime/bounded_wait.h"

#include <windows.h>

// True once `condition()` holds, asked every `pauseMs`; false when it still
// does not after `limitMs`.
template <class Condition> bool WaitWithin(uint64_t limitMs, DWORD pauseMs, Condition&& condition) {
    return BoundedWait(
        condition, limitMs, [] { return static_cast<uint64_t>(GetTickCount64()); }, [pauseMs] { Sleep(pauseMs); });
}

// BoundedWaitUntilStill on the system's clock: true once `value()` has given
// `last` `stillAsks` times in a row, asked every `pauseMs`; false when it still
// changed after `limitMs`.
template <class Value, class Last>
bool StillWithin(uint64_t limitMs, DWORD pauseMs, int stillAsks, Last& last, Value&& value) {
    return BoundedWaitUntilStill(
        value, last, stillAsks, limitMs, [] { return static_cast<uint64_t>(GetTickCount64()); },
        [pauseMs] { Sleep(pauseMs); });
}

// One limit shared by waits in a row: each is given what is left of it.
class Deadline {
public:
    explicit Deadline(uint64_t limitMs) : end_(GetTickCount64() + limitMs) {}
    // What is left of the limit, 0 once it has passed.
    uint64_t LeftMs() const {
        const uint64_t now = GetTickCount64();
        return now < end_ ? end_ - now : 0;
    }

private:
    uint64_t end_;
};
