#include "base/text/text.h"

#include "support/runtime_fixture.h"
#include "support/test_hooks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>

namespace {

using Text = std::basic_string<TextUnit>;

Text Str(const TextUnit* text) { return text ? Text(text) : Text(); }

// Readable failure messages for texts that are not plain char strings.
std::string Ascii(const Text& text) {
    std::string out;
    for (TextUnit unit : text) out.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return out;
}

using TextArea = RuntimeTest;
using TextVariable = RuntimeTest;

// --- The temporary area ------------------------------------------------------

TEST_F(TextArea, StartsEmptyWithSixteenBytes) {
    EXPECT_EQ(TextAreaEnd(), 0);
    EXPECT_EQ(TextAreaCapacity(), 16);
    EXPECT_EQ(TextLength(TextAt(0)), 0);
}

TEST_F(TextArea, ResultsBuiltBackToBackConcatenate) {
    const int32_t saved = TextAreaEnd();
    EXPECT_EQ(AppendText(TXT("C:\\Prog\\")), saved);
    EXPECT_EQ(AppendText(TXT("DATA\\")), saved + 16);
    EXPECT_EQ(LeftPart(TXT("lineno.txt.bak"), 10), saved + 26);
    EXPECT_EQ(MakeSpaces(2), saved + 46);
    EXPECT_EQ(AppendText(nullptr), saved + 50);
    EXPECT_EQ(TextAreaEnd(), saved + 50);
    EXPECT_EQ(Str(TextAt(saved)), TXT("C:\\Prog\\DATA\\lineno.txt  "));
}

TEST_F(TextArea, EmptyResultsStillWriteTheTerminator) {
    struct Case {
        const char* name;
        int32_t (*build)();
    };
    const Case cases[] = {
        {"AppendText(null)", [] { return AppendText(nullptr); }},
        {"AppendText(empty)", [] { return AppendText(TXT("")); }},
        {"MakeSpaces(0)", [] { return MakeSpaces(0); }},
        {"MakeSpaces(-1)", [] { return MakeSpaces(-1); }},
        {"MakeSpaces(INT32_MIN)", [] { return MakeSpaces(INT32_MIN); }},
        {"LeftPart(text, 0)", [] { return LeftPart(TXT("abc"), 0); }},
        {"LeftPart(text, -3)", [] { return LeftPart(TXT("abc"), -3); }},
        {"LeftPart(null, 4)", [] { return LeftPart(nullptr, 4); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t saved = TextAreaEnd();
        AppendText(TXT("stale")); // left behind where the result goes
        ResetTextArea(saved);
        EXPECT_EQ(c.build(), saved);
        EXPECT_EQ(TextAreaEnd(), saved);
        EXPECT_EQ(TextLength(TextAt(saved)), 0);
    }
}

TEST_F(TextArea, AssignResultCopiesAndResetsTheEnd) {
    AppendText(TXT("kept"));
    HoldResult();
    const int32_t saved = TextAreaEnd();
    AppendText(TXT("AppData\\"));
    AppendText(TXT("Local\\"));
    LocalText variable;
    AssignResult(variable.var(), saved);
    EXPECT_EQ(Str(variable.get()), TXT("AppData\\Local\\"));
    EXPECT_EQ(TextAreaEnd(), saved);
    // The next result starts where the consumed one did.
    EXPECT_EQ(AppendText(TXT("x")), saved);
    EXPECT_EQ(Str(TextAt(0)), TXT("kept"));
}

TEST_F(TextArea, AssignResultReplacesAVariablesText) {
    LocalText variable;
    AssignText(variable.var(), TXT("a much longer old text"));
    const int32_t saved = TextAreaEnd();
    AppendText(TXT("ab"));
    AssignResult(variable.var(), saved);
    EXPECT_EQ(Str(variable.get()), TXT("ab"));
}

TEST_F(TextArea, AssignResultOfNothingGivesTheEmptyText) {
    LocalText variable;
    AssignText(variable.var(), TXT("old"));
    const int32_t saved = TextAreaEnd();
    AssignResult(variable.var(), saved);
    ASSERT_NE(variable.get(), nullptr);
    EXPECT_EQ(TextLength(variable.get()), 0);
    EXPECT_EQ(TextAreaEnd(), saved);
}

TEST_F(TextArea, HeldResultSurvivesLaterResultsAndGrowth) {
    const int32_t first = AppendText(TXT("first"));
    HoldResult();
    EXPECT_EQ(TextAreaEnd(), first + 12);
    const int32_t second = MakeSpaces(20000); // grows (and may move) the area
    EXPECT_EQ(second, first + 12);
    EXPECT_EQ(Str(TextAt(first)), TXT("first"));
    EXPECT_EQ(TextLength(TextAt(second)), 20000);
}

TEST_F(TextArea, GiveBackReturnsTheUnusedPartOfAReservation) {
    const int32_t saved = TextAreaEnd();
    TextUnit* target = ReserveResult(260, saved);
    EXPECT_EQ(TextAreaEnd(), saved + 520);
    target[0] = TXT('a');
    target[1] = TXT('b');
    target[2] = TXT('c');
    target[3] = 0;
    GiveBackResult(257);
    EXPECT_EQ(TextAreaEnd(), saved + 6);
    AppendText(TXT("d"));
    EXPECT_EQ(Str(TextAt(saved)), TXT("abcd"));
}

TEST_F(TextArea, TextMarkPutsTheEndBack) {
    const int32_t before = TextAreaEnd();
    LocalText variable;
    {
        TextMark mark;
        AppendText(TXT("built"));
        EXPECT_EQ(Str(mark.text()), TXT("built"));
        mark.AssignTo(variable.var());
        AppendText(TXT("discarded"));
    }
    EXPECT_EQ(TextAreaEnd(), before);
    EXPECT_EQ(Str(variable.get()), TXT("built"));
}

// Reservations at position 0 of growing size; the end and capacity after each.
TEST_F(TextArea, GrowsAndTrimsByTheRule) {
    struct Step {
        int32_t position;
        int32_t count;
        int32_t capacity;
    };
    const Step steps[] = {
        {0, 5, 16},               // ends at 10, below 16 - 4
        {0, 6, 12 + 16384},       // ends at 12 = 16 - 4: grows to end + 16384
        {0, 8195, 16396},         // ends at 16390, just below 16396 - 4
        {0, 8196, 16392 + 16384}, // ends at 16392: grows
        {0, 550000, 1116384},     // grows past 1 MiB
        {0, 1, 1048576},          // fits: trimmed back to 1 MiB
        {0, 1, 1048576},          // 1 MiB is not above 1 MiB: no trim
        {0, 560000, 1136384},     // grows past 1 MiB again
        {0, 555000, 1110000},     // fits: trimmed to the end, which is above 1 MiB
        {1110000, 0, 1126384},    // an empty result at that end must grow again
        {0, 0, 1048576},          // trimmed back to 1 MiB
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "reserve " << step.count << " at " << step.position);
        ResetTextArea(step.position);
        TextUnit* target = ReserveResult(step.count, step.position);
        EXPECT_EQ(TextAreaEnd(), step.position + 2 * step.count);
        EXPECT_EQ(TextAreaCapacity(), step.capacity);
        // The whole reservation and its terminator are inside the block.
        if (step.count > 0) {
            target[0] = TXT('a');
            target[step.count - 1] = TXT('z');
        }
        target[step.count] = 0;
    }
}

TEST_F(TextArea, TrimKeepsTheTextBuiltSoFar) {
    const int32_t saved = MakeSpaces(600000);
    ASSERT_EQ(TextAreaCapacity(), 1200000 + 16384);
    AppendText(TXT("xyz")); // fits, so the area is trimmed down to its end
    EXPECT_EQ(TextAreaCapacity(), 1200006);
    AppendText(TXT("!")); // and has to grow again for the next unit
    EXPECT_EQ(TextAreaCapacity(), 1200008 + 16384);
    const Text built = Str(TextAt(saved));
    ASSERT_EQ(built.size(), 600004u);
    EXPECT_EQ(built.substr(599998), TXT("  xyz!"));
    EXPECT_EQ(built.find_first_not_of(TXT(' ')), 600000u);
}

TEST_F(TextArea, LeftPartReadsASourceThatTheReservationMoves) {
    // Small: the first growth of the 16-byte area.
    const int32_t hello = AppendText(TXT("hello"));
    EXPECT_EQ(TextAreaCapacity(), 16);
    const int32_t left = LeftPart(TextAt(hello), 4);
    EXPECT_GT(TextAreaCapacity(), 16);
    EXPECT_EQ(Str(TextAt(left)), TXT("hell"));

    // Large: the whole text built so far, which the reservation doubles.
    const int32_t saved = MakeSpaces(100000);
    AppendText(TXT("tail"));
    const int32_t capacity = TextAreaCapacity();
    const int32_t copy = LeftPart(TextAt(saved), 100004);
    EXPECT_GT(TextAreaCapacity(), capacity);
    const Text copied = Str(TextAt(copy));
    ASSERT_EQ(copied.size(), 100004u);
    EXPECT_EQ(copied.substr(99998), TXT("  tail"));
    EXPECT_EQ(Str(TextAt(saved)).size(), 2u * 100004u);
}

TEST_F(TextArea, AppendTextReadsASourceThatTheReservationMoves) {
    const int32_t saved = AppendText(TXT("0123456789"));
    const int32_t copy = AppendText(TextAt(saved)); // 10 units more: grows the area
    EXPECT_GT(TextAreaCapacity(), 16);
    EXPECT_EQ(Str(TextAt(copy)), TXT("0123456789"));
    EXPECT_EQ(Str(TextAt(saved)), TXT("01234567890123456789"));
}

TEST_F(TextArea, ACountTooLargeForTheAreaGivesTheEmptyText) {
    AppendText(TXT("abc"));
    const int32_t saved = TextAreaEnd();
    EXPECT_EQ(MakeSpaces(INT32_MAX), saved);
    EXPECT_EQ(TextAreaEnd(), saved);
    EXPECT_EQ(TextLength(TextAt(saved)), 0);
    EXPECT_EQ(Str(TextAt(0)), TXT("abc"));
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
using TextAreaDeathTest = RuntimeTest;

// A raw reservation the area cannot hold stops the process rather than hand
// out a block its caller would overrun.
TEST_F(TextAreaDeathTest, ReservationBeyondTheAreaStopsTheProcess) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(ReserveResult(INT32_MAX, TextAreaEnd()), "");
}
#endif

// --- Text-returning operations -------------------------------------------------

struct SpacesCase {
    int32_t count;
    size_t length;
};

std::ostream& operator<<(std::ostream& out, const SpacesCase& c) { return out << c.count; }

class TextMakeSpaces : public RuntimeTest, public testing::WithParamInterface<SpacesCase> {};

TEST_P(TextMakeSpaces, GivesThatManySpaces) {
    const int32_t position = MakeSpaces(GetParam().count);
    const Text spaces = Str(TextAt(position));
    EXPECT_EQ(spaces.size(), GetParam().length);
    EXPECT_EQ(spaces.find_first_not_of(TXT(' ')), Text::npos);
    EXPECT_EQ(TextAreaEnd(), position + 2 * static_cast<int32_t>(GetParam().length));
}

INSTANTIATE_TEST_SUITE_P(Counts, TextMakeSpaces,
                         testing::Values(SpacesCase{1024, 1024}, SpacesCase{1, 1}, SpacesCase{6, 6}, SpacesCase{0, 0},
                                         SpacesCase{-1, 0}, SpacesCase{INT32_MIN, 0}));

struct LeftCase {
    const TextUnit* text;
    int32_t count;
    const TextUnit* expected;
};

std::ostream& operator<<(std::ostream& out, const LeftCase& c) {
    return out << (c.text ? Ascii(c.text) : "null") << ", " << c.count;
}

class TextLeftPart : public RuntimeTest, public testing::WithParamInterface<LeftCase> {};

TEST_P(TextLeftPart, GivesTheFirstUnits) {
    const int32_t position = LeftPart(GetParam().text, GetParam().count);
    EXPECT_EQ(Str(TextAt(position)), GetParam().expected);
    EXPECT_EQ(TextAreaEnd(), position + 2 * TextLength(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Counts, TextLeftPart,
                         testing::Values(LeftCase{TXT("abc"), 5, TXT("abc")}, LeftCase{TXT("abc"), 3, TXT("abc")},
                                         LeftCase{TXT("abc"), 2, TXT("ab")}, LeftCase{TXT("abc"), 1, TXT("a")},
                                         LeftCase{TXT("abc"), 0, TXT("")}, LeftCase{TXT("abc"), -3, TXT("")},
                                         LeftCase{TXT("abc"), INT32_MIN, TXT("")},
                                         LeftCase{TXT("abc"), INT32_MAX, TXT("abc")}, LeftCase{TXT(""), 2, TXT("")},
                                         LeftCase{nullptr, 4, TXT("")}));

TEST_F(TextArea, LeftPartReadsNoFurtherThanTheCount) {
    // Exactly three units and no terminator: reading a fourth would overrun.
    auto units = std::make_unique<TextUnit[]>(3);
    units[0] = TXT('a');
    units[1] = TXT('b');
    units[2] = TXT('c');
    EXPECT_EQ(Str(TextAt(LeftPart(units.get(), 3))), TXT("abc"));
}

TEST_F(TextArea, LeftPartCutsASurrogatePairByUnits) {
    const TextUnit text[] = {TXT('a'), 0xD83D, 0xDE00, 0};
    const Text left = Str(TextAt(LeftPart(text, 2)));
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[1], static_cast<TextUnit>(0xD83D));
}

// --- Comparison and length -------------------------------------------------------

struct EqualsCase {
    const TextUnit* a;
    const TextUnit* b;
    int32_t expected;
};

std::ostream& operator<<(std::ostream& out, const EqualsCase& c) {
    return out << (c.a ? Ascii(c.a) : "null") << " / " << (c.b ? Ascii(c.b) : "null");
}

class TextEqualsTable : public testing::TestWithParam<EqualsCase> {};

TEST_P(TextEqualsTable, ComparesUnitByUnitBothWays) {
    EXPECT_EQ(TextEquals(GetParam().a, GetParam().b), GetParam().expected);
    EXPECT_EQ(TextEquals(GetParam().b, GetParam().a), GetParam().expected);
}

const TextUnit kPairA[] = {0xD83D, 0xDE00, 0};
const TextUnit kPairB[] = {0xD83D, 0xDE01, 0};

INSTANTIATE_TEST_SUITE_P(Cases, TextEqualsTable,
                         testing::Values(EqualsCase{nullptr, nullptr, 1}, EqualsCase{nullptr, TXT(""), 1},
                                         EqualsCase{TXT(""), TXT(""), 1}, EqualsCase{TXT("abc"), TXT("abc"), 1},
                                         EqualsCase{TXT("abc"), TXT("aBc"), 0}, EqualsCase{TXT("abc"), TXT("abc "), 0},
                                         EqualsCase{TXT("abc"), TXT("ab"), 0}, EqualsCase{nullptr, TXT("a"), 0},
                                         EqualsCase{TXT(""), TXT(" "), 0}, EqualsCase{kPairA, kPairA, 1},
                                         EqualsCase{kPairA, kPairB, 0}));

TEST(TextLength, CountsUnitsBeforeTheFirstZero) {
    const TextUnit pair[] = {0xD83D, 0xDE00, 0};
    const TextUnit cut[] = {TXT('a'), 0, TXT('b'), 0};
    EXPECT_EQ(TextLength(nullptr), 0);
    EXPECT_EQ(TextLength(TXT("")), 0);
    EXPECT_EQ(TextLength(TXT("abc")), 3);
    EXPECT_EQ(TextLength(pair), 2);
    EXPECT_EQ(TextLength(cut), 1);
}

// --- Text variables ----------------------------------------------------------------

TEST_F(TextVariable, AssignTextStoresItsOwnCopy) {
    TextUnit source[] = {TXT('a'), TXT('b'), 0};
    LocalText variable;
    AssignText(variable.var(), source);
    source[0] = TXT('x');
    EXPECT_NE(variable.get(), source);
    EXPECT_EQ(Str(variable.get()), TXT("ab"));
}

TEST_F(TextVariable, AssignTextReplacesLongerAndShorterTexts) {
    LocalText variable;
    const TextUnit* texts[] = {TXT("short"), TXT("a considerably longer text than before"), TXT("x"), TXT("")};
    for (const TextUnit* text : texts) {
        AssignText(variable.var(), text);
        ASSERT_NE(variable.get(), nullptr);
        EXPECT_EQ(Str(variable.get()), text);
    }
}

TEST_F(TextVariable, AssignNullReleasesTheVariable) {
    LocalText variable;
    AssignText(variable.var(), TXT("text"));
    AssignText(variable.var(), nullptr);
    EXPECT_EQ(variable.get(), nullptr);
}

TEST_F(TextVariable, AssignFromAnotherVariable) {
    LocalText first;
    LocalText second;
    AssignText(first.var(), TXT("first"));
    AssignText(second.var(), TXT("second, longer"));
    AssignText(second.var(), first.get());
    EXPECT_EQ(Str(second.get()), TXT("first"));
    EXPECT_NE(second.get(), first.get());
}

TEST_F(TextVariable, AssignTheVariablesOwnTextOrTail) {
    struct Case {
        int offset;
        const TextUnit* expected;
    };
    const Case cases[] = {{0, TXT("C:\\Users\\me\\")}, {3, TXT("Users\\me\\")}, {12, TXT("")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        LocalText variable;
        AssignText(variable.var(), TXT("C:\\Users\\me\\"));
        AssignText(variable.var(), variable.get() + c.offset);
        EXPECT_EQ(Str(variable.get()), c.expected);
    }
}

TEST_F(TextVariable, FreeTextMakesTheVariableNull) {
    TextVar variable = nullptr;
    FreeText(variable); // nothing for null
    EXPECT_EQ(variable, nullptr);
    AssignText(variable, TXT("held"));
    FreeText(variable);
    EXPECT_EQ(variable, nullptr);
}

} // namespace
