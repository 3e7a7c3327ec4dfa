// Line-map records as bytes: signed 32-bit little-endian integers, record k at
// bytes 4 x (k - 1) to 4 x k - 1, whatever the byte order of the machine that
// writes them. Portable, header-only: the native tests use it as well as the
// Windows tests and the bench.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Appends one record holding `value` to `bytes`.
inline void AppendInt32Record(std::vector<uint8_t>& bytes, int32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> shift));
}

// The records of `values`, in order, as the line map holds them.
inline std::vector<uint8_t> Int32Records(std::initializer_list<int32_t> values) {
    std::vector<uint8_t> bytes;
    for (int32_t value : values) AppendInt32Record(bytes, value);
    return bytes;
}
