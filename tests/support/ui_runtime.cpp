#include "ui_runtime.h"

#include "base/runtime/memory.h"
#include "base/runtime/process.h"
#include "base/text/text.h"
#include "handler_log.h"
#include "key_spy.h"
#include "startup/runtime_order.h"
#include "wait.h"

#include <cstdio>
#include <functional>

namespace {

struct CodeName {
    int32_t code;
    const char* name;
};

constexpr CodeName CODES[] = {
    {EVENT_GADGET, "EVENT_GADGET"},
    {EVENT_MENU, "EVENT_MENU"},
    {EVENT_SYSTRAY, "EVENT_SYSTRAY"},
    {EVENT_ACTIVATE_WINDOW, "EVENT_ACTIVATE_WINDOW"},
    {EVENT_MINIMIZE_WINDOW, "EVENT_MINIMIZE_WINDOW"},
    {EVENT_MAXIMIZE_WINDOW, "EVENT_MAXIMIZE_WINDOW"},
    {EVENT_RESTORE_WINDOW, "EVENT_RESTORE_WINDOW"},
    {EVENT_TIMER, "EVENT_TIMER"},
    {EVENT_RIGHT_CLICK, "EVENT_RIGHT_CLICK"},
    {EVENT_LEFT_CLICK, "EVENT_LEFT_CLICK"},
    {EVENT_LEFT_DOUBLE_CLICK, "EVENT_LEFT_DOUBLE_CLICK"},
    {EVENT_DEACTIVATE_WINDOW, "EVENT_DEACTIVATE_WINDOW"},
    {EVENT_REPAINT, "EVENT_REPAINT"},
    {EVENT_CLOSE_WINDOW, "EVENT_CLOSE_WINDOW"},
    {EVENT_MOVE_WINDOW, "EVENT_MOVE_WINDOW"},
    {EVENT_SIZE_WINDOW, "EVENT_SIZE_WINDOW"},
};

bool IsEventCode(int64_t code) {
    for (const CodeName& entry : CODES)
        if (entry.code == code) return true;
    return false;
}

std::string TypeName(int32_t code, int64_t type) {
    if (code == EVENT_GADGET) {
        switch (type) {
        case EVENT_TYPE_FOCUS: return "EVENT_TYPE_FOCUS";
        case EVENT_TYPE_LOST_FOCUS: return "EVENT_TYPE_LOST_FOCUS";
        case EVENT_TYPE_RETURN_KEY: return "EVENT_TYPE_RETURN_KEY/EN_MAXTEXT";
        case EN_SETFOCUS_: return "EN_SETFOCUS";
        case EN_KILLFOCUS_: return "EN_KILLFOCUS";
        case EN_CHANGE_: return "EN_CHANGE";
        case EN_UPDATE_: return "EN_UPDATE";
        }
    }
    return std::to_string(type);
}

void RecordRaised() { EventRecorder::Raised().push_back(CurrentRecord()); }

} // namespace

EventRecord CurrentRecord() {
    const AppEvent& e = CurrentEvent();
    return {e.code, e.window, e.object, e.type};
}

std::string EventCodeName(int64_t code) {
    for (const CodeName& entry : CODES)
        if (entry.code == code) return entry.name;
    return std::to_string(code);
}

std::string EventName(const EventRecord& r) {
    return EventCodeName(r.code) + "(window " + std::to_string(r.window) + ", object " + std::to_string(r.object) +
           ", " + TypeName(r.code, r.type) + ")";
}

void UiRuntimeTest::SetUp() {
    ProcessInstance = GetModuleHandleW(nullptr);
    GeneralHeap = CreatePrivateHeap();
    StartTextArea();
    StartRuntime();
    EventRecorder::Clear();
}

void UiRuntimeTest::TearDown() {
    EndRuntime();
    EndTextArea();
    DestroyPrivateHeap(GeneralHeap);
    GeneralHeap = nullptr;
    // Leave no input or message behind for the next test.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

std::vector<EventRecord>& EventRecorder::Raised() {
    static std::vector<EventRecord> raised;
    return raised;
}

void EventRecorder::Bind() {
    for (const CodeName& entry : CODES) BindEventHandler(entry.code, RecordRaised);
}

void StartRecording() {
    DrainEvents();
    EventRecorder::Bind();
    EventRecorder::Clear();
    KeySpy::Seen().clear();
    HandlerLog().clear();
}

std::vector<EventRecord> DrainEvents() {
    std::vector<EventRecord> events;
    for (int guard = 0; guard < 100000; ++guard) {
        const int64_t result = WaitEvent(0);
        if (result == 0) break;
        if (IsEventCode(result)) events.push_back(CurrentRecord());
    }
    return events;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs, std::vector<EventRecord>* events) {
    return WaitUntil(
        [&] {
            for (int64_t result; (result = WaitEvent(0)) != 0;) {
                if (events && IsEventCode(result)) events->push_back(CurrentRecord());
                if (condition()) return true;
            }
            return condition();
        },
        timeoutMs);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    return PumpUntil(condition, timeoutMs, nullptr);
}

bool Activate(HWND window) {
    SetForegroundWindow(window);
    return PumpUntil([&] { return GetActiveWindow() == window && GetForegroundWindow() == window; });
}
