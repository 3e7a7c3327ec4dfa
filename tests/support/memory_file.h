// An in-memory file behind the file buffer's read and write seam, for the
// native tests and fuzz targets: the handle is a MemoryFile*.
#pragma once

#include "base/files/file_buffer.h"

#include <cstdint>
#include <cstring>
#include <vector>

struct MemoryFile {
    std::vector<uint8_t> bytes;
    size_t position = 0;
    int reads = 0;                  // ReadFromFile calls
    std::vector<int32_t> requested; // byte counts asked of each read
    bool failing = false;           // every read fails
    std::vector<uint8_t> written;
};

// Define these once per program that links the file buffer natively.
#define LINENAV_MEMORY_FILE_SEAM                                                                                       \
    int32_t ReadFromFile(void* handle, void* destination, int32_t bytes) {                                             \
        auto* file = static_cast<MemoryFile*>(handle);                                                                 \
        ++file->reads;                                                                                                 \
        file->requested.push_back(bytes);                                                                              \
        if (file->failing) return READ_FAILED;                                                                         \
        if (bytes <= 0) return 0;                                                                                      \
        size_t left = file->bytes.size() - file->position;                                                             \
        size_t take = static_cast<size_t>(bytes) < left ? static_cast<size_t>(bytes) : left;                           \
        if (take) std::memcpy(destination, file->bytes.data() + file->position, take);                                 \
        file->position += take;                                                                                        \
        return static_cast<int32_t>(take);                                                                             \
    }                                                                                                                  \
    int32_t WriteToFile(void* handle, const void* source, int32_t bytes) {                                             \
        auto* file = static_cast<MemoryFile*>(handle);                                                                 \
        auto* from = static_cast<const uint8_t*>(source);                                                              \
        file->written.insert(file->written.end(), from, from + bytes);                                                 \
        return bytes;                                                                                                  \
    }

// One record through the run reader: what a single ReadInt32 of the file does.
inline int64_t ReadOneRecord(FileEntry* entry, int32_t* delivered) {
    int64_t read = 0;
    return ReadEntryInt32Run(entry, 1, &read, delivered);
}
