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
