#include "navigator/counting_loop.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

int64_t Passes(int64_t limit) {
    int64_t counter = 0, passes = 0;
    CountingLoop(
        counter, [&] { return limit; }, [&] { ++passes; });
    return passes;
}

TEST(CountingLoop, RunsLimitTimesAndNeverForZeroOrLess) {
    struct Case {
        int64_t limit, passes;
    };
    const Case cases[] = {{1, 1}, {2, 2}, {1000, 1000}, {0, 0}, {-1, 0}, {-5, 0}, {INT64_MIN, 0}};
    for (const Case& c : cases) EXPECT_EQ(Passes(c.limit), c.passes) << "limit " << c.limit;
}

TEST(CountingLoop, CounterRunsFromOne) {
    int64_t counter = 77;
    std::vector<int64_t> seen;
    CountingLoop(
        counter, [] { return 3; }, [&] { seen.push_back(counter); });
    EXPECT_EQ(seen, (std::vector<int64_t>{1, 2, 3}));
}

TEST(CountingLoop, ReadsTheLimitBeforeEveryPass) {
    int64_t counter = 0, limit = 10, passes = 0;
    CountingLoop(
        counter, [&] { return limit; },
        [&] {
            ++passes;
            if (passes == 2) limit = 3; // lowered while running
        });
    EXPECT_EQ(passes, 3);
}

TEST(CountingLoop, StopsAtTheLargestValueInsteadOfWrapping) {
    int64_t counter = 0, passes = 0;
    CountingLoopFrom(
        counter, INT64_MAX - 2, [] { return INT64_MAX; }, [&] { ++passes; });
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(counter, INT64_MAX);
}

TEST(CountingLoop, BodyCanEndTheLoopEarly) {
    int64_t counter = 0, passes = 0;
    CountingLoop(
        counter, [] { return 100; }, [&] { return ++passes < 4; });
    EXPECT_EQ(passes, 4);
    EXPECT_EQ(counter, 4);
}

} // namespace
