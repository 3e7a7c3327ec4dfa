#include "line_map_runs.h"

#include "driver.h"
#include "ratio_interval.h"

#include "map_records_bytes.h"
#include "whole_file.h"

#include "base/files/files.h"
#include "base/platform/handles.h"
#include "base/runtime/memory.h"
#include "base/text/text.h"
#include "navigator/globals.h"
#include "navigator/line_map.h"

#include <cstdio>
#include <windows.h>

namespace {

constexpr int64_t MAP_RECORDS = 1000000; // 4,000,000 bytes
constexpr int64_t MAP_TARGET = 1000000;
constexpr int32_t TARGET_VALUE = 123457;

bool WriteMap(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(MAP_RECORDS) * 4);
    for (int64_t k = 1; k <= MAP_RECORDS; ++k)
        AppendInt32Record(bytes, k == MAP_TARGET ? TARGET_VALUE : static_cast<int32_t>(k % 7 ? k * 3 : 0));
    return WriteWholeFile(path, bytes.data(), bytes.size());
}

double TimeTranslate(const std::wstring& dataFolder) {
    AssignText(Navigator.DataFolder, dataFolder.c_str());
    Navigator.LineNumber = MAP_TARGET;
    Navigator.MapValue = 0;
    const double started = Now();
    TranslateLineNumber();
    const double elapsed = Now() - started;
    if (Navigator.LineNumber != TARGET_VALUE)
        Fail("TranslateLineNumber gave " + std::to_string(Navigator.LineNumber) + ", expected " +
             std::to_string(TARGET_VALUE));
    return elapsed;
}

// The floor: the same file, opened as linenav opens it (read-only, shared with
// readers), read once from start to end.
double TimeSequentialPass(const std::wstring& path) {
    static unsigned char buffer[4096];
    const double started = Now();
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) Fail("cannot open the line map");
    DWORD read = 0;
    uint64_t total = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        total += read;
        if (read < sizeof buffer) break;
    }
    file.reset(); // the close is timed, as linenav's is
    const double elapsed = Now() - started;
    if (total != MAP_RECORDS * 4) Fail("the sequential pass read " + std::to_string(total) + " bytes");
    return elapsed;
}

} // namespace

MapSamples RunLineMap(const std::wstring& scratch, int pairs) {
    MapSamples samples;
    std::fprintf(stderr, "bench: line map\n");
    GeneralHeap = CreatePrivateHeap();
    StartTextArea();
    StartFiles();
    Navigator = {};
    const std::wstring mapFolder = scratch + L"map\\";
    CreateDirectoryW(mapFolder.c_str(), nullptr);
    const std::wstring mapPath = mapFolder + L"lineno.txt";
    if (!WriteMap(mapPath)) Fail("cannot write the line map");
    for (int i = 0; i < 3; ++i) {
        TimeTranslate(mapFolder);
        TimeSequentialPass(mapPath);
    }
    for (int i = 0; i < pairs; ++i) {
        if (PairReversed(i)) samples.floor.push_back(TimeSequentialPass(mapPath));
        samples.linenav.push_back(TimeTranslate(mapFolder));
        if (!PairReversed(i)) samples.floor.push_back(TimeSequentialPass(mapPath));
    }
    EndFiles();
    EndTextArea();
    DestroyPrivateHeap(GeneralHeap);
    GeneralHeap = nullptr;
    DeleteFileW(mapPath.c_str());
    return samples;
}
