#include "temp_folder.h"

#include "base/platform/handles.h"
#include "text_helpers.h"
#include "whole_file.h"

namespace {

void RemoveTree(const std::wstring& folder) { // folder ends in a backslash
    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW((folder + L"*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full + L"\\");
            else DeleteFileW((L"\\\\?\\" + full).c_str());
        } while (FindNextFileW(search.get(), &found));
    }
    search.reset();
    RemoveDirectoryW(folder.c_str());
}

} // namespace

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int serial = 0;
    path_ = std::wstring(temp) + L"linenav-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++serial) + L"\\";
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::wstring TempFolder::Write(const std::wstring& name, const std::vector<uint8_t>& bytes) const {
    const std::wstring full = path_ + name;
    WriteWholeFile(L"\\\\?\\" + full, bytes.data(), bytes.size());
    return full;
}

std::wstring TempFolder::MakeFolder(const std::wstring& name) const {
    const std::wstring full = path_ + name;
    CreateDirectoryW(full.c_str(), nullptr);
    return full;
}

bool FileHolder::Hold(const std::wstring& path, Kind kind) {
    const wchar_t* kindName = kind == Kind::Reader ? L" reader" : kind == Kind::Writer ? L" writer" : L" exclusive";
    static int serial = 0;
    const std::wstring eventName =
        L"LinenavFileHolder-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
    KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    if (!ready) return false;
    if (!StartProcess(Quoted(ProgramBeside(L"file_holder.exe")) + L" " + Quoted(path) + L" " + Quoted(eventName) +
                          kindName,
                      process_))
        return false;
    HANDLE waits[2] = {ready.get(), process_.process.get()};
    return WaitForMultipleObjects(2, waits, FALSE, 20000) == WAIT_OBJECT_0;
}
