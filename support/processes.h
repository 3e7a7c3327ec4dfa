// Starting the programs under test or measured exactly as the editor would:
// one command line, verbatim, through CreateProcessW.
#pragma once

#include "base/platform/handles.h"

#include <functional>
#include <optional>
#include <string>

struct ChildProcess {
    KernelHandle process;
    KernelHandle thread;
    DWORD id = 0;
    DWORD threadId = 0;

    // Exit code once the process has ended within `timeoutMs`, else nothing.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs);
    void Kill();
};

// Starts `commandLine` as given; false when CreateProcessW refuses.
// `beforeAttempt` runs just before each attempt (a bench starts its clock
// there: a failed attempt does not count).
bool StartProcess(const std::wstring& commandLine, ChildProcess& child,
                  const std::function<void()>& beforeAttempt = {});

// Full path of a program that lies in the test program's own folder.
std::wstring ProgramBeside(const wchar_t* name);

// The top-level window of process `processId` with class `className`, or null.
HWND FindProcessWindow(DWORD processId, const wchar_t* className);
