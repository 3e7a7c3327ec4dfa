// The line map: TranslateLineNumber for record 1,000,000 of a 4 MB map, timed
// in the driver's own process, against one sequential pass over the same file
// in 4096-byte reads.
#pragma once

#include <string>
#include <vector>

struct MapSamples {
    std::vector<double> linenav, floor; // ms
};

// TranslateLineNumber and the sequential pass in turn, `pairs` times, in this
// process, after three of each to warm the file cache and the heap; every
// other pair the pass goes first.
MapSamples RunLineMap(const std::wstring& scratch, int pairs);
