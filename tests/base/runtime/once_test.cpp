#include "base/runtime/once.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

struct Counter {
    std::atomic<int> runs{0};
    std::atomic<bool> finished{false};
};

void Initialise(void* context) {
    auto* counter = static_cast<Counter*>(context);
    ++counter->runs;
    // Give racing callers time to arrive while initialisation is running.
    for (int i = 0; i < 1000; ++i) std::this_thread::yield();
    counter->finished = true;
}

using Runner = void (*)(OnceRecord*, OnceCallback, void*);

class OnceInit : public ::testing::TestWithParam<Runner> {};

TEST_P(OnceInit, RunsExactlyOnceAndEveryCallerSeesItDone) {
    OnceRecord once = {};
    Counter counter;
    std::atomic<int> sawUnfinished{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&] {
            GetParam()(&once, Initialise, &counter);
            if (!counter.finished) ++sawUnfinished;
        });
    for (auto& thread : threads) thread.join();
    GetParam()(&once, Initialise, &counter);
    EXPECT_EQ(counter.runs, 1);
    EXPECT_EQ(sawUnfinished, 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, OnceInit, ::testing::Values(&RunOnce, &RunOnceFallback),
                         [](const auto& info) { return info.index == 0 ? "Platform" : "Fallback"; });

TEST(OnceInitFallback, StateWordGoesFromZeroToTwo) {
    OnceRecord once = {};
    Counter counter;
    RunOnceFallback(&once, Initialise, &counter);
    EXPECT_EQ(once.state, 2u);
}

} // namespace
