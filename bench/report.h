// What the driver prints and writes: the table, the figures as JSON, the quick
// modes' lines, and the results file: the figures with the facts around the
// run.
#pragma once

#include "figures.h"
#include "options.h"
#include "pe_imports.h"

#include <optional>
#include <string>
#include <vector>

// The programs' files: their sizes and the DLLs they import.
struct Footprint {
    double linenavBytes = 0, floorBytes = 0;
    ImportList linenav, floor, floorDlls; // floorDlls: read only when that floor runs
    std::vector<std::string> foreign;     // linenav's imports that are not in the system folder
    bool systemOnly = false;
};

// The programs' files read: linenav's and the floor's, and the floor with
// linenav's DLLs' when it runs.
Footprint ReadFootprint(const Options& options, bool withDlls);

// Everything the table and the JSON report.
struct Results {
    const Options& options;
    const Sides& sides;
    RoundCounts counts;
    std::vector<Figure> figures;
    std::optional<LookCost> lookCost; // when the long jump ran
    Footprint footprint;
};

// The table, on standard output.
void PrintTable(const Results& r);
// The figures as JSON, into the file --json names.
void WriteJson(const Results& r);

// --results: the results file, written from the figures file of a run and the
// facts the script gathered around it.
void WriteResults(const Options& options);

// --only-launch: the launch against the floor with linenav's DLLs alone;
// `againstOld`: that floor is an older linenav.
void PrintLaunchOnly(const Sides& sides, bool againstOld);
// --only-jump: the long jump alone.
void PrintJumpOnly(const JumpSamples& jump, bool againstOld);
