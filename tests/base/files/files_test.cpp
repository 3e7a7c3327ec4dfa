// Numbered files against the real platform (under Wine).
#include "base/files/files.h"

#include "base/files/file_buffer.h"

#include "base/platform/handles.h"
#include "base/runtime/registry.h"
#include "support/runtime_fixture.h"
#include "support/temp_folder.h"
#include "support/test_hooks.h"

namespace {

class Files : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        StartFiles();
    }
    void TearDown() override {
        EndFiles();
        RuntimeTest::TearDown();
    }
    TempFolder folder;
};

// True when nobody holds the file open: an exclusive open succeeds.
bool NobodyHolds(const std::wstring& path) {
    return FileHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)).valid();
}

std::vector<uint8_t> TenBytes() {
    auto bytes = Int32Records({10, -5});
    bytes.push_back(0x07);
    bytes.push_back(0x01);
    return bytes;
}

TEST_F(Files, TenByteFileReadFourTimes) {
    const auto path = folder.Write(L"ten.bin", TenBytes());
    ASSERT_NE(OpenForReading(1, path.c_str()), 0u);
    EXPECT_EQ(ReadInt32(1), 10);
    EXPECT_EQ(ReadInt32(1), -5);
    EXPECT_EQ(ReadInt32(1), 0x0107);
    EXPECT_EQ(ReadInt32(1), 0);
    CloseAppFile(1);
    EXPECT_TRUE(NobodyHolds(path));
}

TEST_F(Files, OpenReturnsTheHandleAndSharesWithReadersOnly) {
    const auto path = folder.Write(L"a.bin", Int32Records({1}));
    const uintptr_t handle = OpenForReading(2, path.c_str());
    ASSERT_NE(handle, 0u);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(static_cast<FileEntry*>(LookupObject(FileRegistry, 2))->handle), handle);
    EXPECT_FALSE(NobodyHolds(path));
    EXPECT_NE(OpenForReading(3, path.c_str()), 0u) << "another reader may hold it too";
    EXPECT_FALSE(FileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr))
                     .valid())
        << "a writer is shut out";
    CloseAppFile(3);
}

TEST_F(Files, ReopeningANumberClosesTheOldFileEvenWhenTheNewOpenFails) {
    const auto path = folder.Write(L"first.bin", Int32Records({1, 2}));
    ASSERT_NE(OpenForReading(1, path.c_str()), 0u);
    EXPECT_EQ(OpenForReading(1, (folder.path() + L"missing.bin").c_str()), 0u);
    EXPECT_TRUE(NobodyHolds(path));
    EXPECT_EQ(ReadInt32(1), 0);
    EXPECT_EQ(LookupObject(FileRegistry, 1), nullptr);
}

TEST_F(Files, ReadsOfNumbersThatNameNoFileGiveZero) {
    const auto path = folder.Write(L"b.bin", Int32Records({99}));
    EXPECT_EQ(ReadInt32(4), 0) << "never opened";
    ASSERT_NE(OpenForReading(4, path.c_str()), 0u);
    CloseAppFile(4);
    EXPECT_EQ(ReadInt32(4), 0) << "after closing";
    CloseAppFile(4);     // nothing happens
    CloseAppFile(12345); // nothing happens
}

TEST_F(Files, OpensThatFailLeaveTheNumberFree) {
    FileHolder holder;
    const auto locked = folder.Write(L"locked.bin", Int32Records({5}));
    ASSERT_TRUE(holder.Hold(locked));
    const std::wstring failing[] = {folder.path() + L"missing.bin", folder.MakeFolder(L"sub"), locked, L""};
    for (const auto& path : failing) {
        EXPECT_EQ(OpenForReading(6, path.c_str()), 0u) << std::string(path.begin(), path.end());
        EXPECT_EQ(LookupObject(FileRegistry, 6), nullptr);
    }
    EXPECT_EQ(OpenForReading(6, nullptr), 0u);
    EXPECT_EQ(FileLength(locked.c_str()), 4) << "a locked file can still be measured";
}

TEST_F(Files, GeneratedNumbers) {
    const auto path = folder.Write(L"g.bin", Int32Records({77, 78}));
    const uintptr_t number = OpenForReading(NEW_OBJECT, path.c_str());
    ASSERT_NE(number, 0u);
    EXPECT_EQ(ReadInt32(static_cast<int64_t>(number)), 77);
    EXPECT_EQ(ReadInt32(static_cast<int64_t>(number)), 78);
    CloseAppFile(static_cast<int64_t>(number));
    EXPECT_TRUE(NobodyHolds(path));
    EXPECT_EQ(ReadInt32(static_cast<int64_t>(number)), 0);
    EXPECT_EQ(OpenForReading(NEW_OBJECT, (folder.path() + L"missing").c_str()), 0u);
    EXPECT_EQ(FileRegistry->generated, nullptr) << "a failed open frees its generated object";
}

TEST_F(Files, CloseAllClosesEveryOpenFile) {
    const auto a = folder.Write(L"a.bin", {1, 2, 3, 4});
    const auto b = folder.Write(L"b.bin", {5, 6, 7, 8});
    const auto c = folder.Write(L"c.bin", {9});
    ASSERT_NE(OpenForReading(0, a.c_str()), 0u);
    ASSERT_NE(OpenForReading(9, b.c_str()), 0u);
    ASSERT_NE(OpenForReading(NEW_OBJECT, c.c_str()), 0u);
    CloseAppFile(ALL_OBJECTS);
    EXPECT_TRUE(NobodyHolds(a));
    EXPECT_TRUE(NobodyHolds(b));
    EXPECT_TRUE(NobodyHolds(c));
}

TEST_F(Files, FileLengthOfFilesAndFolders) {
    folder.Write(L"empty.bin", {});
    folder.Write(L"five.bin", {1, 2, 3, 4, 5});
    folder.MakeFolder(L"sub");
    const std::wstring root = folder.path();
    struct Case {
        std::wstring path;
        int64_t length;
    };
    const Case cases[] = {
        {root + L"empty.bin", 0},
        {root + L"five.bin", 5},
        {root + L"sub", FILE_IS_FOLDER},
        {root + L"sub\\", FILE_IS_FOLDER},
        {root + L"sub\\\\/", FILE_IS_FOLDER},
        {root + L"sub/", FILE_IS_FOLDER},
        {root, FILE_IS_FOLDER},
        {root + L"missing", FILE_NOT_FOUND},
        {root + L"missing\\", FILE_NOT_FOUND},
        {root + L"fiv?.bin", 5},
        {root + L"f*", 5},
        {root + L"*.none", FILE_NOT_FOUND},
        {L"", FILE_NOT_FOUND},
        {L"\\", FILE_NOT_FOUND},
        {L"C:", FILE_IS_FOLDER},
        {L"C:\\", FILE_IS_FOLDER},
        {L"C:/", FILE_IS_FOLDER},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FileLength(c.path.c_str()), c.length) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(FileLength(nullptr), FILE_NOT_FOUND);
}

TEST_F(Files, FileLengthOfADriveLetterWithNoDrive) {
    wchar_t free = 0;
    for (wchar_t letter = L'Q'; letter <= L'Y' && !free; ++letter) {
        const wchar_t root[] = {letter, L':', L'\\', 0};
        if (GetDriveTypeW(root) <= DRIVE_NO_ROOT_DIR) free = letter;
    }
    ASSERT_NE(free, 0) << "every drive letter from Q to Y is taken";
    const wchar_t two[] = {free, L':', 0};
    const wchar_t three[] = {free, L':', L'\\', 0};
    EXPECT_EQ(FileLength(two), FILE_NOT_FOUND);
    EXPECT_EQ(FileLength(three), FILE_NOT_FOUND);
}

TEST_F(Files, FileLengthLooksALongPathUpWhole) {
    // A file whose full path is exactly 260 units long, then a path that
    // continues past it. Cut to 260 units, the longer path would name the file.
    const size_t nameLength = 260 - folder.path().size();
    const std::wstring name(nameLength, L'n');
    const auto file = folder.Write(name, {1, 2, 3});
    ASSERT_EQ(file.size(), 260u);
    ASSERT_EQ(FileLength((L"\\\\?\\" + file).c_str()), 3) << "the file exists";
    EXPECT_EQ(FileLength((file + L"\\x").c_str()), FILE_NOT_FOUND);
    EXPECT_EQ(FileLength((file + L"x").c_str()), FILE_NOT_FOUND);
}

TEST_F(Files, FileLengthKeepsATextBuiltInTheTemporaryArea) {
    folder.Write(L"five.bin", {1, 2, 3, 4, 5});
    TextMark path;
    AppendText(folder.path().c_str());
    AppendText(L"five.bin");
    const int32_t end = TextAreaEnd();
    EXPECT_EQ(FileLength(path.text()), 5);
    EXPECT_EQ(TextAreaEnd(), end);
    EXPECT_EQ(std::wstring(path.text()), folder.path() + L"five.bin");
}

} // namespace
