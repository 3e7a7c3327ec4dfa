// The tool's whole global state. The program flow clears it before anything
// else runs; every field starts at zero, null or empty.
#pragma once

#include "base/text/text.h"

#include <cstdint>
#include <windows.h>

struct NavigatorGlobals {
    HWND EditorHandle;     // the editor window found by the lookup, or null
    int64_t LineNumber;    // typed number, then the line to go to
    int64_t LoopCounter;   // shared by the line-map loop and the Down-key loop
    TextVar ProgramFolder; // first command-line argument, used verbatim as a prefix
    TextVar DataFolder;    // always ends in a backslash
    int64_t MapValue;      // last line-map record read
    TextVar TitlePrefix;
    int64_t ExitCode; // 0, or PROMPT_FAILED_EXIT_CODE
};

// The exit code of a run whose prompt could not be opened, the same as that of
// a runtime that cannot start.
constexpr int64_t PROMPT_FAILED_EXIT_CODE = 1;

extern NavigatorGlobals Navigator;

constexpr const TextUnit* EDITOR_TITLE_PREFIX = TXT("Quillo V5.");
