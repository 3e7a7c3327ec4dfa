#include "base/system/home_folder.h"

#include "support/runtime_fixture.h"
#include "support/test_hooks.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace {

using HomeFolderTest = RuntimeTest;

std::wstring WithBackslash(std::wstring path) {
    if (!path.empty() && path.back() != L'\\') path += L'\\';
    return path;
}

// What the shell itself says the profile folder is.
std::wstring ShellProfileFolder() {
    wchar_t path[MAX_PATH] = {};
    if (SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) {
        return std::wstring();
    }
    return path;
}

TEST_F(HomeFolderTest, IsTheShellsProfileFolderWithOneTrailingBackslash) {
    const std::wstring shell = ShellProfileFolder();
    ASSERT_FALSE(shell.empty());

    const int32_t before = TextAreaEnd();
    const int32_t at = HomeFolder();
    ASSERT_EQ(at, before);
    const std::wstring home = TextAt(at);

    EXPECT_EQ(home, WithBackslash(shell));
    ASSERT_GE(home.size(), 2u);
    EXPECT_EQ(home.back(), L'\\');
    EXPECT_NE(home[home.size() - 2], L'\\');
    // The 260 reserved units went back down to the path's own length.
    EXPECT_EQ(TextLength(TextAt(at)), static_cast<int32_t>(home.size()));
    EXPECT_EQ(TextAreaEnd(), at + static_cast<int32_t>(home.size() * sizeof(TextUnit)));

    const DWORD attributes = GetFileAttributesW(home.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The data folder is built by plain concatenation after whatever is already
// in the area: the result must land right there and be followed in place.
TEST_F(HomeFolderTest, ConcatenatesWithTheTextsAroundIt) {
    const std::wstring expected = WithBackslash(ShellProfileFolder()) + L"AppData\\Local\\Quillo5\\";
    ASSERT_FALSE(ShellProfileFolder().empty());

    const int32_t start = TextAreaEnd();
    HomeFolder();
    AppendText(L"AppData\\Local\\Quillo5\\");
    EXPECT_EQ(std::wstring(TextAt(start)), expected);
    EXPECT_EQ(TextAreaEnd(), start + static_cast<int32_t>(expected.size() * sizeof(TextUnit)));

    // Again behind an existing text, and a second call gives the same text.
    ResetTextArea(start);
    AppendText(L"x");
    const int32_t second = HomeFolder();
    EXPECT_EQ(second, start + static_cast<int32_t>(sizeof(TextUnit)));
    EXPECT_EQ(std::wstring(TextAt(start)), L"x" + WithBackslash(ShellProfileFolder()));
}

// The profile path's ending, for paths the platform would not hand us here.
TEST(HomeFolderEnding, OneBackslashExactlyWhenMissing) {
    struct Case {
        std::wstring path;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"C:\\Users\\me", L"C:\\Users\\me\\"},
        {L"C:\\Users\\me\\", L"C:\\Users\\me\\"}, // already there: none added
        {L"C:\\", L"C:\\"},
        {L"\\\\server\\share\\", L"\\\\server\\share\\"},
        {L"C:\\Users\\me/", L"C:\\Users\\me/\\"}, // a slash is not a backslash
        {L"x", L"x\\"},
        {L"", L""}, // an empty path stays empty
        {std::wstring(MAX_PATH - 1, L'a'), std::wstring(MAX_PATH - 1, L'a') + L"\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path.begin(), c.path.end()));
        wchar_t buffer[MAX_PATH + 1];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        std::copy(c.path.begin(), c.path.end(), buffer);
        buffer[c.path.size()] = 0;
        const int32_t length = EndFolderPath(buffer, MAX_PATH);
        EXPECT_EQ(length, static_cast<int32_t>(c.expected.size()));
        EXPECT_EQ(std::wstring(buffer), c.expected);
    }
}

// A buffer the shell left without a terminator is read no further than the
// room it was given, and the result still fits with its backslash.
TEST(HomeFolderEnding, UnterminatedBufferStaysInsideItsRoom) {
    wchar_t buffer[MAX_PATH + 2];
    std::fill(std::begin(buffer), std::end(buffer), L'a');
    EXPECT_EQ(EndFolderPath(buffer, MAX_PATH), MAX_PATH);
    EXPECT_EQ(buffer[MAX_PATH - 1], L'\\');
    EXPECT_EQ(buffer[MAX_PATH], 0);
    EXPECT_EQ(buffer[MAX_PATH + 1], L'a');
}

} // namespace
