// Line-map reading through the file buffer, checked against reading the bytes
// directly. The first bytes choose the typed number and the buffer size; the
// rest is the map.
#include "base/files/file_buffer.h"
#include "navigator/line_map_records.h"
#include "support/map_records_reference.h"
#include "support/memory_file.h"

#include <cstdlib>
#include <vector>

LINENAV_MEMORY_FILE_SEAM

namespace {

// What the map says for typed k: record k if all or some of its bytes are
// there and it is not 0, else k.
int64_t Expected(const std::vector<uint8_t>& map, int64_t typed) {
    if (typed < 1) return typed;
    const uint64_t start = 4 * static_cast<uint64_t>(typed - 1);
    if (start >= map.size()) return typed;
    uint32_t value = 0;
    for (uint64_t i = 0; i < 4 && start + i < map.size(); ++i)
        value |= static_cast<uint32_t>(map[start + i]) << (8 * i);
    const int64_t record = static_cast<int32_t>(value);
    return record != 0 ? record : typed;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    // Typed numbers around the map's length, with a few far ones.
    int64_t typed = static_cast<int16_t>(data[0] | data[1] << 8);
    if (data[2] & 0x80) typed = typed * 1000003;
    static const int32_t CAPACITIES[] = {4096, 1, 2, 3, 4, 5, 7, 8, 16, 0};
    const int32_t capacity = CAPACITIES[data[3] % 10];

    MemoryFile file;
    file.bytes.assign(data + 4, data + size);
    std::vector<uint8_t> buffer(static_cast<size_t>(capacity) + 1);
    FileEntry entry = {&file, capacity ? buffer.data() : nullptr, capacity, 0, 0, 1, 0};

    int64_t counter = 0, mapValue = 0, line = typed;
    ReadMapRecords(counter, line, mapValue, [&](int32_t& delivered) { return ReadOneRecord(&entry, &delivered); });
    if (MappedLine(line, mapValue) != Expected(file.bytes, typed)) std::abort();
    // The loop never reads more than one record past the map's end.
    if (typed > 0 && static_cast<size_t>(file.position) > file.bytes.size()) std::abort();

    // Reading a buffer's worth of records at a time must end exactly as
    // reading them one by one: same value, same counter, same file reads.
    MemoryFile runFile;
    runFile.bytes = file.bytes;
    std::vector<uint8_t> runBuffer(static_cast<size_t>(capacity) + 1);
    FileEntry runEntry = {&runFile, capacity ? runBuffer.data() : nullptr, capacity, 0, 0, 1, 0};
    int64_t runCounter = 0, runValue = 0;
    ReadMapRecordRuns(runCounter, line, runValue, [&](int64_t wanted, int64_t& read, int32_t& delivered) {
        return ReadEntryInt32Run(&runEntry, wanted, &read, &delivered);
    });
    if (runValue != mapValue || runCounter != counter || runFile.requested != file.requested) std::abort();
    return 0;
}
