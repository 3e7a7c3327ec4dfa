// Events: what happens to the program's windows, gadgets, menus and shortcuts.
//
// Raising an event queues it (unless the identical event already waits at the
// tail) and runs its bound handlers at once, nested inside whatever raised it,
// with the current-event accessors showing it. WaitEvent later hands the same
// event out of the queue without running its handlers again.
#pragma once

#include <cstdint>

// Event codes.
constexpr int32_t EVENT_GADGET = 13100;
constexpr int32_t EVENT_MENU = 13101;
constexpr int32_t EVENT_SYSTRAY = 13102;
constexpr int32_t EVENT_ACTIVATE_WINDOW = 13104;
constexpr int32_t EVENT_MINIMIZE_WINDOW = 13107;
constexpr int32_t EVENT_MAXIMIZE_WINDOW = 13108;
constexpr int32_t EVENT_RESTORE_WINDOW = 13109;
constexpr int32_t EVENT_TIMER = 13110;
constexpr int32_t EVENT_RIGHT_CLICK = 13111;
constexpr int32_t EVENT_LEFT_CLICK = 13112;
constexpr int32_t EVENT_LEFT_DOUBLE_CLICK = 13113;
constexpr int32_t EVENT_DEACTIVATE_WINDOW = 13114;
constexpr int32_t EVENT_REPAINT = 13115;
constexpr int32_t EVENT_CLOSE_WINDOW = 13116;
constexpr int32_t EVENT_MOVE_WINDOW = 13117;
constexpr int32_t EVENT_SIZE_WINDOW = 13118;

// Types of EVENT_GADGET. Any other type below 65536 is the control's own
// notification code, unchanged.
constexpr int64_t EVENT_TYPE_FOCUS = 14000;
constexpr int64_t EVENT_TYPE_LOST_FOCUS = 14001;
constexpr int64_t EVENT_TYPE_RETURN_KEY = 1281; // also a text field's EN_MAXTEXT

// In bindings and drops: matches every window, object or type.
constexpr int64_t EVENT_ANY = -1;
// Events whose code is below this are not queued twice in a row.
constexpr int32_t EVENT_DEDUPLICATED_BELOW = 65536;

struct AppEvent {
    int32_t code; // never 0: WaitEvent reads 0 as an empty queue
    int64_t object;
    int64_t window; // -1 when the event belongs to no window
    int64_t type;
    uint64_t data; // carried unchanged from PostAppEvent
};

// A handler reads the event through the accessors; it takes no arguments.
using EventHandler = void (*)();

void StartEventQueue(); // the current event, the empty queue and handler table
void RaiseEvent(int32_t code, int64_t window, int64_t object, int64_t type);
void RaiseFullEvent(const AppEvent& event); // with data, for posted events
// 1 if bound; 0 if this handler was already bound under this key.
int32_t BindEventHandler(int32_t code, EventHandler handler, int64_t window = EVENT_ANY, int64_t object = EVENT_ANY,
                         int64_t type = EVENT_ANY);
void UnbindWindowHandlers(int64_t window);
void DropQueuedEvents(int32_t code, int64_t window, int64_t object, int64_t type);
void DropWindowEvents(int64_t window);

// Takes the oldest queued event into the current event and returns its code,
// or 0 when the queue is empty (the current event then has code 0 and type -1).
int64_t TakeQueuedEvent();

int64_t CurrentEventType();
int64_t CurrentEventGadget();
const AppEvent& CurrentEvent();

// The binding key of (code, window, object, type): "%d:%I64d:%I64d:%I64d".
// Writes at most 75 units with the terminator; returns the length.
int32_t FormatBindingKey(char* out, int32_t code, int64_t window, int64_t object, int64_t type);
// The sdbm hash over a key's units (the key is ASCII, so its UTF-16 units
// are its bytes); the bucket is the hash modulo 1024.
uint32_t BindingKeyHash(const char* key);
constexpr int32_t HANDLER_TABLE_BUCKETS = 1024;
constexpr int32_t BINDING_KEY_UNITS = 76;
