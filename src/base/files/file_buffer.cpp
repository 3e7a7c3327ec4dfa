#include "base/files/file_buffer.h"

#include <cstring>

namespace {

// Reads of 1, 2 and 4 bytes are the common case: copy them without a general
// block copy.
void CopyBytes(uint8_t* destination, const uint8_t* source, int32_t bytes) {
    switch (bytes) {
    case 4:
        destination[3] = source[3];
        destination[2] = source[2];
        [[fallthrough]];
    case 2: destination[1] = source[1]; [[fallthrough]];
    case 1: destination[0] = source[0]; break;
    case 0: break;
    default: std::memcpy(destination, source, static_cast<size_t>(bytes)); break;
    }
}

// A record's 4 bytes as a signed little-endian 32-bit integer, widened.
int64_t DecodeRecord(const uint8_t* bytes) {
    const uint32_t value = static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
    return static_cast<int32_t>(value);
}

// One read from the file: a failure delivers nothing, like the end of the
// file, but is remembered.
int32_t ReadInto(FileEntry* entry, void* destination, int32_t bytes) {
    const int32_t read = ReadFromFile(entry->handle, destination, bytes);
    if (read >= 0) return read;
    entry->failed = 1;
    return 0;
}

// The next 4 bytes as one record; *delivered gets the bytes read.
int64_t ReadRecord(FileEntry* entry, int32_t* delivered) {
    uint8_t bytes[4] = {0, 0, 0, 0};
    *delivered = entry->buffer ? BufferedRead(entry, bytes, 4) : ReadInto(entry, bytes, 4);
    return DecodeRecord(bytes);
}

} // namespace

int32_t FlushFileEntry(FileEntry* entry) {
    if (entry->clean || !entry->buffer) return 0;
    const int32_t written = WriteToFile(entry->handle, entry->buffer, entry->capacity - entry->count);
    entry->count = entry->capacity;
    return written;
}

int32_t BufferedRead(FileEntry* entry, void* destination, int32_t bytes) {
    if (bytes <= 0) return 0;
    auto* out = static_cast<uint8_t*>(destination);
    if (!entry->clean) {
        FlushFileEntry(entry);
        entry->clean = 1;
        entry->count = 0;
    }
    const int32_t available = entry->count;
    const int32_t start = entry->filled - available;
    if (available >= bytes) {
        CopyBytes(out, entry->buffer + start, bytes);
        entry->count -= bytes;
        return bytes;
    }
    CopyBytes(out, entry->buffer + start, available);
    const int32_t rest = bytes - available;
    if (rest >= entry->capacity) {
        const int32_t read = ReadInto(entry, out + available, rest);
        entry->count = 0;
        return available + read;
    }
    const int32_t read = ReadInto(entry, entry->buffer, entry->capacity);
    entry->filled = entry->count = read;
    const int32_t taken = rest < read ? rest : read;
    CopyBytes(out + available, entry->buffer, taken);
    entry->count -= taken;
    return available + taken;
}

int64_t ReadEntryInt32Run(FileEntry* entry, int64_t wanted, int64_t* read, int32_t* delivered) {
    int64_t done = 0, value = 0;
    int32_t got = 0;
    // A run of no records reads nothing: the step below would take 0 records
    // and decode the 4 bytes before the unread ones, and the unbuffered read
    // would still consume one record.
    if (wanted <= 0) {
        if (read) *read = 0;
        if (delivered) *delivered = 0;
        return 0;
    }
    do {
        if (entry->buffer && entry->clean && entry->count >= 4) {
            const int64_t whole = entry->count / 4;
            const int64_t take = whole < wanted - done ? whole : wanted - done;
            const uint8_t* last = entry->buffer + (entry->filled - entry->count) + 4 * (take - 1);
            value = DecodeRecord(last);
            entry->count -= static_cast<int32_t>(4 * take);
            done += take;
            got = 4;
            continue;
        }
        value = ReadRecord(entry, &got);
        ++done;
        if (got < 4) break;
    } while (done < wanted);
    if (read) *read = done;
    if (delivered) *delivered = got;
    return value;
}
