#include "base/system/trace_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(TraceText, FailedCallNamesPlaceCallAndError) {
    struct Case {
        const char* call;
        std::string expected;
    };
    const std::string longCall(600, 'C');
    const Case cases[] = {
        {"CreateWindowExW", "src/ui/windows/app_windows.cpp(331): CreateWindowExW failed, error 1400\n"},
        // Cut to the buffer, the terminator kept.
        {longCall.c_str(), ("src/ui/windows/app_windows.cpp(331): " + longCall).substr(0, TRACE_TEXT_SIZE - 1)},
    };
    for (const Case& c : cases) {
        char text[TRACE_TEXT_SIZE];
        const int length = FormatTraceText(text, "src/ui/windows/app_windows.cpp", 331, c.call, 1400);
        EXPECT_EQ(std::string(text, static_cast<size_t>(length)), c.expected);
        EXPECT_EQ(std::string(text), c.expected);
    }
}
