// A low-level keyboard hook on a thread of the test's own that pumps
// messages. The hook sees every key event before the system queues it, and
// the sender's SendInput waits until the hook has returned: a test can count
// the events a sender makes, or hold one of them while something else
// happens. Keep a hold short: the system skips a hook that takes too long.
#pragma once

#include <functional>
#include <thread>
#include <windows.h>

class KeyboardWatch {
public:
    using Watcher = std::function<void(const KBDLLHOOKSTRUCT&)>;

    // Calls `watcher` on the hook's thread for every key event, until the
    // watch ends. One watch at a time.
    explicit KeyboardWatch(Watcher watcher);
    ~KeyboardWatch();
    KeyboardWatch(const KeyboardWatch&) = delete;
    KeyboardWatch& operator=(const KeyboardWatch&) = delete;

    bool watching() const { return hooked_; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    Watcher watcher_;
    std::thread thread_;
    DWORD threadId_ = 0;
    bool hooked_ = false;
};
