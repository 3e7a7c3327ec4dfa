// A trace of failed platform calls for debug builds: where (file and line),
// which call, and the thread's last-error code, written to the debugger and
// to standard error. Under Wine that is the terminal the program runs from.
// In release builds TRACE_FAILURE compiles to nothing, so the shipped program
// carries neither the strings nor the calls.
#pragma once

void TraceFailure(const char* file, int line, const char* call, unsigned long error);

#ifdef NDEBUG
#define TRACE_FAILURE(call) ((void)0)
#else
// Use right after the failed call, before anything can change the last error.
#define TRACE_FAILURE(call) TraceFailure(__FILE__, __LINE__, call, GetLastError())
#endif
