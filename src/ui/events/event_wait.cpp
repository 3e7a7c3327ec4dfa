// The platform side of events: the one blocking call of the user interface,
// posted events through a hidden window, and the foreground window's number.
#include "ui/events/event_wait.h"

#include "base/platform/handles.h"
#include "base/runtime/memory.h"
#include "base/runtime/process.h"
#include "base/system/trace.h"

#include <new>
#include <windows.h>

namespace {

constexpr const wchar_t* POST_WINDOW_CLASS = L"PostEventClass";
constexpr const wchar_t* POST_MESSAGE_NAME = L"LinenavPostedEvent";
constexpr DWORD ALL_INPUT = QS_ALLINPUT | QS_ALLPOSTMESSAGE;
// Built for Windows 8 or later, QS_ALLINPUT also holds QS_TOUCH and
// QS_POINTER, bits that Windows 7 does not know and rejects in a wake mask:
// the wait would fail at once instead of waiting.
static_assert(ALL_INPUT == 0x5FF, "no wake bit that Windows 7 lacks");

// What the event component creates itself, from StartEvents to EndEvents.
struct EventResources {
    WindowClass postClass;   // unregistered after the post window is destroyed
    OwnedWindow postWindow;  // only EndEvents destroys it
    HookHandle postedFilter; // null when it could not be set
};
EventResources* resources;
UINT postMessage;
WindowHooks windowHooks; // empty until StartWindows

// The record a posted event travels in; freed by the post window procedure.
struct PostedEvent {
    PostedEvent* next; // in the list of records posted and not yet consumed
    AppEvent event;
};

// Any program on the desktop can post the registered message to the post
// window with any lParam. Only records this process posted, and has not
// consumed yet, are ever read: the lParam is compared with their addresses,
// never followed. PostAppEvent may run on any thread, hence the lock.
SRWLOCK outstandingLock = SRWLOCK_INIT;
PostedEvent* outstanding;

void Remember(PostedEvent* posted) {
    AcquireSRWLockExclusive(&outstandingLock);
    posted->next = outstanding;
    outstanding = posted;
    ReleaseSRWLockExclusive(&outstandingLock);
}

// The outstanding record at `address`, taken off the list; null for any
// other value.
PostedEvent* TakeOutstanding(LPARAM address) {
    PostedEvent* found = nullptr;
    AcquireSRWLockExclusive(&outstandingLock);
    for (PostedEvent** link = &outstanding; *link; link = &(*link)->next) {
        if (reinterpret_cast<LPARAM>(*link) == address) {
            found = *link;
            *link = found->next;
            break;
        }
    }
    ReleaseSRWLockExclusive(&outstandingLock);
    return found;
}

LRESULT CALLBACK PostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == postMessage && postMessage) {
        if (PostedEvent* posted = TakeOutstanding(lParam)) {
            RaiseFullEvent(posted->event);
            FreeGeneralBlock(posted);
        }
    }
    // Only EndEvents destroys the post window; a close request from outside
    // would leave the program's own posted events without a receiver.
    if (message == WM_CLOSE) return 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

// Notifications are sent, never posted: controls send theirs on their
// window's thread. A posted WM_NOTIFY comes from another program, and the
// window procedure would follow its pointer. The wait is not the only loop
// that takes posted messages from the queue: the system's own (its menus,
// moving a window, a message box) dispatch them too. This hook runs inside
// every GetMessageW and PeekMessageW of the thread, whichever loop calls it,
// before the message is dispatched, and makes the notification WM_NULL,
// which every window ignores. Sent messages never pass it. Under PM_NOREMOVE
// it changes only the caller's copy, which a loop that looks before it removes
// may dispatch; the queued message passes it again when it is removed.
LRESULT CALLBACK FilterPostedMessage(int code, WPARAM removal, LPARAM lParam) {
    auto* message = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && message->message == WM_NOTIFY) message->message = WM_NULL;
    return CallNextHookEx(nullptr, code, removal, lParam);
}

// One platform message: taken by the window layer (a shortcut of the active
// window), or passed on to its window.
void ProcessMessage(MSG& message) {
    // The filter has made a posted notification WM_NULL already; this holds
    // for the wait's own messages when the filter could not be set.
    if (message.message == WM_NOTIFY) return;
    if (windowHooks.takeMessage && windowHooks.takeMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

} // namespace

int64_t WaitEvent(int32_t timeout) {
    if (int64_t code = TakeQueuedEvent()) return code;

    MSG message;
    if (timeout == -1) {
        // A quit message (0) is processed like any other; a failure (-1)
        // filled nothing, so there is nothing to process.
        if (GetMessageW(&message, nullptr, 0, 0) == -1) return 0;
    } else if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
        if (timeout == 0) return 0;
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout), ALL_INPUT) == WAIT_TIMEOUT)
            return 0;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return 0;
    }
    ProcessMessage(message);
    return static_cast<int32_t>(message.message);
}

int64_t ForegroundAppWindow() {
    HWND foreground = GetForegroundWindow();
    if (!foreground) return -1;
    DWORD process = 0;
    if (!GetWindowThreadProcessId(foreground, &process) || process != GetCurrentProcessId()) return -1;
    return windowHooks.windowNumber ? windowHooks.windowNumber(foreground) : -1;
}

int32_t PostAppEvent(int32_t code, int64_t window, int64_t object, int64_t type, uint64_t data) {
    auto* posted = static_cast<PostedEvent*>(RuntimeRecord(sizeof(PostedEvent)));
    posted->event = AppEvent{code, object, window, type, data};
    // Listed before it is posted: the window's thread may take the message
    // before PostMessageW has returned here.
    Remember(posted);
    HWND postWindow = resources ? resources->postWindow.get() : nullptr;
    if (!postWindow ||
        CALL_FAILED(PostMessageW(postWindow, postMessage, 0, reinterpret_cast<LPARAM>(posted)), "PostMessageW")) {
        if (TakeOutstanding(reinterpret_cast<LPARAM>(posted))) FreeGeneralBlock(posted);
        return 0;
    }
    return 1;
}

void SetWindowHooks(const WindowHooks& hooks) { windowHooks = hooks; }

unsigned PostMessageNumber() { return postMessage; }

void StartEvents() {
    WNDCLASSW windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = PostWindowProcedure;
    windowClass.hInstance = ProcessInstance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = POST_WINDOW_CLASS;
    // Without the post window no posted event ever arrives: the prompt could
    // never take its Return key.
    resources = new (RuntimeRecord(sizeof(EventResources))) EventResources;
    resources->postClass.reset(RegisterClassW(&windowClass));
    if (CALL_FAILED(resources->postClass || GetLastError() == ERROR_CLASS_ALREADY_EXISTS, "RegisterClassW"))
        StopOnFailedStart();
    resources->postWindow.reset(CreateWindowExW(0, POST_WINDOW_CLASS, nullptr, WS_CAPTION, 0, 0, 1, 1, nullptr, nullptr,
                                                ProcessInstance, nullptr));
    if (CALL_FAILED(resources->postWindow, "CreateWindowExW")) StopOnFailedStart();
    // The thread that starts the events runs every loop of the program. The
    // runtime works without the filter; only the system's loops then pass a
    // posted notification on.
    resources->postedFilter.reset(SetWindowsHookExW(WH_GETMESSAGE, FilterPostedMessage, nullptr, GetCurrentThreadId()));
    CALL_FAILED(resources->postedFilter, "SetWindowsHookExW");
    postMessage = RegisterWindowMessageW(POST_MESSAGE_NAME);
    if (CALL_FAILED(postMessage, "RegisterWindowMessageW")) StopOnFailedStart();
    outstanding = nullptr; // a list left by an earlier run lived in a heap that is gone
    StartEventQueue();
}

void EndEvents() {
    if (resources) {
        resources->~EventResources(); // removes the filter, destroys the post window, unregisters its class
        FreeGeneralBlock(resources);
        resources = nullptr;
    }
    // Records still on their way go with their messages.
    AcquireSRWLockExclusive(&outstandingLock);
    PostedEvent* left = outstanding;
    outstanding = nullptr;
    ReleaseSRWLockExclusive(&outstandingLock);
    while (PostedEvent* posted = left) {
        left = posted->next;
        FreeGeneralBlock(posted);
    }
}
