#include "base/system/trace.h"

#include "base/system/trace_text.h"

#include <windows.h>

void TraceFailure(const char* file, int line, const char* call, unsigned long error) {
    char text[TRACE_TEXT_SIZE];
    const int length = FormatTraceText(text, file, line, call, error);
    if (length == 0) return;
    OutputDebugStringA(text);
    DWORD written = 0;
    HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
    if (errors && errors != INVALID_HANDLE_VALUE)
        WriteFile(errors, text, static_cast<DWORD>(length), &written, nullptr);
    SetLastError(error); // the caller may still look at it
}

bool TraceIfFailed(bool ok, const char* file, int line, const char* call) {
    if (ok) return false;
    TraceFailure(file, line, call, GetLastError());
    return true;
}
