// The driver's options: the programs it measures, where it works, and how many
// runs of each kind; or, with --results, the facts the script gathered around
// a run, for the results file.
#pragma once

#include "navigator/caret_plan.h"

#include <string>
#include <vector>

// What the script knows of the machine and of a run that only it can see, or
// only once the run is over.
struct RunFacts {
    std::wstring cpu, system, wine, compiler;
    long long cores = 0, memoryMib = 0;
    std::wstring loadStart, loadEnd, date; // load averages as /proc/loadavg gives them; date in ISO 8601, UTC
    long long seconds = 0;                 // how long the run measured
};

struct Options {
    std::wstring linenav, floor, scratch, json;
    std::wstring floorDlls;                   // the floor importing linenav's DLLs; none: no such figure
    std::wstring floorClass = L"FloorPrompt"; // another linenav build: WindowClass_0
    // Set: the floor is an older linenav, named so (e.g. its commit); the
    // table reads each row as a change, without the floor's goals.
    std::wstring old;
    std::vector<long long> lines = {1, 10000, 2 * MAX_DOWN_PRESSES};
    std::vector<long long> editorLines = {1, 10000}; // with the editor window in front
    int runs = 20;                                   // pairs per line up to the cap
    int capRuns = 5;                                 // pairs per line above the cap
    int mapRuns = 51;
    int onlyLaunch = 0; // > 0: only the launch against the same-DLL floor, this many pairs
    // Pairs for the long jump into notepad (~25 s per run): enough for its
    // interval to tell a few percent from notepad's drift.
    int jumpRuns = 15;
    int onlyJump = 0; // > 0: only the long jump, this many pairs
    // Set: no run, only the results file written here from the figures file
    // of a run and the facts around it.
    std::wstring results, figures;
    RunFacts facts;
};

// The options of the command line; on a wrong or missing one, says how to
// call the driver and ends it.
Options ParseOptions(int argc, wchar_t** argv);
