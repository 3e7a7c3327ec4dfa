// One way to reach a function of a system DLL: the DLL comes from the system
// folder only, and the function's pointer takes its type from the SDK's own
// declaration, so a call through it is checked as a direct call would be.
#pragma once

#include "base/system/handles.h"

#include <type_traits>

#include <windows.h>

// The export `name` of `module` as a pointer of type `Function`, or null when
// the module is null or lacks it. Use SYSTEM_FUNCTION, which takes the type
// and the name from one declaration.
template <class Function> Function FindSystemFunction(HMODULE module, const char* name) {
    static_assert(std::is_function_v<std::remove_pointer_t<Function>>, "a pointer to a declared function");
    if (!module) return nullptr;
    // GetProcAddress hands out every export as FARPROC; the declaration the
    // type came from knows the real one.
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The function that the SDK declares as `function`, looked up by that same
// name in `module`: its type and its name cannot disagree. Naming it in
// decltype takes no import.
#define SYSTEM_FUNCTION(module, function) FindSystemFunction<decltype(&(function))>((module), #function)

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
