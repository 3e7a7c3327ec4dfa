// The module instance of the process, recorded by the program flow before any
// runtime component starts; windows and classes are created with it.
#pragma once

#include <windows.h>

extern HINSTANCE ProcessInstance;

// The exit code of a process whose runtime could not start.
constexpr UINT START_FAILED_EXIT_CODE = 1;

// Ends the process at once, quietly, with START_FAILED_EXIT_CODE: a runtime
// without what start-up failed to make would only look as if it worked.
[[noreturn]] void StopOnFailedStart();
