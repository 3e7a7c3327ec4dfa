// How far a ratio of two programs' figures can be trusted: the geometric mean
// of the ratios of runs made next to each other, and its 95 % interval from a
// bootstrap over those pairs. Plain arithmetic, built natively and tested
// there too.
#pragma once

#include "stats.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

// Enough resamples that the interval's ends move by well under a thousandth
// between seeds; a few milliseconds a figure.
constexpr int BOOTSTRAP_RESAMPLES = 4000;
// Fixed, so that the same runs always give the same interval.
constexpr uint64_t BOOTSTRAP_SEED = 0x6c696e656e6176ULL;
constexpr double INTERVAL_LOW_QUANTILE = 0.025, INTERVAL_HIGH_QUANTILE = 0.975;
// Fewer pairs give no interval at all: one pair resamples only to itself.
constexpr size_t MIN_INTERVAL_PAIRS = 2;
// Fewer pairs give an interval but no verdict. A percentile bootstrap never
// reaches beyond the pairs it has seen, so on few pairs its interval is too
// narrow: with 3 pairs that all fall on one side of 1, which noise does one
// time in four, it excludes 1. From 10 pairs on that takes noise 1 time in
// 500, and the interval covers about 90 % rather than 95 % (93 % at 20).
constexpr size_t MIN_VERDICT_PAIRS = 10;

struct RatioInterval {
    bool valid = false; // false: too few pairs, or a figure that is not a positive amount
    size_t pairs = 0;
    double center = 0;        // geometric mean of the pairs' ratios
    double low = 0, high = 0; // 2.5 % and 97.5 % quantiles of the resampled geometric means
};

// Whether pair `pair` (from 0) runs its programs in reverse order, the second
// one first: every other pair does. A run feels the one just before it: the
// same linenav on both sides of a long jump read 22 ms against 38 ms to the
// caret's first move while the first side always went first. Alternated, that
// effect falls on each side in half the pairs and cancels in the geometric
// mean of their ratios.
constexpr bool PairReversed(int pair) { return pair % 2 == 1; }

// splitmix64: the project's own generator, so that the resamples are the same
// with every compiler and standard library (std::uniform_int_distribution is
// not specified bit for bit).
inline uint64_t NextRandom(uint64_t& state) {
    uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

// The ratio a[i] / b[i] of each pair, summarised by its geometric mean (the
// mean of the logarithms: a run slowed twice as much on either side weighs
// alike, and one run caught by load moves it less than the plain mean), and
// the interval that mean falls in for 95 % of `resamples` resamplings of the
// pairs with replacement. A pair whose figures are not both positive (the
// difference "one more key" can be 0 or below) has no ratio of amounts, and
// the figure gets no interval.
inline RatioInterval BootstrapRatioInterval(const std::vector<double>& a, const std::vector<double>& b,
                                            int resamples = BOOTSTRAP_RESAMPLES, uint64_t seed = BOOTSTRAP_SEED) {
    RatioInterval r;
    std::vector<double> logs;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (!(a[i] > 0) || !(b[i] > 0)) return r;
        logs.push_back(std::log(a[i] / b[i]));
    }
    r.pairs = logs.size();
    if (r.pairs < MIN_INTERVAL_PAIRS || resamples < 1) return r;
    double sum = 0;
    for (double l : logs) sum += l;
    r.center = std::exp(sum / static_cast<double>(r.pairs));
    std::vector<double> means;
    means.reserve(static_cast<size_t>(resamples));
    uint64_t state = seed;
    for (int k = 0; k < resamples; ++k) {
        double resampled = 0;
        // The modulo's bias is below pairs / 2^64: nothing next to 4000 draws.
        for (size_t i = 0; i < r.pairs; ++i) resampled += logs[NextRandom(state) % r.pairs];
        means.push_back(resampled / static_cast<double>(r.pairs));
    }
    std::sort(means.begin(), means.end());
    r.low = std::exp(Quantile(means, INTERVAL_LOW_QUANTILE));
    r.high = std::exp(Quantile(means, INTERVAL_HIGH_QUANTILE));
    r.valid = true;
    return r;
}

// What the interval shows about the first program against the second: slower
// only when it lies wholly above 1, faster only when wholly below.
enum class Shift { NO_INTERVAL, TOO_FEW_PAIRS, SLOWER, NONE_SHOWN, FASTER };

inline Shift ShiftOf(const RatioInterval& r) {
    if (!r.valid) return Shift::NO_INTERVAL;
    if (r.pairs < MIN_VERDICT_PAIRS) return Shift::TOO_FEW_PAIRS;
    if (r.low > 1) return Shift::SLOWER;
    if (r.high < 1) return Shift::FASTER;
    return Shift::NONE_SHOWN;
}
