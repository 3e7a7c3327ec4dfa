#include "base/system/trace.h"

#include <windows.h>

#include <cstdio>

void TraceFailure(const char* file, int line, const char* call, unsigned long error) {
    char text[512];
    const int length = std::snprintf(text, sizeof text, "%s(%d): %s failed, error %lu\n", file, line, call, error);
    if (length <= 0) return;
    OutputDebugStringA(text);
    DWORD written = 0;
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    if (errors && errors != INVALID_HANDLE_VALUE)
        WriteFile(errors, text, static_cast<DWORD>(length < static_cast<int>(sizeof text) ? length : sizeof text - 1),
                  &written, nullptr);
    SetLastError(error); // the caller may still look at it
}

bool TraceIfFailed(bool ok, const char* file, int line, const char* call) {
    if (ok) return false;
    TraceFailure(file, line, call, GetLastError());
    return true;
}
