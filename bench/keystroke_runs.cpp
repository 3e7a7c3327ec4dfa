#include "keystroke_runs.h"

#include "driver.h"

#include "base/system/system_wait.h"
#include "navigator/caret_plan.h"

long long KeyEvents(long long line) { return 6 + 2 * DownPressLimit(line); }

EditorSink::EditorSink() : ready_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    thread_.reset(CreateThread(nullptr, 0, Main, this, 0, &threadId_));
    if (!thread_ || WaitForSingleObject(ready_.get(), 10000) != WAIT_OBJECT_0 || !window_)
        Fail("cannot create the editor window");
}

EditorSink::~EditorSink() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_.get(), 10000);
}

void EditorSink::Show() {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    if (!WaitWithin(10000, LOOK_PAUSE_MS, [&] { return GetForegroundWindow() == window_; }))
        Fail("the editor window never came in front");
}

void EditorSink::DrainAndHide() {
    const LONG request = ++requests_;
    PostThreadMessageW(threadId_, DRAIN, static_cast<WPARAM>(request), 0);
    if (!WaitWithin(120000, LOOK_PAUSE_MS, [&] { return InterlockedCompareExchange(&drained_, 0, 0) == request; }))
        Fail("the editor window never handled its keys");
    ShowWindow(window_, SW_HIDE);
}

LRESULT CALLBACK EditorSink::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI EditorSink::Main(void* self) {
    static_cast<EditorSink*>(self)->Loop();
    return 0;
}

void EditorSink::Loop() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LinenavBenchEditor";
    RegisterClassW(&windowClass);
    // A window is destroyed by its own thread: the owner lives and ends here.
    OwnedWindow window(CreateWindowExW(0, L"LinenavBenchEditor", L"Quillo V5. bench editor", WS_OVERLAPPEDWINDOW, 40,
                                       40, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    window_ = window.get();
    SetEvent(ready_.get());
    LONG request = 0;
    MSG message;
    for (;;) {
        // Posted messages come before input, so the drain request is
        // answered only once the input queued before it is handled too.
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            if (message.message == DRAIN) {
                request = static_cast<LONG>(message.wParam);
                continue;
            }
            if (message.message == WM_KEYDOWN || message.message == WM_KEYUP) InterlockedIncrement(&keys_);
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        InterlockedExchange(&drained_, request);
        WaitMessage();
    }
}
