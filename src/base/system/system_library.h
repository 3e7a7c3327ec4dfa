// One way to reach a function of a system DLL: the DLL comes from the system
// folder only, and the function's pointer takes its type from the SDK's own
// declaration (system_function.h), so a call through it is checked as a
// direct call would be.
#pragma once

#include "base/platform/handles.h"
#include "base/platform/system_function.h"

#include <windows.h>

// A DLL of the system folder, given by its bare file name, freed with its
// owner; empty when the system folder cannot give it. Loaded with the
// system-folder search, or by its full path where the loader knows no such
// search, never by the ordinary search: a DLL of that name planted beside the
// program or in the current folder is never the one loaded.
class SystemLibrary {
public:
    SystemLibrary() = default;
    explicit SystemLibrary(const wchar_t* name);

    HMODULE get() const { return library_.get(); }
    explicit operator bool() const { return library_.valid(); }

private:
    LibraryHandle library_;
};

// From here on, for the whole process, DLLs that are loaded by name alone (as
// the system DLLs load further ones: themes, input methods, shell extensions)
// come from the system folder only, never from the program's folder or the
// current folder, which is often the folder of a document the person opened.
// Where the loader knows no default directories (Windows 7 without update
// KB2533623), at least the current folder leaves the search.
void LoadDllsFromSystemFolderOnly();
