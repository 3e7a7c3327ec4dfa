// The figures of the report: for each, both sides' medians and quartiles,
// their ratio and its goal, made from the samples of the runs.
#pragma once

#include "launch_runs.h"
#include "line_map_runs.h"
#include "long_jump.h"
#include "ratio_interval.h"
#include "stats.h"

#include <string>
#include <vector>

struct Figure {
    std::string key;   // JSON name
    std::string label; // table text
    std::string unit;
    Summary linenav, floor;
    double ratio = 0;       // median over median
    double pairedRatio = 0; // median of the per-pair ratios
    RatioInterval interval; // geometric mean of the per-pair ratios and its 95 % interval
    std::string goal;       // e.g. "<= 1.10"
    double limit = 0;       // ratio limit; 0: no ratio goal
};

// `value` printed with a printf `format`.
std::string Format(const char* format, double value);
// 1234567 as "1,234,567".
std::string WithThousands(long long value);

// --only-launch: the launch against the floor with linenav's DLLs alone.
std::vector<Figure> LaunchOnlyFigures(const Sides& sides);

// The long jump's figure, and beside it, without goals, where its time goes:
// until notepad has taken Ctrl+Home (the sender's work before its first key)
// and until the sender has sent every key and exited.
std::vector<Figure> JumpFigures(const JumpSamples& jump);

// The table's figures, in its order; the long jump's and the line map's only
// when they ran.
std::vector<Figure> TableFigures(const Sides& sides, const std::vector<Case>& cases, const JumpSamples& jump,
                                 const MapSamples& map);
