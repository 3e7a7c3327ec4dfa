// The version resource of the built linenav.exe, read back the way Explorer's
// Properties read it, against the version CMake configured the build with.
#include "processes.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The build passes the version as narrow text; the resource holds UTF-16.
#define LINENAV_WIDE2(text) L##text
#define LINENAV_WIDE(text) LINENAV_WIDE2(text)

namespace {

struct StringValue {
    const wchar_t* name;
    const wchar_t* expected;
};

// US English, Unicode: the one string table the resource carries.
constexpr const wchar_t* STRING_TABLE = L"\\StringFileInfo\\040904B0\\";

const StringValue STRING_VALUES[] = {
    {L"ProductName", L"linenav"},
    {L"FileVersion", LINENAV_WIDE(LINENAV_VERSION_TEXT)},
    {L"ProductVersion", LINENAV_WIDE(LINENAV_VERSION_TEXT)},
    {L"OriginalFilename", L"linenav.exe"},
    {L"InternalName", L"linenav"},
    {L"LegalCopyright", L"Copyright (c) 2026 the linenav authors"},
};

TEST(VersionInfo, ReadsBackTheConfiguredVersion) {
    const std::wstring exe = ProgramBeside(L"linenav.exe");
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_NE(size, 0u) << "no version resource, error " << GetLastError();
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(fixed->dwSignature, VS_FFI_SIGNATURE);
    const DWORD high = MAKELONG(LINENAV_VERSION_MINOR, LINENAV_VERSION_MAJOR);
    const DWORD low = MAKELONG(0, LINENAV_VERSION_PATCH);
    EXPECT_EQ(fixed->dwFileVersionMS, high);
    EXPECT_EQ(fixed->dwFileVersionLS, low);
    EXPECT_EQ(fixed->dwProductVersionMS, high);
    EXPECT_EQ(fixed->dwProductVersionLS, low);

    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 1200);

    for (const StringValue& value : STRING_VALUES) {
        const std::wstring path = std::wstring(STRING_TABLE) + value.name;
        wchar_t* text = nullptr;
        ASSERT_TRUE(VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
            << "no string " << value.name;
        EXPECT_EQ(std::wstring(text), value.expected) << value.name;
    }
}

} // namespace
