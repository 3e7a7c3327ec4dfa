// Compares a recorded sequence with an expected one written as data, whole,
// and on a mismatch prints them side by side with names (the style of Wine's
// own user32 message tests).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

template <class Record, class Namer>
::testing::AssertionResult SameSequence(const std::vector<Record>& expected, const std::vector<Record>& actual,
                                        Namer name) {
    bool same = expected.size() == actual.size();
    for (size_t i = 0; same && i < expected.size(); ++i) same = expected[i] == actual[i];
    if (same) return ::testing::AssertionSuccess();

    std::string table = "sequences differ (expected | actual):\n";
    const size_t rows = expected.size() > actual.size() ? expected.size() : actual.size();
    for (size_t i = 0; i < rows; ++i) {
        const std::string left = i < expected.size() ? name(expected[i]) : "-";
        const std::string right = i < actual.size() ? name(actual[i]) : "-";
        const bool differs = i >= expected.size() || i >= actual.size() || !(expected[i] == actual[i]);
        char line[256];
        std::snprintf(line, sizeof line, "%s %4zu  %-36s | %s\n", differs ? "!" : " ", i, left.c_str(), right.c_str());
        table += line;
    }
    return ::testing::AssertionFailure() << table;
}
