// One way to reach a function of a system DLL by name: the function's pointer
// takes its type from the SDK's own declaration, so a call through it is
// checked as a direct call would be. Which DLL, and from where it is loaded,
// is the caller's (system_library.h loads one from the system folder only).
#pragma once

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
