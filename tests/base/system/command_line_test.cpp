#include "base/system/command_line.h"

#include "support/runtime_fixture.h"
#include "support/test_hooks.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "base/platform/handles.h"

#include <windows.h>
#endif

#include <cstring>
#include <string>
#include <vector>

namespace {

using Text = std::basic_string<TextUnit>;

// Readable failure messages: texts here are ASCII apart from the odd tab.
std::string Show(const Text& text) {
    std::string shown;
    for (TextUnit unit : text) {
        if (unit == TXT('\t')) shown += "\\t";
        else if (unit < 0x80) shown += static_cast<char>(unit);
        else shown += "?";
    }
    return shown;
}

std::string Show(const TextUnit* text) { return Show(Text(text ? text : TXT(""))); }

// The tokens of a command line, as FindCommandToken hands them out with their
// quotes dropped; the program name first.
std::vector<Text> TokenTexts(const TextUnit* commandLine) {
    std::vector<Text> texts;
    CommandToken token;
    for (int64_t index = -1; FindCommandToken(commandLine, index, token); ++index) {
        Text text;
        for (int32_t i = 0; i < token.length; ++i) {
            if (token.start[i] != TXT('"')) text += token.start[i];
        }
        texts.push_back(text);
    }
    return texts;
}

struct SplitCase {
    const TextUnit* commandLine;
    std::vector<Text> tokens; // program name first, quotes dropped
};

const std::vector<SplitCase>& SplitCases() {
    static const std::vector<SplitCase> cases = {
        // Only the program name, in all its spellings.
        {TXT("linenav.exe"), {TXT("linenav.exe")}},
        {TXT("   linenav.exe   "), {TXT("linenav.exe")}},
        {TXT("\"C:\\Program Files\\linenav.exe\""), {TXT("C:\\Program Files\\linenav.exe")}},
        // Nothing at all.
        {TXT(""), {}},
        {TXT("    "), {}},
        // A quoted program name with spaces is one token; argument 0 follows.
        {TXT("\"C:\\Program Files\\linenav.exe\" C:\\Tools\\"),
         {TXT("C:\\Program Files\\linenav.exe"), TXT("C:\\Tools\\")}},
        // The editor's folder argument: the backslash stays and the quote ends it.
        {TXT("linenav.exe \"C:\\Prog Dir\\\""), {TXT("linenav.exe"), TXT("C:\\Prog Dir\\")}},
        {TXT("linenav.exe \"C:\\Prog Dir\\\" next"), {TXT("linenav.exe"), TXT("C:\\Prog Dir\\"), TXT("next")}},
        // A quoted section inside an unquoted token keeps its space.
        {TXT("prog a\"b c\"d"), {TXT("prog"), TXT("ab cd")}},
        {TXT("prog C:\\\"Prog Dir\"\\ x"), {TXT("prog"), TXT("C:\\Prog Dir\\"), TXT("x")}},
        {TXT("prog a\"\"b"), {TXT("prog"), TXT("ab")}},
        // Quoted tokens end at their closing quote, space or not.
        {TXT("prog \"a\"\"b\""), {TXT("prog"), TXT("a"), TXT("b")}},
        {TXT("prog \"a\"b"), {TXT("prog"), TXT("a"), TXT("b")}},
        {TXT("\"prog\"x"), {TXT("prog"), TXT("x")}},
        // The empty quoted token takes an index.
        {TXT("prog \"\" x"), {TXT("prog"), TXT(""), TXT("x")}},
        {TXT("prog \"\""), {TXT("prog"), TXT("")}},
        {TXT("prog \"\"\"\""), {TXT("prog"), TXT(""), TXT("")}},
        {TXT("\""), {TXT("")}},
        // Only spaces split.
        {TXT("prog a\tb"), {TXT("prog"), TXT("a\tb")}},
        {TXT("prog a\nb\rc"), {TXT("prog"), TXT("a\nb\rc")}},
        {TXT("prog   a    b  "), {TXT("prog"), TXT("a"), TXT("b")}},
        // A quote left open runs to the end, spaces and all.
        {TXT("prog \"open end  "), {TXT("prog"), TXT("open end  ")}},
        {TXT("prog a\"open end"), {TXT("prog"), TXT("aopen end")}},
        {TXT("prog \""), {TXT("prog"), TXT("")}},
        // A backslash never escapes.
        {TXT("prog a\\\"b c\\\" d"), {TXT("prog"), TXT("a\\b c\\"), TXT("d")}},
        {TXT("prog \\\" x"), {TXT("prog"), TXT("\\ x")}},
        {TXT("prog \\\\ \\"), {TXT("prog"), TXT("\\\\"), TXT("\\")}},
    };
    return cases;
}

TEST(CommandLineSplit, TokensAndCountFollowTheRules) {
    for (const SplitCase& c : SplitCases()) {
        SCOPED_TRACE(Show(c.commandLine));
        const std::vector<Text> tokens = TokenTexts(c.commandLine);
        ASSERT_EQ(tokens.size(), c.tokens.size());
        for (size_t i = 0; i < tokens.size(); ++i) {
            EXPECT_EQ(tokens[i], c.tokens[i]) << "token " << static_cast<int>(i) - 1 << ": " << Show(tokens[i]);
        }
        EXPECT_EQ(CountCommandTokens(c.commandLine), static_cast<int64_t>(c.tokens.size()) - 1);
    }
}

// Raw token bounds: quotes included in the length and counted.
TEST(CommandLineSplit, TokenBoundsIncludeTheQuotes) {
    struct Case {
        const TextUnit* commandLine;
        int64_t index;
        int32_t offset, length, quotes;
    };
    const Case cases[] = {
        {TXT("  prog  "), -1, 2, 4, 0},     {TXT("p \"a\"\"b\""), 1, 5, 3, 2}, {TXT("p \"\" x"), 1, 5, 1, 0},
        {TXT("p a\"b c\"d e"), 0, 2, 7, 2}, {TXT("p x\"open "), 0, 2, 7, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Show(c.commandLine) + " #" + std::to_string(c.index));
        CommandToken token{};
        ASSERT_TRUE(FindCommandToken(c.commandLine, c.index, token));
        EXPECT_EQ(token.start - c.commandLine, c.offset);
        EXPECT_EQ(token.length, c.length);
        EXPECT_EQ(token.quotes, c.quotes);
    }
}

TEST(CommandLineSplit, IndexesOutsideTheTokensFindNothing) {
    struct Case {
        const TextUnit* commandLine;
        int64_t index;
    };
    const Case cases[] = {
        {TXT("prog a b"), -2}, {TXT("prog a b"), INT64_MIN},
        {TXT("prog a b"), 2},  {TXT("prog a b"), INT64_MAX},
        {TXT("prog"), 0},      {TXT(""), -1},
        {TXT("   "), -1},      {nullptr, -1},
        {nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Show(c.commandLine) + " #" + std::to_string(c.index));
        CommandToken token{};
        EXPECT_FALSE(FindCommandToken(c.commandLine, c.index, token));
    }
    EXPECT_EQ(CountCommandTokens(nullptr), -1);
}

class ArgumentTest : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        StartArguments();
    }
#ifndef _WIN32
    void TearDown() override {
        SetProcessCommandLine(nullptr);
        RuntimeTest::TearDown();
    }
#endif

    // Checks the text result that starts at `at`: its text, and that the end
    // of the temporary area lies right after its terminator's place.
    static void ExpectResult(int32_t at, int32_t before, const Text& expected) {
        EXPECT_EQ(at, before);
        EXPECT_EQ(Text(TextAt(at)), expected) << Show(TextAt(at));
        EXPECT_EQ(TextAreaEnd(), at + static_cast<int32_t>(expected.size() * sizeof(TextUnit)));
    }
};

#ifdef _WIN32

// The editor starts the tool with a command line of its own making; a copy of
// this test program started with such a line must see it split by these
// rules, not the C runtime's (which would eat the quote after the backslash).
// The child's test filter goes through the environment, because the C
// runtime's own split of this line would swallow a filter flag.
const wchar_t CHILD_VARIABLE[] = L"LINENAV_ARGUMENT_CHILD";
const wchar_t CHILD_FILTER[] = L"ArgumentTest.ChildSeesTheCommandLineItWasGiven";
const wchar_t CHILD_COMMAND_LINE[] =
    L"\"C:\\Program Files\\Quillo\\linenav.exe\" \"C:\\Prog Dir\\\" a\"b c\"d \"\" x\ty "
    L"\"--last one\"";

TEST_F(ArgumentTest, ChildSeesTheCommandLineItWasGiven) {
    if (GetEnvironmentVariableW(CHILD_VARIABLE, nullptr, 0) == 0) return; // not the child
    EXPECT_EQ(Text(ProcessCommandLine()), CHILD_COMMAND_LINE);
    const Text expected[] = {L"C:\\Prog Dir\\", L"ab cd", L"", L"x\ty", L"--last one"};
    EXPECT_EQ(ArgumentCount(), 5);
    const int32_t before = TextAreaEnd();
    ExpectResult(ProgramArgument(0), before, expected[0]);
    ResetTextArea(before);
    for (size_t i = 1; i < 5; ++i) {
        ExpectResult(NextArgument(), before, expected[i]);
        ResetTextArea(before);
    }
    ExpectResult(NextArgument(), before, L"");
    EXPECT_EQ(NextArgumentIndex(), 5);
}

TEST_F(ArgumentTest, ProgramStartedWithTheEditorsCommandLine) {
    if (GetEnvironmentVariableW(CHILD_VARIABLE, nullptr, 0) != 0) return; // the child itself
    wchar_t self[MAX_PATH] = {};
    const DWORD selfLength = GetModuleFileNameW(nullptr, self, MAX_PATH);
    ASSERT_TRUE(selfLength > 0 && selfLength < MAX_PATH);

    wchar_t commandLine[sizeof(CHILD_COMMAND_LINE) / sizeof(wchar_t)];
    std::memcpy(commandLine, CHILD_COMMAND_LINE, sizeof(CHILD_COMMAND_LINE));
    // The child inherits the environment; ours is put back right after.
    wchar_t oldFilter[1024] = {};
    const DWORD oldFilterLength = GetEnvironmentVariableW(L"GTEST_FILTER", oldFilter, 1024);
    ASSERT_LT(oldFilterLength, 1024u);
    ASSERT_TRUE(SetEnvironmentVariableW(CHILD_VARIABLE, L"1"));
    ASSERT_TRUE(SetEnvironmentVariableW(L"GTEST_FILTER", CHILD_FILTER));
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(self, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(CHILD_VARIABLE, nullptr);
    SetEnvironmentVariableW(L"GTEST_FILTER", oldFilterLength ? oldFilter : nullptr);
    ASSERT_TRUE(started) << GetLastError();
    KernelHandle(process.hThread).reset();
    const KernelHandle child(process.hProcess);
    const DWORD waited = WaitForSingleObject(child.get(), 20000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(child.get(), 1);
    DWORD exitCode = 1;
    GetExitCodeProcess(child.get(), &exitCode);
    ASSERT_EQ(waited, WAIT_OBJECT_0) << "the child did not finish";
    EXPECT_EQ(exitCode, 0u) << "the child saw its arguments differently";
}

#else

TEST_F(ArgumentTest, EveryArgumentComesOutWithoutItsQuotes) {
    for (const SplitCase& c : SplitCases()) {
        SCOPED_TRACE(Show(c.commandLine));
        SetProcessCommandLine(c.commandLine);
        EXPECT_EQ(ArgumentCount(), static_cast<int64_t>(c.tokens.size()) - 1);
        // One past the last argument too: that one is empty.
        for (int32_t index = 0; index <= static_cast<int32_t>(c.tokens.size()); ++index) {
            SCOPED_TRACE(index);
            const int32_t before = TextAreaEnd();
            const bool exists = index + 1 < static_cast<int32_t>(c.tokens.size());
            ExpectResult(ProgramArgument(index), before, exists ? c.tokens[index + 1] : Text());
            EXPECT_EQ(NextArgumentIndex(), exists ? index + 1 : index);
            ResetTextArea(before);
        }
    }
}

TEST_F(ArgumentTest, EmptyCommandLineCountsMinusOne) {
    const TextUnit* lines[] = {TXT(""), TXT("     "), nullptr};
    for (const TextUnit* line : lines) {
        SCOPED_TRACE(Show(line));
        SetProcessCommandLine(line);
        EXPECT_EQ(ArgumentCount(), -1);
        const int32_t before = TextAreaEnd();
        ExpectResult(ProgramArgument(0), before, Text());
        ExpectResult(ProgramArgument(-1), before, Text());
    }
}

// The next-argument counter across a run of calls: P(n) is ProgramArgument(n),
// N is NextArgument.
TEST_F(ArgumentTest, CounterSequences) {
    constexpr int32_t NEXT = INT32_MIN; // marks a NextArgument step
    struct Step {
        int32_t index;
        const TextUnit* expected;
        int32_t counterAfter;
    };
    struct Case {
        const char* name;
        const TextUnit* commandLine;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"P(0) then N gives 0 and 1",
         TXT("prog a b"),
         {{0, TXT("a"), 1}, {NEXT, TXT("b"), 2}, {NEXT, TXT(""), 2}, {NEXT, TXT(""), 2}}},
        {"N from a fresh state starts at 0", TXT("prog a b"), {{NEXT, TXT("a"), 1}, {NEXT, TXT("b"), 2}}},
        {"P past the end keeps the counter there",
         TXT("prog a b"),
         {{5, TXT(""), 5}, {NEXT, TXT(""), 5}, {-1, TXT(""), 5}}},
        {"P at exactly the count", TXT("prog a b"), {{2, TXT(""), 2}, {NEXT, TXT(""), 2}}},
        {"P can go back", TXT("prog a b"), {{1, TXT("b"), 2}, {0, TXT("a"), 1}, {NEXT, TXT("b"), 2}}},
        {"negative index uses the counter",
         TXT("prog a b c"),
         {{-1, TXT("a"), 1}, {-7, TXT("b"), 2}, {INT32_MIN + 1, TXT("c"), 3}, {-1, TXT(""), 3}}},
        {"negative after P continues from it", TXT("prog a b c"), {{1, TXT("b"), 2}, {-1, TXT("c"), 3}}},
        {"an empty argument is found and moves the counter",
         TXT("prog \"\" x"),
         {{NEXT, TXT(""), 1}, {NEXT, TXT("x"), 2}, {NEXT, TXT(""), 2}}},
        {"only the program name", TXT("prog"), {{0, TXT(""), 0}, {NEXT, TXT(""), 0}, {3, TXT(""), 3}}},
        {"the largest index", TXT("prog a"), {{INT32_MAX, TXT(""), INT32_MAX}, {NEXT, TXT(""), INT32_MAX}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartArguments(); // a fresh counter for every sequence
        SetProcessCommandLine(c.commandLine);
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE("step " + std::to_string(i));
            const int32_t before = TextAreaEnd();
            const int32_t at = step.index == NEXT ? NextArgument() : ProgramArgument(step.index);
            ExpectResult(at, before, step.expected);
            EXPECT_EQ(NextArgumentIndex(), step.counterAfter);
            ResetTextArea(before);
        }
    }
}

TEST_F(ArgumentTest, ArgumentCountLeavesTheCounterAlone) {
    SetProcessCommandLine(TXT("prog a b c"));
    ProgramArgument(1);
    EXPECT_EQ(ArgumentCount(), 3);
    EXPECT_EQ(NextArgumentIndex(), 2);
}

// Results built one after another concatenate in place: a folder argument
// followed by a file name argument makes a path.
TEST_F(ArgumentTest, ConsecutiveResultsConcatenate) {
    SetProcessCommandLine(TXT("linenav.exe \"C:\\Prog Dir\\\" \"line\"no.txt"));
    const int32_t start = TextAreaEnd();
    EXPECT_EQ(ProgramArgument(0), start);
    NextArgument();
    NextArgument();
    EXPECT_EQ(Text(TextAt(start)), TXT("C:\\Prog Dir\\lineno.txt"));
    EXPECT_EQ(TextAreaEnd(), start + static_cast<int32_t>(22 * sizeof(TextUnit)));
}

// The command line is read afresh on every call, nothing is cached.
TEST_F(ArgumentTest, CommandLineIsReadAfreshEachCall) {
    SetProcessCommandLine(TXT("prog a b"));
    const int32_t before = TextAreaEnd();
    ExpectResult(ProgramArgument(0), before, TXT("a"));
    ResetTextArea(before);
    SetProcessCommandLine(TXT("prog x y z"));
    EXPECT_EQ(ArgumentCount(), 3);
    ExpectResult(NextArgument(), before, TXT("y"));
}

// A result long enough to make the temporary area grow (and possibly move),
// with many quotes given back.
TEST_F(ArgumentTest, LongArgumentGrowsTheArea) {
    Text token;
    Text expected;
    for (int i = 0; i < 1000; ++i) {
        token += TXT("ab\"c d\"e");
        expected += TXT("abc de");
    }
    const Text line = TXT("prog ") + token + TXT(" tail");
    SetProcessCommandLine(line.c_str());
    EXPECT_EQ(ArgumentCount(), 2);
    const int32_t before = TextAreaEnd();
    ExpectResult(ProgramArgument(0), before, expected);
    const int32_t middle = TextAreaEnd();
    ExpectResult(NextArgument(), middle, TXT("tail"));
}

#endif

} // namespace
