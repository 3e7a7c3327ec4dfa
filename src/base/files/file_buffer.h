// The per-file read buffer of numbered files. No Win32 call here: the two
// byte-moving calls are a link-time seam (files.cpp gives ReadFile and
// WriteFile; the native tests give an in-memory file).
#pragma once

#include <cstdint>

// One open file; the file registry's object (its first field is the handle).
struct FileEntry {
    void* handle;     // raw platform file handle: CloseAppFile, the registry's release, owns it; zero while free
    uint8_t* buffer;  // none: the file is read unbuffered
    int32_t capacity; // buffer size in bytes
    int32_t count;    // reading: unread bytes left; writing: free bytes left
    int32_t filled;   // bytes the last refill placed; first unread byte at filled - count
    int32_t clean;    // 1: nothing unwritten in the buffer; 0: data still to write
    int32_t failed;   // 1 once a read of the file has failed (not merely ended)
};

constexpr int32_t READ_FAILED = -1; // ReadFromFile: the platform refused the read

// Up to `bytes` bytes from the file's current position; 0 at the end of the
// file, READ_FAILED when the read failed.
int32_t ReadFromFile(void* handle, void* destination, int32_t bytes);
// Bytes written.
int32_t WriteToFile(void* handle, const void* source, int32_t bytes);

// Delivers up to `bytes` bytes through the buffer; a request at least as large
// as the buffer bypasses it. Returns the bytes delivered: a failed read
// delivers nothing, as the end of the file does, and marks the entry failed.
int32_t BufferedRead(FileEntry* entry, void* destination, int32_t bytes);
// Writes out unwritten data, if any; returns the bytes written.
int32_t FlushFileEntry(FileEntry* entry);
// Reads up to `wanted` consecutive 4-byte records, each a signed
// little-endian 32-bit integer widened with its sign (bytes not delivered read
// as 0, so a partial last record lands in the low positions), and returns the
// value of the last one read; stops after a record that delivered fewer than 4
// bytes. *read gets
// the number of records read, *delivered the bytes of the last one. Records
// that lie whole in the buffer are stepped over without being decoded one by
// one; the file itself is read exactly as record-by-record reading reads it.
// wanted <= 0 reads nothing: the result, *read and *delivered are 0.
int64_t ReadEntryInt32Run(FileEntry* entry, int64_t wanted, int64_t* read, int32_t* delivered);
