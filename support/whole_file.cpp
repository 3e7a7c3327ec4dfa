#include "whole_file.h"

#include "base/platform/handles.h"

std::vector<unsigned char> ReadWholeFile(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return bytes;
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (256 << 20)) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
            read != bytes.size())
            bytes.clear();
    }
    return bytes;
}

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
    const FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    // Nothing to write is no call: the data of an empty vector may be null.
    return file && (size == 0 || WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr)) &&
           written == size;
}
