// The driver's options: the programs it measures, where it works, and how many
// runs of each kind.
#pragma once

#include "navigator/caret_plan.h"

#include <string>
#include <vector>

struct Options {
    std::wstring linenav, floor, scratch, json;
    std::wstring floorDlls;                   // the floor importing linenav's DLLs; none: no such figure
    std::wstring floorClass = L"FloorPrompt"; // another linenav build: WindowClass_0
    std::vector<long long> lines = {1, 10000, 2 * MAX_DOWN_PRESSES};
    std::vector<long long> editorLines = {1, 10000}; // with the editor window in front
    int runs = 20;                                   // pairs per line up to the cap
    int capRuns = 5;                                 // pairs per line above the cap
    int mapRuns = 51;
    int onlyLaunch = 0; // > 0: only the launch against the same-DLL floor, this many pairs
    int jumpRuns = 3;   // pairs for the long jump into notepad (~25 s per run)
    int onlyJump = 0;   // > 0: only the long jump, this many pairs
};

// The options of the command line; on a wrong or missing one, says how to
// call the driver and ends it.
Options ParseOptions(int argc, wchar_t** argv);
