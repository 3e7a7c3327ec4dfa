// The whole runtime started as the tool starts it, for tests of windows,
// gadgets, menus and events under Wine; plus a recorder of events and waits
// that take the thread's messages meanwhile.
#pragma once

#include "ui/events/event_wait.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <vector>
#include <windows.h>

// One event: as raised (handlers ran) or as handed out by WaitEvent.
struct EventRecord {
    int32_t code;
    int64_t window;
    int64_t object;
    int64_t type;
    bool operator==(const EventRecord&) const = default;
};
using Events = std::vector<EventRecord>;

// Gadget event types that carry a text field's EN_ notification code in their
// high word (named apart from the platform's macros).
constexpr int64_t EN_SETFOCUS_ = 0x100, EN_KILLFOCUS_ = 0x200, EN_CHANGE_ = 0x300, EN_UPDATE_ = 0x400;

// The event a gadget raises in a window the test made without a number.
inline EventRecord Gadget(int64_t gadget, int64_t type) { return {EVENT_GADGET, 0, gadget, type}; }

// The current event (CurrentEvent) as a record.
EventRecord CurrentRecord();

std::string EventCodeName(int64_t code);
std::string EventName(const EventRecord& record);

// Starts the general heap, the text area and every runtime component in their
// fixed order; stops them in reverse afterwards.
class UiRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Records every event whose handlers run (bound for all windows, objects and
// types of every event code), in the order they ran.
class EventRecorder {
public:
    // Binds the recorder for every event code; call once per test after the
    // runtime has started.
    static void Bind();
    static std::vector<EventRecord>& Raised();
    static void Clear() { Raised().clear(); }
};

// Recording from here: hands out and forgets whatever is pending, binds the
// recorder, and forgets what it, the key spy (key_spy.h) and the handler log
// (handler_log.h) hold so far.
void StartRecording();

// Calls WaitEvent(0) until the queue and the platform queue are empty,
// returning the events it handed out (message numbers are skipped).
std::vector<EventRecord> DrainEvents();

// Pumps with WaitEvent until `condition` holds or `timeoutMs` passes. Also
// the wait to give the pointer helpers (input.h): the windows these tests
// point at belong to the test's own thread, and the pointer over them moves
// only while that thread takes its messages.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 10000);
// The same, appending the events handed out meanwhile to *events.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs, std::vector<EventRecord>* events);

// Brings a top-level window of this process to the front and waits for it to
// be active.
bool Activate(HWND window);
