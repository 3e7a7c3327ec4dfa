#include "base/system/system_library.h"

#include "processes.h"
#include "support/test_hooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A DLL planted in the current folder, as beside a document the editor
// opened, is never loaded: only the system folder's DLL of that name is. A
// bare name with LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR is refused as Windows 7
// without KB2533623 refuses any search flag, so it reaches the full path.
TEST(SystemLibrary, LoadsFromTheSystemFolderOnly) {
    const uint32_t REFUSED = LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR;
    wchar_t previous[MAX_PATH], system[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(SetCurrentDirectoryW(ProgramBeside(L"planted").c_str()));
    HMODULE ordinary = LoadLibraryW(L"linenav-planted.dll");
    ASSERT_NE(ordinary, nullptr) << "an ordinary search finds the planted DLL";
    FreeLibrary(ordinary);
    ASSERT_EQ(LoadLibraryExW(L"dwmapi.dll", nullptr, REFUSED), nullptr);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

    EXPECT_FALSE(SystemLibrary(L"linenav-planted.dll")) << "through the owner";
    const struct {
        const wchar_t* library;
        uint32_t flags;
        std::wstring expected; // the loaded module's path, empty for none
    } cases[] = {
        {L"linenav-planted.dll", LOAD_LIBRARY_SEARCH_SYSTEM32, L""},
        {L"linenav-planted.dll", REFUSED, L""},
        {L"dwmapi.dll", LOAD_LIBRARY_SEARCH_SYSTEM32, std::wstring(system) + L"\\dwmapi.dll"},
        {L"dwmapi.dll", REFUSED, std::wstring(system) + L"\\dwmapi.dll"},
    };
    for (const auto& c : cases) {
        wchar_t path[MAX_PATH] = {};
        HMODULE module = static_cast<HMODULE>(LoadSystemLibraryWith(c.library, c.flags));
        if (module) GetModuleFileNameW(module, path, MAX_PATH);
        EXPECT_EQ(CompareStringOrdinal(path, -1, c.expected.c_str(), -1, TRUE), CSTR_EQUAL)
            << "flags " << std::hex << c.flags << ": expected \"" << std::string(c.expected.begin(), c.expected.end())
            << "\", loaded \"" << std::string(path, path + wcslen(path)) << "\"";
        if (module) FreeLibrary(module);
    }
    SetCurrentDirectoryW(previous);
}

} // namespace
