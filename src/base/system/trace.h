// A trace of failed platform calls for debug builds: where (file and line),
// which call, and the thread's last-error code, written to the debugger and
// to standard error. Under Wine that is the terminal the program runs from.
// In release builds the trace compiles to nothing, so the shipped program
// carries neither the strings nor the calls.
#pragma once

void TraceFailure(const char* file, int line, const char* call, unsigned long error);
// False when `ok`; otherwise traces the failure of `call` with the thread's
// last error, read before anything can change it, and returns true.
bool TraceIfFailed(bool ok, const char* file, int line, const char* call);
inline bool FailedQuietly(bool ok) { return !ok; }

// CALL_FAILED(ok, "Call"): the check and its trace in one expression. True
// when `ok` is false (or null), after tracing the failure of "Call" in debug
// builds; `ok` is evaluated once:
//     if (CALL_FAILED(window = CreateWindowExW(...), "CreateWindowExW")) ...
#ifdef NDEBUG
#define CALL_FAILED(ok, call) FailedQuietly(static_cast<bool>(ok))
#else
#define CALL_FAILED(ok, call) TraceIfFailed(static_cast<bool>(ok), __FILE__, __LINE__, call)
#endif
