// Reading line-map records in order, as the counting loop would. Free of Win32 so
// it can be fuzzed against a direct reading of the bytes.
#pragma once

#include <cstdint>

// Reads records 1 to `lineNumber` (read again before every pass) in order,
// keeping the last value in `mapValue`: the tool's counting loop with one
// record read per pass, done a run at a time. `readRun(wanted, read,
// delivered)` reads up to `wanted` records in a row (at least one), stops
// after a short one, and returns the last value, so that records lying whole
// in the file buffer cost nothing each. Only the last record read matters, so
// the result, the reads made and loopCounter at the end are those of the
// record-by-record loop. Once a read delivers fewer than 4 bytes every later
// read would deliver none and yield 0, so when that short read was not the
// last record wanted the loop ends there with mapValue 0: the typed number
// stands.
template <class ReadRun>
inline void ReadMapRecordRuns(int64_t& loopCounter, const int64_t& lineNumber, int64_t& mapValue, ReadRun readRun) {
    loopCounter = 1;
    while (lineNumber >= loopCounter) {
        int64_t read = 0;
        int32_t delivered = 0;
        mapValue = readRun(lineNumber - loopCounter + 1, read, delivered);
        const int64_t last = loopCounter + (read > 0 ? read : 1) - 1; // number of the last record read
        if (delivered < 4 && last < lineNumber) {
            loopCounter = last;
            mapValue = 0;
            return;
        }
        if (last == INT64_MAX) {
            loopCounter = last;
            return;
        }
        loopCounter = last + 1;
    }
}

// The line to go to for a typed `lineNumber`, given what the map's records
// gave: the record's value unless it is 0.
constexpr int64_t MappedLine(int64_t lineNumber, int64_t mapValue) { return mapValue != 0 ? mapValue : lineNumber; }
