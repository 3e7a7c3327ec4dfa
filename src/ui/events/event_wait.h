// The platform side of events: the one blocking call of the user interface,
// events posted from any thread through a hidden window, and the foreground
// window's number.
#pragma once

#include "ui/events/dispatch.h"

#include <cstdint>
#include <windows.h>

// Takes the oldest queued event, or waits for one platform message and
// processes it: -1 waits without limit, 0 only looks, a positive timeout waits
// that many milliseconds. The event code, the message number, or 0.
int64_t WaitEvent(int32_t timeout = -1);
// The number of the program's window that is in front, or -1.
int64_t ForegroundAppWindow();
// Queues an event through the post window; callable from any thread. 1 when
// posted, 0 when not.
int32_t PostAppEvent(int32_t code, int64_t window = 0, int64_t object = 0, int64_t type = 0, uint64_t data = 0);

// The window layer's part in the wait. The windows lie above the events, so
// the wait names none of their functions: StartWindows fills this table and
// EndWindows empties it. Each entry is called where the wait would call the
// window function itself; an empty entry is skipped.
struct WindowHooks {
    // Offers a message the wait took, before it is translated and dispatched
    // (the active window's shortcuts); true when it was consumed.
    bool (*takeMessage)(MSG& message);
    // The number of `window` when it is one of the runtime's windows, or -1.
    int64_t (*windowNumber)(HWND window);
};
void SetWindowHooks(const WindowHooks& hooks);

// The post window, its class and message, and the event queue.
void StartEvents();
void EndEvents();
