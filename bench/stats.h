// Medians and spread of a set of samples.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

struct Summary {
    size_t count = 0;
    double median = 0, q1 = 0, q3 = 0, min = 0, max = 0;
};

// Linear interpolation between closest ranks.
inline double Quantile(const std::vector<double>& sorted, double q) {
    if (sorted.empty()) return 0;
    const double at = q * static_cast<double>(sorted.size() - 1);
    const size_t low = static_cast<size_t>(at);
    const size_t high = low + 1 < sorted.size() ? low + 1 : low;
    const double fraction = at - static_cast<double>(low);
    return sorted[low] + (sorted[high] - sorted[low]) * fraction;
}

inline Summary Summarize(std::vector<double> samples) {
    Summary s;
    s.count = samples.size();
    if (samples.empty()) return s;
    std::sort(samples.begin(), samples.end());
    s.median = Quantile(samples, 0.5);
    s.q1 = Quantile(samples, 0.25);
    s.q3 = Quantile(samples, 0.75);
    s.min = samples.front();
    s.max = samples.back();
    return s;
}

// The median of a / b over pairs run next to each other: a second view of the
// ratio that load drifting during the run disturbs less.
inline double PairedRatio(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (b[i] > 0) ratios.push_back(a[i] / b[i]);
    return Summarize(ratios).median;
}
