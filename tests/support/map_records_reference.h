// The line map read the plain way, one record per pass of the tool's counting
// loop: what the run-at-a-time reading in the product must match exactly.
#pragma once

#include "navigator/counting_loop.h"

#include <cstdint>

// Reads records 1 to `lineNumber` (read again before every pass) with
// `readRecord(int32_t& delivered)`, keeping the last value in `mapValue`.
// Once a read delivers fewer than 4 bytes every later read would deliver none
// and yield 0, so when that short read was not the last record wanted the loop
// ends there with mapValue 0: the typed number stands.
template <class ReadRecord>
inline void ReadMapRecords(int64_t& loopCounter, const int64_t& lineNumber, int64_t& mapValue, ReadRecord readRecord) {
    CountingLoop(
        loopCounter, [&] { return lineNumber; },
        [&] {
            int32_t delivered = 0;
            mapValue = readRecord(delivered);
            if (delivered < 4 && loopCounter < lineNumber) {
                mapValue = 0;
                return false;
            }
            return true;
        });
}
