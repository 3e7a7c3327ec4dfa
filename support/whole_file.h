// Files read or written whole, in one call: the documents, maps and reports
// the tests and the bench make or read, never what a figure times.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The bytes of `path`; none when it cannot be read, is empty, or holds 256 MiB
// or more.
std::vector<unsigned char> ReadWholeFile(const std::wstring& path);

// Creates or replaces `path` with the `size` bytes at `data`; false when that
// fails.
bool WriteWholeFile(const std::wstring& path, const void* data, size_t size);
