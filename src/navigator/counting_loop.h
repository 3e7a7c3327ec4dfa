// The tool's one loop form: the counter runs from 1 up to a limit that is read
// again before every pass, and the loop stops rather than wrap when the counter
// is already the largest signed 64-bit value.
#pragma once

#include <cstdint>
#include <type_traits>

namespace detail {
template <class Body> inline bool RunPass(Body& body) {
    if constexpr (std::is_void_v<decltype(body())>) {
        body();
        return true;
    } else {
        return body();
    }
}
} // namespace detail

// Like CountingLoop, but starting from `start`; lets the tests reach the top of
// the 64-bit range without 2^63 passes. A body returning false ends the loop
// early (the Down presses stop so when the keyboard has left the editor or a
// key could not go in).
template <class Limit, class Body>
inline void CountingLoopFrom(int64_t& counter, int64_t start, Limit limit, Body body) {
    counter = start;
    for (;;) {
        if (limit() < counter) return;
        if (!detail::RunPass(body)) return;
        if (counter == INT64_MAX) return;
        ++counter;
    }
}

template <class Limit, class Body> inline void CountingLoop(int64_t& counter, Limit limit, Body body) {
    CountingLoopFrom(counter, 1, limit, body);
}
