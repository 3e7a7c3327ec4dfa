#include "base/system/system_library.h"

SystemLibrary::SystemLibrary(const wchar_t* name)
    : library_(LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
