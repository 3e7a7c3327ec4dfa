#include "ratio_interval.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// Times of the old side, and the new side as the old one times each ratio.
std::vector<double> Times(const std::vector<double>& base, const std::vector<double>& ratios) {
    std::vector<double> out;
    for (size_t i = 0; i < base.size(); ++i) out.push_back(base[i] * ratios[i]);
    return out;
}

} // namespace

TEST(RatioInterval, ShowsAShiftOnlyWhenTheWholeIntervalLiesOnOneSideOfOne) {
    const std::vector<double> old = {100, 130, 90, 250, 110, 95, 180, 120, 101, 99, 140, 160};
    struct Case {
        const char* name;
        std::vector<double> ratios;
        Shift shift;
    };
    const Case cases[] = {
        {"all equal", std::vector<double>(12, 1.1), Shift::SLOWER},
        {"shifted up", {1.08, 1.12, 1.09, 1.11, 1.10, 1.07, 1.13, 1.10, 1.09, 1.11, 1.10, 1.10}, Shift::SLOWER},
        {"shifted down", {0.92, 0.95, 0.93, 0.91, 0.94, 0.92, 0.93, 0.96, 0.92, 0.93, 0.94, 0.93}, Shift::FASTER},
        {"noise around 1", {1.09, 0.93, 1.05, 0.96, 1.02, 0.97, 1.08, 0.94, 1.01, 0.99, 1.06, 0.95}, Shift::NONE_SHOWN},
    };
    for (const Case& c : cases) {
        const RatioInterval r = BootstrapRatioInterval(Times(old, c.ratios), old);
        EXPECT_EQ(ShiftOf(r), c.shift) << c.name << ": [" << r.low << ", " << r.high << "]";
        EXPECT_EQ(r.pairs, old.size()) << c.name;
        EXPECT_LE(r.low, r.center) << c.name;
        EXPECT_LE(r.center, r.high) << c.name;
    }
    const RatioInterval equal = BootstrapRatioInterval(Times(old, std::vector<double>(12, 1.1)), old);
    EXPECT_NEAR(equal.low, 1.1, 1e-12) << "equal ratios leave nothing to resample";
    EXPECT_NEAR(equal.high, 1.1, 1e-12);
    // One pair in twelve twice as slow, as one run caught by load: a resample
    // misses it a third of the time ((11/12)^12) and draws it at most three
    // times 99.8 % of the time, so the interval is [1, 2^(3/12)]: no change.
    std::vector<double> ratios(12, 1.0);
    ratios[5] = 2.0;
    const RatioInterval once = BootstrapRatioInterval(Times(old, ratios), old);
    EXPECT_EQ(ShiftOf(once), Shift::NONE_SHOWN);
    EXPECT_NEAR(once.low, 1.0, 1e-12);
    EXPECT_NEAR(once.high, std::pow(2.0, 3.0 / 12), 1e-12);
}

TEST(RatioInterval, SameRunsSameIntervalAndNoneWithoutPositiveFiguresOrPairs) {
    const std::vector<double> a = {1.0, 1.3, 0.9, 1.2, 1.1}, b = {1.1, 1.0, 1.0, 1.0, 1.0};
    const RatioInterval first = BootstrapRatioInterval(a, b), again = BootstrapRatioInterval(a, b);
    EXPECT_EQ(first.low, again.low);
    EXPECT_EQ(first.high, again.high);
    EXPECT_LT(first.low, first.high);
    EXPECT_EQ(ShiftOf(BootstrapRatioInterval({1.0, -0.1, 1.2}, {1.0, 1.0, 1.0})), Shift::NO_INTERVAL);
    EXPECT_EQ(ShiftOf(BootstrapRatioInterval({2.0}, {1.0})), Shift::NO_INTERVAL) << "one pair";
    const RatioInterval three = BootstrapRatioInterval({1.2, 1.3, 1.1}, {1.0, 1.0, 1.0});
    EXPECT_GT(three.low, 1.0) << "three pairs on one side: as noise gives one time in four";
    EXPECT_EQ(ShiftOf(three), Shift::TOO_FEW_PAIRS);
}

TEST(RatioInterval, AlternatedPairsCancelAnOrderEffect) {
    // The same program as both sides, a run that comes second in its pair 30 %
    // slower: in the order PairReversed gives, that cancels.
    std::vector<double> a, b;
    for (int pair = 0; pair < 12; ++pair) {
        a.push_back(PairReversed(pair) ? 130 : 100);
        b.push_back(PairReversed(pair) ? 100 : 130);
    }
    EXPECT_FALSE(PairReversed(0)) << "the first side goes first in the first pair";
    EXPECT_NEAR(BootstrapRatioInterval(a, b).center, 1.0, 1e-12);
}
