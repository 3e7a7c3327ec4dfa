#include "base/system/system_library.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

// Loads `name` with `searchFlags` first. Not static: the tests reach the
// full-path fallback through it with flags that every loader refuses.
void* LoadSystemLibraryWith(const wchar_t* name, uint32_t searchFlags) {
    if (HMODULE library = LoadLibraryExW(name, nullptr, searchFlags)) return library;
    // Vista, and Windows 7 without update KB2533623, know no search flags and
    // refuse them with ERROR_INVALID_PARAMETER. There the DLL is named by its
    // full path in the system folder; LOAD_WITH_ALTERED_SEARCH_PATH has the
    // DLLs it imports looked for in that folder before the program's own.
    if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    wchar_t path[MAX_PATH];
    const UINT folder = GetSystemDirectoryW(path, MAX_PATH);
    const size_t units = wcslen(name) + 1; // with its terminator
    if (folder == 0 || folder + 1 + units > MAX_PATH) return nullptr;
    path[folder] = L'\\';
    memcpy(path + folder + 1, name, units * sizeof(wchar_t));
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

SystemLibrary::SystemLibrary(const wchar_t* name)
    : library_(static_cast<HMODULE>(LoadSystemLibraryWith(name, LOAD_LIBRARY_SEARCH_SYSTEM32))) {}

void LoadDllsFromSystemFolderOnly() {
    SystemLibrary kernel(L"kernel32.dll");
    const auto setDefault = SYSTEM_FUNCTION(kernel.get(), SetDefaultDllDirectories);
    if (setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
    // Windows 7 without KB2533623 only. Never reached under Wine, where the
    // tests run: its kernel32 always exports SetDefaultDllDirectories, and
    // its loader refuses only no flags or flags outside the search ones, so
    // LOAD_LIBRARY_SEARCH_SYSTEM32 always succeeds. (Wine would ignore the
    // empty folder here anyway.)
    SetDllDirectoryW(L"");
}
