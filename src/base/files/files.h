// Numbered files: opened by a number the program picks, read through a
// 4096-byte buffer, closed by that number; and a look-up that tells a file's
// size, a folder or nothing, without opening anything.
#pragma once

#include "base/text/text_unit.h"

#include <cstdint>

constexpr int32_t DEFAULT_FILE_BUFFER = 4096;
constexpr int64_t FILE_NOT_FOUND = -1; // FileLength: nothing there
constexpr int64_t FILE_IS_FOLDER = -2; // FileLength: a folder or a drive root

// Start-up and shutdown steps: the file registry; closing every file still open.
void StartFiles();
void EndFiles();

// Size in bytes, FILE_NOT_FOUND or FILE_IS_FOLDER. The path is looked up
// whole, however long; a path the platform cannot look up gives FILE_NOT_FOUND.
int64_t FileLength(const TextUnit* path);

// Opens an existing file for reading only, as `number` (NEW_OBJECT: a
// generated number, which is then returned instead of the handle). Other
// readers may hold the file meanwhile, as virus scanners and indexers do right
// after it is written; writers may not, so a file being written is never read
// half-way. A number in use is closed first, even when this open then fails.
// 0 on failure, with the platform's reason left for GetLastError.
uintptr_t OpenForReading(int64_t number, const TextUnit* path);

// The next 4 bytes of the file as a signed little-endian integer; 0 when the
// number names no open file.
int64_t ReadInt32(int64_t number);
// Up to `wanted` ReadInt32 calls in a row, stopping after one that delivers
// fewer than 4 bytes; the last value read. *read gets the calls made,
// *delivered the bytes of the last one. Records lying whole in the
// buffer are stepped over in one go; the file is read as the calls would read it.
// wanted <= 0 reads nothing.
int64_t ReadInt32Run(int64_t number, int64_t wanted, int64_t* read, int32_t* delivered);

// Closes file `number`, or every file for ALL_OBJECTS; nothing for a number
// that names no open file.
void CloseAppFile(int64_t number);
