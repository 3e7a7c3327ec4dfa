// Waiting for a condition for at most a given time: the one way linenav, its
// tests and its bench wait. The clock and the pause are the caller's, so the
// rule holds on any platform and is checked with a clock of the test's own.
#pragma once

#include <cstdint>

// Asks `condition()` until it holds, calling `pause()` between two asks, for
// at most `limitMs` milliseconds of the clock `nowMs()`. True once the
// condition holds, at once and without reading the clock when it already
// does; false once the limit has passed with the condition still false (it
// is asked once more after the last pause). The clock counts 64-bit
// milliseconds, which wrap after half a billion years; the unsigned
// difference is right across a wrap anyway.
template <class Condition, class NowMs, class Pause>
bool BoundedWait(Condition&& condition, uint64_t limitMs, NowMs&& nowMs, Pause&& pause) {
    if (condition()) return true;
    const uint64_t start = nowMs();
    for (;;) {
        pause();
        if (condition()) return true;
        if (nowMs() - start >= limitMs) return false;
    }
}

// Asks `value()` until it has given the same answer `stillAsks` times in a
// row after the first, one pause apart, for at most `limitMs` of `nowMs()`:
// waiting for something that moves on its own (a caret still digesting keys)
// to stop. `last` holds the latest answer either way. True once it has stood
// still; false when it still moved at the limit.
template <class Value, class Last, class NowMs, class Pause>
bool BoundedWaitUntilStill(Value&& value, Last& last, int stillAsks, uint64_t limitMs, NowMs&& nowMs, Pause&& pause) {
    bool first = true;
    int still = 0;
    return BoundedWait(
        [&] {
            const Last now = value();
            still = !first && now == last ? still + 1 : 0;
            first = false;
            last = now;
            return still >= stillAsks;
        },
        limitMs, nowMs, pause);
}
