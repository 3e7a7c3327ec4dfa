#include "navigator/modifier_wait.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr uint64_t PAUSE_MS = 10;
constexpr uint8_t KEY_HOME = 0x24;
constexpr uint64_t FOREVER = UINT64_MAX / 2;

// A keyboard on which `key` is down for `heldMs` from the start, and a clock
// that each pause moves on by PAUSE_MS.
struct Bench {
    uint8_t key = 0;
    uint64_t heldMs = 0;
    uint64_t now = 1000, start = 1000;
    int pauses = 0, clockReads = 0;

    bool Wait(ModifierWait& wait) {
        start = now;
        return wait.HandsOff([&](uint8_t k) { return k == key && now - start < heldMs; },
                             [&] { return ++clockReads, now; }, [&] { now += PAUSE_MS, ++pauses; });
    }
};

TEST(ModifierWait, WaitsForEachModifierWithinTheBudget) {
    struct Case {
        const char* what;
        uint8_t key;
        uint64_t heldMs;
        bool handsOff;
        uint64_t leftMs;
    };
    const Case cases[] = {
        {"nothing held", 0, 0, true, MODIFIER_WAIT_LIMIT_MS},
        {"Alt let go", KEY_ALT, 30, true, MODIFIER_WAIT_LIMIT_MS - 30},
        {"Shift let go", KEY_SHIFT, 30, true, MODIFIER_WAIT_LIMIT_MS - 30},
        {"Ctrl let go", KEY_CONTROL, 30, true, MODIFIER_WAIT_LIMIT_MS - 30},
        {"left Windows let go", KEY_LEFT_WINDOWS, 30, true, MODIFIER_WAIT_LIMIT_MS - 30},
        {"right Windows let go", KEY_RIGHT_WINDOWS, 30, true, MODIFIER_WAIT_LIMIT_MS - 30},
        {"Home is no modifier", KEY_HOME, FOREVER, true, MODIFIER_WAIT_LIMIT_MS},
        {"Alt held past the budget", KEY_ALT, FOREVER, false, 0},
    };
    for (const Case& c : cases) {
        ModifierWait wait;
        Bench bench{c.key, c.heldMs};
        EXPECT_EQ(bench.Wait(wait), c.handsOff) << c.what;
        EXPECT_EQ(wait.leftMs(), c.leftMs) << c.what;
        if (!c.handsOff) {
            EXPECT_EQ(bench.now - bench.start, MODIFIER_WAIT_LIMIT_MS) << c.what << ": waited no longer";
        }
    }
}

TEST(ModifierWait, OneBudgetForTheWholeRun) {
    ModifierWait wait;
    Bench bench{KEY_SHIFT, 3000};
    EXPECT_TRUE(bench.Wait(wait));
    EXPECT_EQ(wait.leftMs(), MODIFIER_WAIT_LIMIT_MS - 3000);
    EXPECT_FALSE(bench.Wait(wait)) << "the second look has only what the first left";
    EXPECT_EQ(bench.now - bench.start, MODIFIER_WAIT_LIMIT_MS - 3000);
    bench.heldMs = 0;
    bench.pauses = 0;
    bench.clockReads = 0;
    EXPECT_TRUE(bench.Wait(wait)) << "with the budget spent, hands already off still pass";
    EXPECT_EQ(bench.pauses, 0);
    EXPECT_EQ(bench.clockReads, 0) << "a look with nothing held read the clock";
}

} // namespace
