// The line a failed call's trace writes: where, which call, and the error
// code. No Win32 call here, so the exact text is checked natively.
#pragma once

#include <cstddef>

constexpr size_t TRACE_TEXT_SIZE = 512; // with the terminator; a longer line is cut

// Writes "<file>(<line>): <call> failed, error <error>" and a line feed into
// `out`, and returns the bytes to write (without the terminator): the whole
// line, or as much of it as fits.
int FormatTraceText(char (&out)[TRACE_TEXT_SIZE], const char* file, int line, const char* call, unsigned long error);
