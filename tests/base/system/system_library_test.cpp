#include "base/system/system_library.h"

#include "processes.h"
#include "support/test_hooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The planted DLL's copy beside the test program, under a name of its own,
// for as long as it lives.
class PlantedBesideTheProgram {
public:
    PlantedBesideTheProgram() : path_(ProgramBeside(L"linenav-planted-beside.dll")) {
        planted_ = CopyFileW(ProgramBeside(L"planted\\linenav-planted.dll").c_str(), path_.c_str(), FALSE);
    }
    ~PlantedBesideTheProgram() {
        if (planted_) DeleteFileW(path_.c_str());
    }
    PlantedBesideTheProgram(const PlantedBesideTheProgram&) = delete;
    PlantedBesideTheProgram& operator=(const PlantedBesideTheProgram&) = delete;
    explicit operator bool() const { return planted_; }

private:
    std::wstring path_;
    bool planted_;
};

// A DLL planted in the current folder, as beside a document the editor
// opened, or beside the program, is never loaded: only the system folder's
// DLL of that name is. A bare name with LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR is
// refused as Windows 7 without KB2533623 refuses any search flag, so it
// reaches the full path.
TEST(SystemLibrary, LoadsFromTheSystemFolderOnly) {
    const uint32_t REFUSED = LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR;
    wchar_t previous[MAX_PATH], system[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    GetSystemDirectoryW(system, MAX_PATH);
    const PlantedBesideTheProgram beside;
    ASSERT_TRUE(beside);
    ASSERT_TRUE(SetCurrentDirectoryW(ProgramBeside(L"planted").c_str()));
    for (const wchar_t* planted : {L"linenav-planted.dll", L"linenav-planted-beside.dll"}) {
        ASSERT_TRUE(LibraryHandle(LoadLibraryW(planted))) << "an ordinary search finds the planted DLL";
        EXPECT_FALSE(SystemLibrary(planted)) << "through the owner, once the DLL is freed again";
    }
    ASSERT_EQ(LoadLibraryExW(L"dwmapi.dll", nullptr, REFUSED), nullptr);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    const struct {
        const wchar_t* library;
        uint32_t flags;
        std::wstring expected; // the loaded module's path, empty for none
    } cases[] = {
        {L"linenav-planted.dll", LOAD_LIBRARY_SEARCH_SYSTEM32, L""},
        {L"linenav-planted.dll", REFUSED, L""},
        {L"linenav-planted-beside.dll", LOAD_LIBRARY_SEARCH_SYSTEM32, L""},
        {L"linenav-planted-beside.dll", REFUSED, L""},
        {L"dwmapi.dll", LOAD_LIBRARY_SEARCH_SYSTEM32, std::wstring(system) + L"\\dwmapi.dll"},
        {L"dwmapi.dll", REFUSED, std::wstring(system) + L"\\dwmapi.dll"},
    };
    for (const auto& c : cases) {
        wchar_t path[MAX_PATH] = {};
        const LibraryHandle module(static_cast<HMODULE>(LoadSystemLibraryWith(c.library, c.flags)));
        if (module) GetModuleFileNameW(module.get(), path, MAX_PATH);
        EXPECT_EQ(CompareStringOrdinal(path, -1, c.expected.c_str(), -1, TRUE), CSTR_EQUAL)
            << "flags " << std::hex << c.flags << ": expected \"" << std::string(c.expected.begin(), c.expected.end())
            << "\", loaded \"" << std::string(path, path + wcslen(path)) << "\"";
    }
    SetCurrentDirectoryW(previous);
}

} // namespace
