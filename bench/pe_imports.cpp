#include "pe_imports.h"

#include "whole_file.h"

#include <cstring>
#include <windows.h>

namespace {

class PeFile {
public:
    explicit PeFile(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {
        if (bytes_.size() < sizeof(IMAGE_DOS_HEADER)) return;
        IMAGE_DOS_HEADER dos;
        std::memcpy(&dos, bytes_.data(), sizeof dos);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE || dos.e_lfanew < 0) return;
        const size_t nt = static_cast<size_t>(dos.e_lfanew);
        if (nt + sizeof(IMAGE_NT_HEADERS64) > bytes_.size()) return;
        std::memcpy(&headers_, bytes_.data() + nt, sizeof headers_);
        if (headers_.Signature != IMAGE_NT_SIGNATURE || headers_.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
            return;
        sections_ = nt + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + headers_.FileHeader.SizeOfOptionalHeader;
        if (sections_ + headers_.FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER) > bytes_.size()) return;
        valid_ = true;
    }

    bool valid() const { return valid_; }

    const IMAGE_DATA_DIRECTORY& Directory(int index) const { return headers_.OptionalHeader.DataDirectory[index]; }

    // File offset of a relative virtual address, or 0 when no section holds it.
    size_t Offset(DWORD rva) const {
        for (WORD i = 0; i < headers_.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            std::memcpy(&section, bytes_.data() + sections_ + i * sizeof section, sizeof section);
            const DWORD size =
                section.SizeOfRawData > section.Misc.VirtualSize ? section.SizeOfRawData : section.Misc.VirtualSize;
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + size) {
                const size_t offset = rva - section.VirtualAddress + section.PointerToRawData;
                return offset < bytes_.size() ? offset : 0;
            }
        }
        return 0;
    }

    template <class T> bool Read(size_t offset, T* out) const {
        if (offset == 0 || offset + sizeof(T) > bytes_.size()) return false;
        std::memcpy(out, bytes_.data() + offset, sizeof(T));
        return true;
    }

    std::string Name(DWORD rva) const {
        std::string name;
        for (size_t at = Offset(rva); at && at < bytes_.size() && bytes_[at] && name.size() < 260; ++at)
            name += static_cast<char>(bytes_[at]);
        return name;
    }

private:
    std::vector<unsigned char> bytes_;
    IMAGE_NT_HEADERS64 headers_ = {};
    size_t sections_ = 0;
    bool valid_ = false;
};

} // namespace

ImportList ReadImports(const std::wstring& path) {
    ImportList list;
    PeFile pe(ReadWholeFile(path));
    if (!pe.valid()) return list;
    list.valid = true;

    const IMAGE_DATA_DIRECTORY& imports = pe.Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (imports.VirtualAddress) {
        const size_t base = pe.Offset(imports.VirtualAddress);
        for (size_t i = 0;; ++i) {
            IMAGE_IMPORT_DESCRIPTOR descriptor;
            if (!pe.Read(base + i * sizeof descriptor, &descriptor) || descriptor.Name == 0) break;
            list.dlls.push_back(pe.Name(descriptor.Name));
        }
    }
    const IMAGE_DATA_DIRECTORY& delayed = pe.Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT);
    if (delayed.VirtualAddress) {
        const size_t base = pe.Offset(delayed.VirtualAddress);
        for (size_t i = 0;; ++i) {
            IMAGE_DELAYLOAD_DESCRIPTOR descriptor;
            if (!pe.Read(base + i * sizeof descriptor, &descriptor) || descriptor.DllNameRVA == 0) break;
            list.delayLoaded.push_back(pe.Name(descriptor.DllNameRVA));
        }
    }
    return list;
}

bool ShipsWithSystem(const std::string& dll) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::wstring path(folder, length);
    path += L'\\';
    for (char c : dll) path += static_cast<wchar_t>(static_cast<unsigned char>(c));
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
