#include "base/system/trace_text.h"

#include <cstdio>

int FormatTraceText(char (&out)[TRACE_TEXT_SIZE], const char* file, int line, const char* call, unsigned long error) {
    const int length = std::snprintf(out, sizeof out, "%s(%d): %s failed, error %lu\n", file, line, call, error);
    if (length <= 0) return 0;
    return length < static_cast<int>(sizeof out) ? length : static_cast<int>(sizeof out) - 1;
}
