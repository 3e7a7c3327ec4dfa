#include "base/runtime/bounded_wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(BoundedWait, AsksUntilTheConditionHoldsOrTheLimitPasses) {
    constexpr uint64_t PAUSE_MS = 10, NEVER = UINT64_MAX;
    struct Case {
        const char* what;
        uint64_t start; // the clock when the wait begins
        uint64_t limitMs;
        uint64_t metAfter; // asks after which the condition holds
        bool met;
        int pauses;
    };
    const Case cases[] = {
        {"met at once: no pause", 1000, 100, 1, true, 0},
        {"met late", 1000, 100, 4, true, 3},
        {"met on the last ask, at the limit", 1000, 100, 11, true, 10},
        {"never met: false once the limit has passed", 1000, 100, NEVER, false, 10},
        {"a zero limit still asks once more after one pause", 1000, 0, NEVER, false, 1},
        {"the clock passes 2^64: the limit still holds", UINT64_MAX - 15, 30, NEVER, false, 3},
    };
    for (const Case& c : cases) {
        uint64_t now = c.start, asks = 0;
        int pauses = 0;
        const bool met = BoundedWait([&] { return ++asks >= c.metAfter; }, c.limitMs, [&] { return now; },
                                     [&] { now += PAUSE_MS, ++pauses; });
        EXPECT_EQ(met, c.met) << c.what;
        EXPECT_EQ(pauses, c.pauses) << c.what;
    }
}

TEST(BoundedWait, UntilStillWaitsForTheSameAnswerInARow) {
    constexpr uint64_t PAUSE_MS = 10;
    struct Case {
        const char* what;
        std::vector<int> answers; // the value's answers in order; the last repeats
        uint64_t limitMs;
        bool still;
        int last;
        int pauses;
    };
    const Case cases[] = {
        {"still from the start: three asks after the first", {5}, 100, true, 5, 3},
        {"moves, then stops", {1, 2, 3, 3, 3, 3}, 100, true, 3, 5},
        {"a repeat broken by a move counts again", {1, 1, 2, 2, 2, 2}, 100, true, 2, 5},
        {"still moving at the limit", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, 50, false, 6, 5},
    };
    for (const Case& c : cases) {
        uint64_t now = 0;
        size_t asked = 0;
        int pauses = 0, last = -1;
        const bool still =
            BoundedWaitUntilStill([&] { return c.answers[std::min(asked++, c.answers.size() - 1)]; }, last, 3,
                                  c.limitMs, [&] { return now; }, [&] { now += PAUSE_MS, ++pauses; });
        EXPECT_EQ(still, c.still) << c.what;
        EXPECT_EQ(last, c.last) << c.what;
        EXPECT_EQ(pauses, c.pauses) << c.what;
    }
}

} // namespace
