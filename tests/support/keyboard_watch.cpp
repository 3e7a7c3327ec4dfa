#include "keyboard_watch.h"

#include "base/platform/handles.h"

namespace {

KeyboardWatch::Watcher* current;

} // namespace

KeyboardWatch::KeyboardWatch(Watcher watcher) : watcher_(std::move(watcher)) {
    current = &watcher_;
    KernelHandle ready(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    thread_ = std::thread([this, event = ready.get()] {
        threadId_ = GetCurrentThreadId();
        HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, Hook, GetModuleHandleW(nullptr), 0);
        hooked_ = hook != nullptr;
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the thread's queue, for WM_QUIT
        SetEvent(event);
        while (hook && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
        if (hook) UnhookWindowsHookEx(hook);
    });
    WaitForSingleObject(ready.get(), 10000); // set by the thread before anything that could block
}

KeyboardWatch::~KeyboardWatch() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
    current = nullptr;
}

LRESULT CALLBACK KeyboardWatch::Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && current) (*current)(*reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
