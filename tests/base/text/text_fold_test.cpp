#include "base/text/parse_integer.h"
#include "base/text/text_fold.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <utility>

namespace {

using Text = std::basic_string<TextUnit>;

Text Folded(Text text) {
    FoldTypedText(text.data());
    return text.c_str(); // up to the terminator the fold wrote
}

constexpr auto kHigh = static_cast<TextUnit>(0xD835), kLow = static_cast<TextUnit>(0xDFCE);

TEST(TextFold, FoldsExactlyItsForms) {
    const Text same = TXT("\uFF00\uFF5F\u065F\u066A\u06EF\u06FA\U0001D7CD\U0001FBFA\u2469\u2460\u00B2 -$1Fz");
    const std::pair<Text, Text> cases[] = {
        // A run's 0 and 9: ASCII, full-width, Arabic-Indic, Persian, Devanagari,
        // NKo, Thai, Meetei Mayek (the last BMP run), then pairs: Osmanya,
        // mathematical bold 0 and monospace 9, segmented (the last run).
        {TXT("09\uFF10\uFF19\u0660\u0669\u06F0\u06F9\u0966\u096F"), TXT("0909090909")},
        {TXT("\u07C0\u07C9\u0E50\u0E59\uABF0\uABF9"), TXT("090909")},
        {TXT("\U000104A0\U000104A9\U0001D7CE\U0001D7FF\U0001FBF0\U0001FBF9"), TXT("090909")},
        {TXT("\uFF01\uFF5E\uFF04\uFF05\uFF0B\uFF0D\uFF21\uFF3A\uFF41\uFF5A"), TXT("!~$%+-AZaz")},
        {TXT("\u3000\u2212"), TXT(" -")},
        {TXT("\u200E1\u200F2\u061C3"), TXT("123")},
        {same, same}, // beside the runs and the range; circled, superscript; nothing to fold
        // Lone surrogates stay, and the digit beside each still folds.
        {Text{kHigh, 0xFF11, kLow, 0xFF11, kLow, kHigh}, Text{kHigh, TXT('1'), kLow, TXT('1'), kLow, kHigh}},
        {TXT(""), TXT("")},
    };
    for (const auto& [typed, folded] : cases) EXPECT_EQ(Folded(typed), folded);
    FoldTypedText(nullptr); // nothing to fold; the sanitizers watch the read
}

TEST(TextFold, TypedEntriesReadAsNumbers) {
    const std::pair<Text, int64_t> cases[] = {
        {TXT("\uFF11\uFF12\uFF10"), 120}, {TXT("\uFF04\uFF11\uFF26"), 31}, {TXT("\u06F4\u06F2"), 42},
        {TXT("\u3000\uFF11\uFF12"), 12},  {TXT("\uFF11\uFF12abc"), 12},    {TXT("\u2212\u200F\u0665"), -5},
    };
    for (const auto& [typed, number] : cases)
        EXPECT_EQ(ParseInteger(Folded(typed).c_str()), number) << testing::PrintToString(typed);
}

} // namespace
