#include "base/files/files.h"

#include "base/files/file_buffer.h"
#include "base/platform/handles.h"
#include "base/runtime/memory.h"
#include "base/runtime/registry.h"
#include "base/system/trace.h"
#include "base/text/text.h"

#include <windows.h>

Registry* FileRegistry;

int32_t ReadFromFile(void* handle, void* destination, int32_t bytes) {
    DWORD read = 0;
    if (CALL_FAILED(ReadFile(handle, destination, static_cast<DWORD>(bytes), &read, nullptr), "ReadFile"))
        return READ_FAILED;
    return static_cast<int32_t>(read);
}

int32_t WriteToFile(void* handle, const void* source, int32_t bytes) {
    DWORD written = 0;
    if (!WriteFile(handle, source, static_cast<DWORD>(bytes), &written, nullptr)) return 0;
    return static_cast<int32_t>(written);
}

void StartFiles() { FileRegistry = CreateRegistry(16, sizeof(FileEntry), CloseAppFile); }

void EndFiles() { ReleaseAllObjects(FileRegistry); }

uintptr_t OpenForReading(int64_t number, const TextUnit* path) {
    int64_t generated = 0;
    auto* entry = static_cast<FileEntry*>(ObtainObject(FileRegistry, number, &generated));
    if (!entry) return 0;
    const int64_t name = number == NEW_OBJECT ? generated : number;

    FileHandle opened(CreateFileW(path ? path : L"", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (CALL_FAILED(opened && opened.get(), "CreateFileW")) {
        const DWORD error = GetLastError();
        ReleaseObject(FileRegistry, name);
        SetLastError(error);
        return 0;
    }
    // Without memory for a buffer the file is simply read unbuffered.
    entry->buffer = DEFAULT_FILE_BUFFER ? static_cast<uint8_t*>(GeneralBlockUnzeroed(DEFAULT_FILE_BUFFER)) : nullptr;
    // From here the entry holds the handle, and the registry's release
    // operation (CloseAppFile) closes it.
    HANDLE handle = opened.release();
    entry->handle = handle;
    entry->capacity = DEFAULT_FILE_BUFFER;
    entry->count = 0;
    entry->clean = 1;
    return number == NEW_OBJECT ? static_cast<uintptr_t>(generated) : reinterpret_cast<uintptr_t>(handle);
}

int64_t ReadInt32Run(int64_t number, int64_t wanted, int64_t* read, int32_t* delivered) {
    auto* entry = static_cast<FileEntry*>(LookupObject(FileRegistry, number));
    if (entry) return ReadEntryInt32Run(entry, wanted, read, delivered);
    if (read) *read = wanted > 0 ? 1 : 0; // one call, which delivers nothing; none for no records
    if (delivered) *delivered = 0;
    return 0;
}

int64_t ReadInt32(int64_t number) {
    int64_t read = 0;
    return ReadInt32Run(number, 1, &read, nullptr);
}

void CloseAppFile(int64_t number) {
    if (number == ALL_OBJECTS) {
        ReleaseAllObjects(FileRegistry);
        return;
    }
    auto* entry = static_cast<FileEntry*>(LookupObject(FileRegistry, number));
    if (!entry) return;
    if (entry->buffer) {
        FlushFileEntry(entry);
        FreeGeneralBlock(entry->buffer);
    }
    FileHandle(entry->handle).reset(); // the entry gives its handle back to an owner, which closes it
    ReleaseObject(FileRegistry, number);
}

namespace {

bool IsSeparator(TextUnit unit) { return unit == L'\\' || unit == L'/'; }

// Drive kinds 0 (DRIVE_UNKNOWN) and 1 (DRIVE_NO_ROOT_DIR) mean there is no such root.
int64_t RootAnswer(const TextUnit* root) {
    return GetDriveTypeW(root) > DRIVE_NO_ROOT_DIR ? FILE_IS_FOLDER : FILE_NOT_FOUND;
}

} // namespace

int64_t FileLength(const TextUnit* path) {
    const int32_t length = TextLength(path);
    if (length == 0) return FILE_NOT_FOUND;

    // Work on a copy in the temporary area. Stepping past the current end
    // first keeps a path that the caller built there intact. The whole path
    // is copied: cutting a long one could name another file or folder.
    TextMark mark;
    HoldResult();
    const int32_t at = LeftPart(path, length);
    HoldResult();
    TextUnit* copy = TextAt(at); // taken after the last reservation, which may move the area
    // Short of memory the copy is the empty text: measure what was copied,
    // never index the copy by the path's length.
    const int32_t copied = TextLength(copy);
    if (copied == 0) return FILE_NOT_FOUND;

    if ((copied == 2 || copied == 3) && copy[1] == L':') {
        TextUnit root[4] = {copy[0], L':', L'\\', 0};
        if (copied == 3) root[2] = copy[2];
        return RootAnswer(root);
    }

    int32_t end = copied;
    while (end > 0 && IsSeparator(copy[end - 1])) --end;
    copy[end] = 0;

    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW(copy, &found));
    if (search) {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FILE_IS_FOLDER;
        return static_cast<int64_t>((static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow);
    }

    // A share root such as \\server\share is no entry of any folder.
    const bool shareLike = (copy[0] == L'\\' && copy[1] == L'\\') || (copy[0] == L'/' && copy[1] == L'/') ||
                           (copy[0] == L'.' && copy[1] == L'.');
    if (!shareLike) return FILE_NOT_FOUND;
    const DWORD attributes = GetFileAttributesW(copy);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? FILE_IS_FOLDER : FILE_NOT_FOUND;
    return RootAnswer(copy);
}
