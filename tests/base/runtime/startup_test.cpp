// The runtime's start-up and shutdown around the tool's steps.
#include "base/runtime/startup.h"

#include "base/files/files.h"
#include "base/runtime/registry.h"
#include "base/system/arguments.h"
#include "base/system/handles.h"
#include "support/runtime_fixture.h"
#include "support/temp_folder.h"

namespace {

using Startup = RuntimeTest;

TEST_F(Startup, ShutdownClosesEveryFileStillOpen) {
    TempFolder folder;
    const auto a = folder.Write(L"a.bin", {1, 2, 3, 4});
    const auto b = folder.Write(L"b.bin", {5, 6, 7, 8});
    StartRuntime();
    ASSERT_NE(FileRegistry, nullptr);
    EXPECT_EQ(NextArgumentIndex(), 0);
    ASSERT_NE(OpenForReading(1, a.c_str()), 0u);
    ASSERT_NE(OpenForReading(NEW_OBJECT, b.c_str()), 0u);
    EndRuntime();
    for (const auto& path : {a, b})
        EXPECT_TRUE(FileHandle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)).valid());
}

} // namespace
