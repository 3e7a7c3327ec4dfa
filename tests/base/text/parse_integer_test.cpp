#include "base/text/parse_integer.h"
#include "base/text/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

namespace {

using Text = std::basic_string<TextUnit>;

Text FromAscii(const char* ascii) {
    Text text;
    for (const char* p = ascii; *p; ++p) text.push_back(static_cast<TextUnit>(*p));
    return text;
}

struct ParseCase {
    const char* name; // what the case shows, for the failure message
    const char* input;
    int64_t expected;
};

std::ostream& operator<<(std::ostream& out, const ParseCase& c) { return out << c.name << " [" << c.input << "]"; }

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

const ParseCase kCases[] = {
    // The documented examples.
    {"two spaces then digits", "  42", 42},
    {"two tabs then digits", "\t\t7", 7},
    {"line feed is not a blank", "\n5", 0},
    {"trailing letters ignored", "-17abc", -17},
    {"plus sign", "+8", 8},
    {"hex upper case", "$1F", 31},
    {"hex lower case", "$1f", 31},
    {"negative hex", "-$10", -16},
    {"binary", "%101", 5},
    {"stops at the point", "12.9", 12},
    {"no C hex prefix", "0x1F", 0},
    {"no blank after the sign", " - 5", 0},
    {"one sign only", "--5", 0},
    {"sign before the base mark only", "$-5", 0},
    {"2 is no binary digit", "%2", 0},
    {"hex mark alone", "$", 0},
    {"binary mark alone", "%", 0},
    {"minus alone", "-", 0},
    {"empty text", "", 0},
    {"hex wraps to -1", "$FFFFFFFFFFFFFFFF", -1},
    {"2^63 wraps to the minimum", "9223372036854775808", kMin},
    {"minus 2^63 is the minimum", "-9223372036854775808", kMin},
    {"2^64 + 1 wraps to 1", "18446744073709551617", 1},
    // Blanks, signs and bases combined.
    {"mixed blanks", " \t \t+$ff", 255},
    {"blanks then minus binary", "\t -%1111", -15},
    {"plus then hex", "+$7FFFFFFFFFFFFFFF", kMax},
    {"plus alone", "+", 0},
    {"minus then hex mark alone", "-$", 0},
    {"minus then binary mark alone", "-%", 0},
    {"plus then minus", "+-3", 0},
    {"minus then plus", "-+3", 0},
    {"blank between base mark and digits", "$ 1", 0},
    {"blank after digits ends them", "12 34", 12},
    {"hex stops at g", "$abcdefg", 0xabcdef},
    {"decimal stops at a hex letter", "12ab", 12},
    {"binary stops at 2", "%1012", 5},
    {"decimal has no base mark after digits", "1$2", 1},
    {"leading zeros", "-0000123", -123},
    {"minus zero", "-0", 0},
    {"maximum", "9223372036854775807", kMax},
    {"minus maximum", "-9223372036854775807", -kMax},
    {"2^64 wraps to 0", "18446744073709551616", 0},
    {"2^64 - 1 wraps to -1", "18446744073709551615", -1},
    {"minus 2^64 - 1 wraps to 1", "-18446744073709551615", 1},
    {"17 hex digits keep the low 64 bits", "$1FFFFFFFFFFFFFFFF", -1},
    {"65 binary digits keep the low 64 bits", "%11000000000000000000000000000000000000000000000000000000000000001",
     kMin + 1},
    {"form feed is not a blank", "\f5", 0},
    {"carriage return is not a blank", "\r5", 0},
};

class ParseIntegerTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseIntegerTable, GivesTheExpectedValue) {
    const Text input = FromAscii(GetParam().input);
    EXPECT_EQ(ParseInteger(input.c_str()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, ParseIntegerTable, ::testing::ValuesIn(kCases));

TEST(ParseInteger, NullTextGivesZero) { EXPECT_EQ(ParseInteger(nullptr), 0); }

TEST(ParseInteger, OnlyAsciiDigitsCount) {
    // Fullwidth digit one, Arabic-Indic digit one, fullwidth capital A.
    const TextUnit fullwidth[] = {0xFF11, 0};
    const TextUnit arabic[] = {0x0661, 0};
    const TextUnit hexFullwidth[] = {TXT('$'), 0xFF21, 0};
    EXPECT_EQ(ParseInteger(fullwidth), 0);
    EXPECT_EQ(ParseInteger(arabic), 0);
    EXPECT_EQ(ParseInteger(hexFullwidth), 0);
}

TEST(ParseInteger, NoBreakSpaceIsNotABlank) {
    const TextUnit text[] = {0x00A0, TXT('5'), 0};
    EXPECT_EQ(ParseInteger(text), 0);
}

TEST(ParseInteger, DigitsAfterASurrogatePairAreIgnored) {
    const TextUnit text[] = {TXT('4'), 0xD83D, 0xDE00, TXT('2'), 0};
    EXPECT_EQ(ParseInteger(text), 4);
}

TEST(ParseInteger, LongRunOfBlanksIsSkipped) {
    Text text(10000, TXT(' '));
    text += TXT("\t-99");
    EXPECT_EQ(ParseInteger(text.c_str()), -99);
}

} // namespace
