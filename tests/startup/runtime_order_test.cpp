// The runtime's start-up and shutdown around the tool's steps.
#include "startup/runtime_order.h"

#include "base/files/files.h"
#include "base/platform/handles.h"
#include "base/runtime/process.h"
#include "base/runtime/registry.h"
#include "base/system/command_line.h"
#include "support/runtime_fixture.h"
#include "support/temp_folder.h"
#include "support/test_hooks.h"
#include "ui/events/dispatch.h"
#include "ui/windows/app_windows.h"

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

TEST_F(Startup, ShutdownClosesAWindowStillOpenWhileEventsStillRun) {
    ProcessInstance = GetModuleHandleW(nullptr);
    StartRuntime();
    ASSERT_NE(OpenAppWindow(0, 10, 10, 120, 60, L"Window"), 0);
    HWND window = WindowHandle(0);
    // The window's last messages raise events; the post window must still be
    // there when they do, so windows close before events end.
    static int closedWithPostWindow = -1;
    closedWithPostWindow = -1;
    BindEventHandler(EVENT_DEACTIVATE_WINDOW,
                     [] { closedWithPostWindow = FindWindowW(L"PostEventClass", nullptr) != nullptr; });
    EndRuntime();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(FindWindowW(L"PostEventClass", nullptr), nullptr);
    WNDCLASSW left;
    EXPECT_FALSE(GetClassInfoW(ProcessInstance, L"PostEventClass", &left))
        << "the post window's class outlived the runtime";
    EXPECT_EQ(closedWithPostWindow, 1) << "the active window's deactivation is raised while it closes";
}

} // namespace
