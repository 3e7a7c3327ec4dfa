// Files for Windows tests: a fresh folder under the temporary folder, removed
// with everything in it afterwards; and a file held open by another process.
#pragma once

#include "map_records_bytes.h"
#include "processes.h"

#include <cstdint>
#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's path, ending in a backslash.
    const std::wstring& path() const { return path_; }
    // Writes `bytes` to path() + name; returns the full path.
    std::wstring Write(const std::wstring& name, const std::vector<uint8_t>& bytes) const;
    std::wstring MakeFolder(const std::wstring& name) const;

private:
    std::wstring path_;
};

// Another process that holds `path` open while it lives: reading with no
// sharing (exclusive), reading and sharing everything (reader), or writing and
// sharing with readers (writer).
class FileHolder {
public:
    enum class Kind { Exclusive, Reader, Writer };
    // Returns once the holder has the file open.
    bool Hold(const std::wstring& path, Kind kind = Kind::Exclusive);
    ~FileHolder() { process_.Kill(); }

private:
    ChildProcess process_;
};
