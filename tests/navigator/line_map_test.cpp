// The data folder choice and the line map under Wine, with the tool's globals
// set directly.
#include "navigator/line_map.h"

#include "base/files/files.h"
#include "base/runtime/registry.h"
#include "base/system/home_folder.h"
#include "navigator/globals.h"
#include "support/runtime_fixture.h"
#include "support/temp_folder.h"
#include "support/test_hooks.h"
#include "wait.h"

#include <atomic>
#include <string>

namespace {

std::wstring Home() {
    TextMark home;
    HomeFolder();
    return home.text();
}

// A map held without sharing by another thread, let go as soon as this
// thread's open of it has failed with a sharing violation: the map is then
// known to be tried again, and let go well within the time it is. The watch
// holds the map before this thread goes on, and reads this thread's last
// error in its thread block.
class HeldUntilTried {
public:
    explicit HeldUntilTried(const std::wstring& path)
        : path_(path),
          lastError_(reinterpret_cast<volatile DWORD*>(reinterpret_cast<BYTE*>(NtCurrentTeb()) + TEB_LAST_ERROR)),
          holding_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          watch_(CreateThread(nullptr, 0, Watch, this, 0, nullptr)) {
        if (watch_) WaitForSingleObject(holding_.get(), DEFAULT_WAIT_MS);
        SetLastError(ERROR_SUCCESS);
    }
    ~HeldUntilTried() { LetGoAfterAFailedTry(); }
    // Ends the watch; true when the map was let go after a failed try.
    bool LetGoAfterAFailedTry() {
        done_ = true;
        if (watch_) WaitForSingleObject(watch_.get(), DEFAULT_WAIT_MS);
        return tried_;
    }

private:
    static constexpr size_t TEB_LAST_ERROR = 0x68; // LastErrorValue in the 64-bit thread block
    static constexpr DWORD WATCH_POLL_MS = 1;      // the let-go must fall within the map's tries
    static DWORD WINAPI Watch(void* self) {
        auto* held = static_cast<HeldUntilTried*>(self);
        FileHandle file(CreateFileW(held->path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        SetEvent(held->holding_.get());
        bool failed = false;
        WaitWithin(DEFAULT_WAIT_MS, WATCH_POLL_MS, [&] {
            failed = *held->lastError_ == ERROR_SHARING_VIOLATION;
            return failed || held->done_;
        });
        held->tried_ = failed && file.valid();
        return 0;
    }
    const std::wstring path_;
    volatile DWORD* lastError_;
    std::atomic<bool> done_{false}, tried_{false};
    KernelHandle holding_, watch_;
};

class LineMap : public RuntimeTest {
protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        StartFiles();
        Navigator = {};
    }
    void TearDown() override {
        EXPECT_EQ(LookupObject(FileRegistry, LINE_MAP_FILE_NUMBER), nullptr) << "file 1 is closed";
        EndFiles();
        RuntimeTest::TearDown();
    }

    std::wstring ChooseFor(const std::wstring& programFolder) {
        AssignText(Navigator.ProgramFolder, programFolder.c_str());
        ChooseDataFolder();
        return Navigator.DataFolder ? Navigator.DataFolder : L"";
    }

    int64_t Translate(const std::wstring& dataFolder, int64_t typed) {
        AssignText(Navigator.DataFolder, dataFolder.c_str());
        Navigator.LineNumber = typed;
        Navigator.MapValue = 0;
        TranslateLineNumber();
        return Navigator.LineNumber;
    }

    TempFolder folder;
};

TEST_F(LineMap, PerUserFolderWithoutMarkerEvenBesideADataFolder) {
    folder.MakeFolder(L"DATA");
    const std::wstring home = Home();
    ASSERT_FALSE(home.empty());
    ASSERT_EQ(home.back(), L'\\');
    EXPECT_EQ(ChooseFor(folder.path()), home + L"AppData\\Local\\Quillo5\\");
}

TEST_F(LineMap, MarkerAsEmptyFileOrFolderMeansPortable) {
    {
        TempFolder program;
        program.Write(L"portable.inf", {});
        EXPECT_EQ(ChooseFor(program.path()), program.path() + L"DATA\\");
    }
    {
        TempFolder program;
        program.MakeFolder(L"portable.inf");
        EXPECT_EQ(ChooseFor(program.path()), program.path() + L"DATA\\");
    }
}

TEST_F(LineMap, ProgramFolderWithoutBackslashRunsTheNamesTogether) {
    folder.Write(L"toolportable.inf", {1});
    const std::wstring program = folder.path() + L"tool";
    EXPECT_EQ(ChooseFor(program), program + L"DATA\\");
    folder.MakeFolder(L"other");
    folder.Write(L"other\\portable.inf", {});
    const std::wstring unslashed = folder.path() + L"other"; // other\portable.inf exists, otherportable.inf does not
    EXPECT_EQ(ChooseFor(unslashed), Home() + L"AppData\\Local\\Quillo5\\");
}

TEST_F(LineMap, NoProgramFolderLooksInTheCurrentFolder) {
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
    EXPECT_EQ(ChooseFor(L""), Home() + L"AppData\\Local\\Quillo5\\");
    folder.Write(L"portable.inf", {});
    EXPECT_EQ(ChooseFor(L""), L"DATA\\");
    SetCurrentDirectoryW(previous);
}

TEST_F(LineMap, WithoutAProfileFolderOnlyThePortableMapCounts) {
    // A map planted where the relative per-user path leads from the current folder.
    folder.MakeFolder(L"AppData");
    folder.MakeFolder(L"AppData\\Local");
    folder.MakeFolder(L"AppData\\Local\\Quillo5");
    folder.Write(L"AppData\\Local\\Quillo5\\lineno.txt", Int32Records({99}));
    folder.Write(L"lineno.txt", Int32Records({98})); // where an empty data folder would lead
    const std::wstring program = folder.MakeFolder(L"program") + L"\\";
    struct Seam { // the profile folder's lookup fails, in the map's folder
        wchar_t previous[MAX_PATH];
        explicit Seam(const std::wstring& current) {
            GetCurrentDirectoryW(MAX_PATH, previous);
            SetCurrentDirectoryW(current.c_str());
            UseShellLibrary(L"linenav-absent-shell.dll");
        }
        ~Seam() {
            UseShellLibrary(L"shell32.dll");
            SetCurrentDirectoryW(previous);
        }
    } seam(folder.path());
    const std::wstring data = ChooseFor(program);
    EXPECT_EQ(data, L"");
    EXPECT_EQ(Translate(data, 1), 1) << "no per-user map is looked for";
    folder.Write(L"program\\portable.inf", {});
    folder.MakeFolder(L"program\\DATA");
    folder.Write(L"program\\DATA\\lineno.txt", Int32Records({7}));
    EXPECT_EQ(Translate(ChooseFor(program), 1), 7) << "the portable map is unaffected";
}

TEST_F(LineMap, TranslatesThroughTheRecords) {
    const std::wstring twelve = folder.MakeFolder(L"twelve") + L"\\";
    folder.Write(L"twelve\\lineno.txt", Int32Records({10, 0, -5}));
    const std::wstring ten = folder.MakeFolder(L"ten") + L"\\";
    auto tenBytes = Int32Records({100, 200});
    tenBytes.push_back(0x07);
    tenBytes.push_back(0x01);
    folder.Write(L"ten\\lineno.txt", tenBytes);
    const std::wstring empty = folder.MakeFolder(L"empty") + L"\\";
    folder.Write(L"empty\\lineno.txt", {});
    const std::wstring none = folder.MakeFolder(L"none") + L"\\";
    const std::wstring folderMap = folder.MakeFolder(L"foldermap") + L"\\";
    folder.MakeFolder(L"foldermap\\lineno.txt");

    struct Case {
        std::wstring data;
        int64_t typed, line;
        const char* why;
    };
    const Case cases[] = {
        {twelve, 1, 10, "record 1"},
        {twelve, 2, 2, "a zero record keeps the typed number"},
        {twelve, 3, -5, "negative records replace the number unchanged"},
        {twelve, 4, 4, "past the end"},
        {twelve, 0, 0, "typed 0 reads nothing"},
        {twelve, -3, -3, "negative typed numbers read nothing"},
        {ten, 3, 0x0107, "partial last record"},
        {ten, 4, 4, "after the partial record"},
        {ten, 2, 200, "whole record before the partial one"},
        {empty, 5, 5, "empty map"},
        {none, 7, 7, "no map"},
        {folderMap, 8, 8, "a folder named like the map"},
    };
    for (const Case& c : cases) EXPECT_EQ(Translate(c.data, c.typed), c.line) << c.why;
}

TEST_F(LineMap, MapHeldByAnotherProcess) {
    const auto map = folder.Write(L"lineno.txt", Int32Records({42, 43}));
    struct Case {
        FileHolder::Kind holder;
        int64_t line;
        const char* why;
    };
    const Case cases[] = {
        {FileHolder::Kind::Reader, 42, "a reader that shares the map, as a virus scanner does, keeps nothing from it"},
        {FileHolder::Kind::Exclusive, 1, "held without sharing: the typed number stands"},
        {FileHolder::Kind::Writer, 1, "being written: the typed number stands, never a half-written map"},
    };
    for (const Case& c : cases) {
        FileHolder holder;
        ASSERT_TRUE(holder.Hold(map, c.holder));
        EXPECT_EQ(Translate(folder.path(), 1), c.line) << c.why;
    }
    // A program that shuts everyone out for a moment, and lets go while the
    // map is tried again, keeps nothing from it.
    HeldUntilTried brief(map);
    EXPECT_EQ(Translate(folder.path(), 2), 43) << "held without sharing until the first try failed";
    EXPECT_TRUE(brief.LetGoAfterAFailedTry()) << "the map was never tried while held: this shows nothing";
}

TEST_F(LineMap, ALargeRecordNumberReadsThroughTheWholeMap) {
    std::vector<uint8_t> bytes = Int32Records({});
    for (int32_t record = 1; record <= 5000; ++record) {
        auto one = Int32Records({record * 3});
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    folder.Write(L"lineno.txt", bytes);
    EXPECT_EQ(Translate(folder.path(), 4321), 4321 * 3);
    EXPECT_EQ(Translate(folder.path(), 5001), 5001);
}

} // namespace
