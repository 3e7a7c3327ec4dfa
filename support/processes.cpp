#include "processes.h"

#include <cstdio>
#include <vector>

std::optional<DWORD> ChildProcess::WaitForExit(DWORD timeoutMs) {
    if (!process) return std::nullopt;
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return code;
}

void ChildProcess::Kill() {
    if (!process) return;
    if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process.get(), 1);
        WaitForSingleObject(process.get(), 10000);
    }
}

bool StartProcess(const std::wstring& commandLine, ChildProcess& child, const std::function<void()>& beforeAttempt) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    // Under load, Wine now and then fails to bring up a new process before it
    // runs any of the program's code (about once in a few hundred starts here),
    // and CreateProcessW reports ERROR_INTERNAL_ERROR. That is the loader, not
    // the program under test: try again, a few times, and say so.
    for (int attempt = 1;; ++attempt) {
        std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
        buffer.push_back(0); // CreateProcessW may write into the command line
        if (beforeAttempt) beforeAttempt();
        if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
            break;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 3) return false;
        std::fprintf(stderr, "note: CreateProcessW failed with ERROR_INTERNAL_ERROR, starting again\n");
    }
    child.process.reset(info.hProcess);
    child.thread.reset(info.hThread);
    child.id = info.dwProcessId;
    child.threadId = info.dwThreadId;
    return true;
}

std::wstring ProgramBeside(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

namespace {
struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM value) {
    auto* search = reinterpret_cast<WindowSearch*>(value);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[256];
    if (owner == search->processId && GetClassNameW(window, className, 256) &&
        lstrcmpW(className, search->className) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindProcessWindow(DWORD processId, const wchar_t* className) {
    WindowSearch search = {processId, className, nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
