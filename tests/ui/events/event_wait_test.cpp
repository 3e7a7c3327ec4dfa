// The event wait under the real platform: what WaitEvent hands out and when
// handlers run, posted events, the foreground window's number, and what a
// closed window leaves behind.
#include "base/runtime/registry.h"
#include "ui/events/event_wait.h"
#include "ui/gadgets/gadgets.h"
#include "ui/menus/menus.h"
#include "ui/windows/app_windows.h"
#include "ui/windows/shortcuts.h"

#include "support/fixture_client.h"
#include "support/handler_log.h"
#include "support/names.h"
#include "support/prompt_window.h"
#include "support/sequence.h"
#include "support/test_windows.h"
#include "support/ui_runtime.h"
#include "input.h"
#include "wait.h"
#include "support/test_hooks.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace {

// Window 0 in front with text field 2 in it, nothing focused yet; each test
// hands out what opening raised.
constexpr PromptGadgets UNFOCUSED_FIELD = {.focused = false};

// --- Records with the data field ----------------------------------------------

struct FullEvent {
    int32_t code;
    int64_t window;
    int64_t object;
    int64_t type;
    uint64_t data;
    bool operator==(const FullEvent&) const = default;
};

FullEvent CurrentFull() {
    const AppEvent& e = CurrentEvent();
    return {e.code, e.window, e.object, e.type, e.data};
}

std::string FullName(const FullEvent& e) {
    char data[32];
    std::snprintf(data, sizeof data, ", data 0x%" PRIX64, e.data);
    return EventName({e.code, e.window, e.object, e.type}) + data;
}

std::vector<FullEvent>& HandledFull() {
    static std::vector<FullEvent> handled;
    return handled;
}

void RecordFull() { HandledFull().push_back(CurrentFull()); }

// One WaitEvent call: its result, how many handler runs had happened by its
// end, and the current event after it.
struct WaitStep {
    int64_t result;
    size_t handled;
    FullEvent current;
    bool operator==(const WaitStep&) const = default;
};

std::string StepName(const WaitStep& s) {
    return "-> " + EventCodeName(s.result) + ", " + std::to_string(s.handled) + " handled, current " +
           FullName(s.current);
}

std::vector<WaitStep> WaitSteps(int calls) {
    std::vector<WaitStep> steps;
    for (int i = 0; i < calls; ++i) {
        const int64_t result = WaitEvent(0);
        steps.push_back({result, HandledFull().size(), CurrentFull()});
    }
    return steps;
}

class EventWaitTest : public UiRuntimeTest {
protected:
    void SetUp() override {
        UiRuntimeTest::SetUp();
        HandlerLog().clear();
        HandledFull().clear();
    }
};

// --- Handlers run when raised; WaitEvent hands the events out later -------------

struct FocusRun {
    EventRecord event;
    bool insideFocusCall;
    bool operator==(const FocusRun&) const = default;
};

std::string FocusRunName(const FocusRun& r) {
    return EventName(r.event) + (r.insideFocusCall ? " inside FocusGadget" : " after FocusGadget");
}

bool insideFocusCall;
std::vector<FocusRun>& FocusRuns() {
    static std::vector<FocusRun> runs;
    return runs;
}

void RecordFocusRun() { FocusRuns().push_back({CurrentRecord(), insideFocusCall}); }

using EventWaitQueue = EventWaitTest;

TEST_F(EventWaitQueue, FocusingAFieldRunsItsHandlerInsideTheCallAndQueuesTheEvents) {
    ASSERT_NE(OpenPrompt(UNFOCUSED_FIELD), nullptr);
    DrainEvents();
    FocusRuns().clear();
    BindEventHandler(EVENT_GADGET, RecordFocusRun);

    insideFocusCall = true;
    FocusGadget(2);
    insideFocusCall = false;

    const std::vector<FocusRun> expectedRuns = {{{EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS}, true},
                                                {{EVENT_GADGET, 0, 2, 0x100}, true}};
    EXPECT_TRUE(SameSequence(expectedRuns, FocusRuns(), FocusRunName));

    // Handing the queued events out makes no platform call and runs nothing.
    std::vector<EventRecord> handedOut;
    for (int guard = 0; guard < 10 && QueuedEventCount() > 0; ++guard) {
        EXPECT_EQ(WaitEvent(), EVENT_GADGET);
        handedOut.push_back({EVENT_GADGET, CurrentEvent().window, CurrentEventGadget(), CurrentEventType()});
    }
    const std::vector<EventRecord> expected = {{EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS}, {EVENT_GADGET, 0, 2, 0x100}};
    EXPECT_TRUE(SameSequence(expected, handedOut, EventName));
    EXPECT_EQ(FocusRuns().size(), 2u) << "no handler ran again";
}

TEST_F(EventWaitQueue, BeforeAnyWaitTheCurrentTypeIsZero) {
    EXPECT_EQ(CurrentEventType(), 0);
    EXPECT_EQ(CurrentEventGadget(), 0);
}

TEST_F(EventWaitQueue, QueuedEventsComeOutBeforeWaitingPlatformMessages) {
    DrainEvents();
    ASSERT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0));
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    RaiseEvent(EVENT_GADGET, 0, 2, 0x100);
    std::vector<int64_t> results;
    for (int i = 0; i < 4; ++i) results.push_back(WaitEvent(i < 2 ? -1 : 0));
    const std::vector<int64_t> expected = {EVENT_MENU, EVENT_GADGET, WM_APP + 1, 0};
    EXPECT_TRUE(SameSequence(expected, results, EventCodeName));
}

TEST_F(EventWaitQueue, APlatformMessageLeavesTypeMinusOneAndTheLastObject) {
    ASSERT_NE(OpenPrompt(UNFOCUSED_FIELD), nullptr);
    DrainEvents();
    FocusGadget(2);
    while (QueuedEventCount() > 0) WaitEvent(); // the last one: (EVENT_GADGET, 0, 2, 256)
    ASSERT_EQ(CurrentEventType(), 0x100);

    SendKey('A');
    std::vector<int64_t> results;
    bool keyDown = WaitUntil([&] {
        const int64_t result = WaitEvent(0);
        if (result) results.push_back(result);
        return result == WM_KEYDOWN;
    });
    ASSERT_TRUE(keyDown) << "results: " << ::testing::PrintToString(results);
    EXPECT_EQ(CurrentEventType(), -1);
    EXPECT_EQ(CurrentEventGadget(), 2);
    EXPECT_EQ(CurrentEvent().code, 0);
}

// --- Return in a field: translated by the active window's shortcuts or not ---------

struct ReturnCase {
    const char* name;
    bool shortcut;
    std::vector<std::string> expected;
};

void PrintTo(const ReturnCase& c, std::ostream* out) { *out << c.name; }

class EventWaitShortcut : public EventWaitTest, public ::testing::WithParamInterface<ReturnCase> {};

WNDPROC fieldProcedure;

LRESULT CALLBACK FieldSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN || message == WM_KEYUP) {
        HandlerLog().push_back("field " + MessageName(message) + " " + VirtualKeyName(static_cast<unsigned>(wParam)));
    } else if (message == WM_CHAR) {
        char unit[16];
        std::snprintf(unit, sizeof unit, " U+%04X", static_cast<unsigned>(wParam));
        HandlerLog().push_back("field WM_CHAR" + std::string(unit));
    }
    return CallWindowProcW(fieldProcedure, window, message, wParam, lParam);
}

// What a WaitEvent call handed out, for the key messages and menu events only.
bool LogKeyResult(int64_t result) {
    if (result == EVENT_MENU) HandlerLog().push_back("WaitEvent " + EventName(CurrentRecord()));
    else if (result == WM_KEYDOWN || result == WM_KEYUP || result == WM_CHAR)
        HandlerLog().push_back("WaitEvent " + MessageName(static_cast<unsigned>(result)));
    return result == WM_KEYUP;
}

void LogMenuEvent() { HandlerLog().push_back("raised " + EventName(CurrentRecord())); }

TEST_P(EventWaitShortcut, ReturnIsTranslatedOnlyWhenTheActiveWindowHasAShortcut) {
    ASSERT_NE(OpenPrompt(UNFOCUSED_FIELD), nullptr);
    FocusGadget(2);
    DrainEvents();
    if (GetParam().shortcut) {
        ASSERT_NE(AddShortcut(0, VK_RETURN, 10000), nullptr);
    }
    HWND field = Control(2);
    fieldProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FieldSpy)));
    BindEventHandler(EVENT_MENU, LogMenuEvent);

    SendKey(VK_RETURN);
    bool keyUp = WaitUntil([&] {
        for (int64_t result; (result = WaitEvent(0)) != 0;)
            if (LogKeyResult(result)) return true;
        return false;
    });
    SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(fieldProcedure));
    ASSERT_TRUE(keyUp);
    EXPECT_TRUE(SameSequence(GetParam().expected, HandlerLog(), LogLine));
}

const ReturnCase RETURN_CASES[] = {
    {"WithShortcut",
     true,
     {"raised EVENT_MENU(window 0, object 10000, 0)", "WaitEvent WM_KEYDOWN",
      "WaitEvent EVENT_MENU(window 0, object 10000, 0)", "field WM_KEYUP VK_RETURN", "WaitEvent WM_KEYUP"}},
    {"WithoutShortcut",
     false,
     {"field WM_KEYDOWN VK_RETURN", "WaitEvent WM_KEYDOWN", "field WM_CHAR U+000D", "WaitEvent WM_CHAR",
      "field WM_KEYUP VK_RETURN", "WaitEvent WM_KEYUP"}},
};

INSTANTIATE_TEST_SUITE_P(EventWait, EventWaitShortcut, ::testing::ValuesIn(RETURN_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Posted events --------------------------------------------------------------------

using EventWaitPost = EventWaitTest;

constexpr uint64_t POSTED_DATA = 0x123456789ABCDEF0;

TEST_F(EventWaitPost, APostedEventIsRaisedWhenTheWaitDispatchesItsMessage) {
    DrainEvents();
    BindEventHandler(EVENT_GADGET, RecordFull);
    EXPECT_EQ(PostAppEvent(EVENT_GADGET, 0, 2, EVENT_TYPE_RETURN_KEY, POSTED_DATA), 1);
    EXPECT_TRUE(HandledFull().empty()) << "nothing runs before a wait";
    EXPECT_EQ(QueuedEventCount(), 0);

    const int64_t post = PostMessageNumber();
    EXPECT_GE(post, 0xC000);
    EXPECT_LE(post, 0xFFFF);
    const FullEvent posted = {EVENT_GADGET, 0, 2, EVENT_TYPE_RETURN_KEY, POSTED_DATA};
    const std::vector<WaitStep> expected = {
        {post, 1, {0, 0, 0, -1, 0}},
        {EVENT_GADGET, 1, posted},
        {0, 1, {0, 0, 2, -1, POSTED_DATA}},
    };
    EXPECT_TRUE(SameSequence(expected, WaitSteps(3), StepName));
    EXPECT_TRUE(SameSequence(std::vector<FullEvent>{posted}, HandledFull(), FullName));
}

TEST_F(EventWaitPost, APostedEventComesAfterTheEventsQueuedBeforeItIsDispatched) {
    DrainEvents();
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    ASSERT_EQ(PostAppEvent(EVENT_GADGET, 0, 2, EVENT_TYPE_RETURN_KEY), 1);
    RaiseEvent(EVENT_GADGET, 0, 2, 0x100); // raised now, so ahead of the posted one
    std::vector<int64_t> results;
    for (int i = 0; i < 5; ++i) {
        results.push_back(WaitEvent(0));
        results.push_back(CurrentEventType());
    }
    const int64_t post = PostMessageNumber();
    const std::vector<int64_t> expected = {
        EVENT_MENU, 0, EVENT_GADGET, 0x100, post, -1, EVENT_GADGET, EVENT_TYPE_RETURN_KEY, 0, -1};
    EXPECT_TRUE(SameSequence(expected, results, [](int64_t v) { return std::to_string(v); }));
}

TEST_F(EventWaitPost, AnotherThreadCanPost) {
    DrainEvents();
    BindEventHandler(EVENT_MENU, RecordFull);
    int32_t posted = -1;
    std::thread poster([&] { posted = PostAppEvent(EVENT_MENU, 0, 10000, 0, 7); });
    poster.join();
    EXPECT_EQ(posted, 1);
    EXPECT_TRUE(HandledFull().empty());
    const FullEvent menu = {EVENT_MENU, 0, 10000, 0, 7};
    const std::vector<WaitStep> expected = {
        {PostMessageNumber(), 1, {0, 0, 0, -1, 0}},
        {EVENT_MENU, 1, menu},
        {0, 1, {0, 0, 10000, -1, 7}},
    };
    EXPECT_TRUE(SameSequence(expected, WaitSteps(3), StepName));
}

HWND PostWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM out) {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (std::wstring(name) == L"PostEventClass") *reinterpret_cast<HWND*>(out) = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

TEST_F(EventWaitPost, APostThePlatformRefusesReturnsZeroAndRaisesNothing) {
    DrainEvents();
    BindEventHandler(EVENT_GADGET, RecordFull);
    HWND postWindow = PostWindow();
    ASSERT_NE(postWindow, nullptr);
    EXPECT_FALSE(IsWindowVisible(postWindow)) << "the post window is never shown";
    ASSERT_TRUE(DestroyWindow(postWindow)); // PostMessageW to it now fails
    EXPECT_EQ(PostAppEvent(EVENT_GADGET, 0, 2, EVENT_TYPE_RETURN_KEY), 0);
    EXPECT_TRUE(DrainEvents().empty());
    EXPECT_TRUE(HandledFull().empty());
}

// --- Notifications posted from outside ------------------------------------------------

// A pointer that means nothing in this process; a notification as a control
// sends it; the message posted last, whose dispatch ends the pumping.
constexpr LPARAM FOREIGN = 1;
const NMHDR FROM_A_CONTROL = {};
constexpr UINT AFTER = WM_APP + 1;

// In front of a window's procedure: logs the notifications, null messages and
// AFTER it is given, and never passes the foreign pointer on: without the
// filter, the procedure behind would follow it and end the test program.
WNDPROC spiedProcedure;
LRESULT CALLBACK NotificationSpy(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) HandlerLog().push_back(lParam == FOREIGN ? "foreign WM_NOTIFY" : "WM_NOTIFY");
    if (message == WM_NULL || message == AFTER) HandlerLog().push_back(message == AFTER ? "after" : "WM_NULL");
    if (message == WM_NOTIFY && lParam == FOREIGN) return 0;
    return CallWindowProcW(spiedProcedure, window, message, wParam, lParam);
}

// Loops like the system's: a plain one (a dialog box, moving a window), and
// one that dispatches the message it looked at before removing it (Wine's
// menu loop of old).
void PumpPlainly() {
    MSG message;
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}
void PumpLookingFirst() {
    MSG message;
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) return;
    DispatchMessageW(&message);
    PeekMessageW(&message, nullptr, message.message, message.message, PM_REMOVE);
}
void PumpTheWait() { WaitEvent(0); }

// A newer hook of the thread that ends the chain: the filter never runs.
LRESULT CALLBACK EndTheChain(int code, WPARAM wParam, LPARAM lParam) {
    return code < 0 ? CallNextHookEx(nullptr, code, wParam, lParam) : 0;
}

void Spy(HWND window) {
    spiedProcedure =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NotificationSpy)));
}

// Memory the window procedure must not read: a read clears the guard.
struct GuardPage {
    void* at = VirtualAlloc(nullptr, 1, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE | PAGE_GUARD);
    ~GuardPage() { VirtualFree(at, 0, MEM_RELEASE); }
    bool Read() const {
        MEMORY_BASIC_INFORMATION page = {};
        return VirtualQuery(at, &page, sizeof page) && !(page.Protect & PAGE_GUARD);
    }
};

enum class Way { POSTED, SENT_HERE, SENT_FROM_A_THREAD };

// Notifies `window` the way given with `pointer`, posts AFTER, and pumps until
// AFTER has been dispatched `afters` times in all.
bool NotifyAndPump(HWND window, void (*pump)(), int afters, Way way = Way::POSTED, LPARAM pointer = FOREIGN) {
    if (way == Way::SENT_HERE) SendMessageW(window, WM_NOTIFY, 0, pointer);
    if (way == Way::SENT_FROM_A_THREAD)
        std::thread([&] {
            SendMessageCallbackW(
                window, WM_NOTIFY, 0, pointer, [](HWND, UINT, ULONG_PTR, LRESULT) {}, 0);
        }).join();
    if (way == Way::POSTED && !PostMessageW(window, WM_NOTIFY, 0, pointer)) return false;
    return PostMessageW(window, AFTER, 0, 0) && WaitUntil([&] {
               pump();
               return std::count(HandlerLog().begin(), HandlerLog().end(), "after") == afters;
           });
}

struct NotificationCase {
    const char* name;
    void (*pump)();
    Way way;
    bool filterEnded;
    std::vector<std::string> expected;
};

void PrintTo(const NotificationCase& c, std::ostream* out) { *out << c.name; }

class EventWaitNotification : public EventWaitTest, public ::testing::WithParamInterface<NotificationCase> {};

TEST_P(EventWaitNotification, OnlyANotificationSentOnTheThreadGetsThrough) {
    HWND window = OpenPrompt(UNFOCUSED_FIELD);
    ASSERT_NE(window, nullptr);
    DrainEvents();
    HookHandle chainEnd(GetParam().filterEnded
                            ? SetWindowsHookExW(WH_GETMESSAGE, EndTheChain, nullptr, GetCurrentThreadId())
                            : nullptr);
    Spy(window);
    const GuardPage elsewhere;
    const Way way = GetParam().way;
    const LPARAM pointer = way == Way::POSTED      ? FOREIGN
                           : way == Way::SENT_HERE ? reinterpret_cast<LPARAM>(&FROM_A_CONTROL)
                                                   : reinterpret_cast<LPARAM>(elsewhere.at);
    ASSERT_TRUE(NotifyAndPump(window, GetParam().pump, 1, way, pointer));
    EXPECT_TRUE(SameSequence(GetParam().expected, HandlerLog(), LogLine));
    EXPECT_FALSE(elsewhere.Read()) << "the window procedure followed another thread's pointer";
}

const NotificationCase NOTIFICATION_CASES[] = {
    {"PostedTakenByTheWait", PumpTheWait, Way::POSTED, false, {"WM_NULL", "after"}},
    {"PostedTakenByAPlainLoop", PumpPlainly, Way::POSTED, false, {"WM_NULL", "after"}},
    {"PostedTakenByALoopThatLooksFirst", PumpLookingFirst, Way::POSTED, false, {"WM_NULL", "after"}},
    // The wait's own check, for when the filter could not be set.
    {"PostedTakenByTheWaitWithoutTheFilter", PumpTheWait, Way::POSTED, true, {"after"}},
    {"SentOnThisThread", PumpPlainly, Way::SENT_HERE, false, {"WM_NOTIFY", "after"}},
    // Taken by the window procedure behind the spy, which must not follow it.
    {"SentFromAnotherThreadWithACallback", PumpPlainly, Way::SENT_FROM_A_THREAD, false, {"WM_NOTIFY", "after"}},
};

INSTANTIATE_TEST_SUITE_P(EventWait, EventWaitNotification, ::testing::ValuesIn(NOTIFICATION_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventWaitPost, TheNotificationFilterLivesFromStartEventsToEndEvents) {
    PlainWindow plain;
    Spy(plain.handle);
    ASSERT_TRUE(NotifyAndPump(plain.handle, PumpPlainly, 1));
    EndEvents();
    const bool pumped = NotifyAndPump(plain.handle, PumpPlainly, 2);
    StartEvents(); // as the fixture's shutdown expects
    ASSERT_TRUE(pumped);
    const std::vector<std::string> expected = {"WM_NULL", "after", "foreign WM_NOTIFY", "after"};
    EXPECT_TRUE(SameSequence(expected, HandlerLog(), LogLine));
}

// --- Waiting for nothing ---------------------------------------------------------------

struct TimeoutCase {
    const char* name;
    int32_t timeout;
    double atLeastMs;
    double belowMs;
};

void PrintTo(const TimeoutCase& c, std::ostream* out) { *out << c.name; }

class EventWaitTimeout : public EventWaitTest, public ::testing::WithParamInterface<TimeoutCase> {};

double NowMs() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

TEST_P(EventWaitTimeout, ReturnsZeroWhenNothingArrives) {
    DrainEvents();
    const double start = NowMs();
    EXPECT_EQ(WaitEvent(GetParam().timeout), 0);
    const double elapsed = NowMs() - start;
    EXPECT_GE(elapsed, GetParam().atLeastMs);
    EXPECT_LT(elapsed, GetParam().belowMs);
}

const TimeoutCase TIMEOUT_CASES[] = {
    {"PollOnly", 0, 0.0, 1e12}, // that it never waits: APollNeverWaitsForAMessage
    // Timer granularity may end a wait a hair early.
    {"Fifty", 50, 45.0, 5000.0},
};

INSTANTIATE_TEST_SUITE_P(EventWait, EventWaitTimeout, ::testing::ValuesIn(TIMEOUT_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EventWaitTimeout, AMessageThatArrivesWhileWaitingEndsTheWait) {
    DrainEvents();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, nullptr);
    ASSERT_NE(timer, 0u);
    const int64_t result = WaitEvent(5000);
    KillTimer(nullptr, timer);
    EXPECT_EQ(result, WM_TIMER);
}

TEST_F(EventWaitTimeout, APollNeverWaitsForAMessage) {
    DrainEvents();
    // Were the poll to wait for a message, only the watchdog's would end it,
    // however busy the machine is.
    const DWORD self = GetCurrentThreadId();
    KernelHandle returned(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    bool rescued = false;
    std::thread watchdog([&] {
        if (WaitForSingleObject(returned.get(), DEFAULT_WAIT_MS) != WAIT_TIMEOUT) return;
        rescued = true;
        PostThreadMessageW(self, WM_APP, 0, 0);
    });
    const int64_t result = WaitEvent(0);
    SetEvent(returned.get());
    watchdog.join();
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(rescued) << "the poll waited for a message";
}

class EventWaitQuit : public EventWaitTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(EventWaitQuit, AQuitMessageIsProcessedAndReturnedLikeAnyOther) {
    DrainEvents();
    PostQuitMessage(0);
    const std::vector<int64_t> results = {WaitEvent(GetParam()), WaitEvent(0)};
    EXPECT_TRUE(SameSequence(std::vector<int64_t>{WM_QUIT, 0}, results, EventCodeName));
}

INSTANTIATE_TEST_SUITE_P(EventWait, EventWaitQuit, ::testing::Values(-1, 0, 50), [](const auto& info) {
    return info.param == -1 ? std::string("WithoutLimit") : "Timeout" + std::to_string(info.param);
});

// --- The foreground window's number -----------------------------------------------------

enum class Front { OwnNumbered, OwnGenerated, OwnUnnumbered, OtherProcess };

struct ForegroundCase {
    const char* name;
    Front front;
    int64_t number; // the window to open, for OwnNumbered
};

void PrintTo(const ForegroundCase& c, std::ostream* out) { *out << c.name; }

class EventWaitForeground : public EventWaitTest, public ::testing::WithParamInterface<ForegroundCase> {};

TEST_P(EventWaitForeground, GivesTheNumberOfOurForegroundWindowOrMinusOne) {
    const ForegroundCase& c = GetParam();
    // Our own numbered window is open in every case, if not always in front.
    ASSERT_NE(
        OpenAppWindow(c.number, PROMPT_LEFT, PROMPT_TOP, PROMPT_WIDTH, PROMPT_HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS),
        0);
    int64_t expected = -1;
    FixtureEditor editor;
    std::optional<PlainWindow> plain;
    switch (c.front) {
    case Front::OwnNumbered:
        ASSERT_TRUE(Activate(WindowHandle(c.number)));
        expected = c.number;
        break;
    case Front::OwnGenerated: {
        const int64_t generated = OpenAppWindow(NEW_OBJECT, 300, 50, 120, 60, L"Generated", DEFAULT_WINDOW_FLAGS);
        ASSERT_NE(generated, 0);
        ASSERT_TRUE(Activate(WindowHandle(generated)));
        expected = generated;
        break;
    }
    case Front::OwnUnnumbered:
        plain.emplace(300, 50);
        ASSERT_NE(plain->handle, nullptr);
        ASSERT_TRUE(Activate(plain->handle));
        break;
    case Front::OtherProcess:
        ASSERT_TRUE(Activate(WindowHandle(c.number)));
        ASSERT_TRUE(editor.Start(FixtureOptions{}));
        ASSERT_TRUE(editor.MakeForeground());
        break;
    }
    EXPECT_EQ(ForegroundAppWindow(), expected);
}

const ForegroundCase FOREGROUND_CASES[] = {
    {"WindowZero", Front::OwnNumbered, 0},       {"WindowSeven", Front::OwnNumbered, 7},
    {"GeneratedNumber", Front::OwnGenerated, 0}, {"OwnWindowWithoutNumber", Front::OwnUnnumbered, 0},
    {"AnotherProcess", Front::OtherProcess, 0},
};

INSTANTIATE_TEST_SUITE_P(EventWait, EventWaitForeground, ::testing::ValuesIn(FOREGROUND_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Closing a window -------------------------------------------------------------------

// Window 0 in front, window 1 open but hidden (so closing 0 activates no
// window of ours), with bindings of both and for all windows, and events of
// both waiting.
bool OpenTwoWindowsWithBindingsAndEvents() {
    if (!OpenPrompt(UNFOCUSED_FIELD)) return false;
    if (!OpenAppWindow(1, 300, 50, 120, 60, L"Other", DEFAULT_WINDOW_FLAGS | OPEN_HIDDEN)) return false;
    DrainEvents();
    BindEventHandler(EVENT_MENU, LoggingHandler(0, "window 0, item 10000"), 0, 10000, 0);
    BindEventHandler(EVENT_MENU, LoggingHandler(1, "window 0, any item"), 0, -1, -1);
    BindEventHandler(EVENT_MENU, LoggingHandler(2, "window 1, item 10000"), 1, 10000, 0);
    BindEventHandler(EVENT_MENU, LoggingHandler(3, "any window"));
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    RaiseEvent(EVENT_MENU, 1, 10000, 0);
    RaiseEvent(EVENT_GADGET, 0, 2, 0x100);
    RaiseEvent(EVENT_GADGET, 1, 5, 0x100);
    RaiseEvent(EVENT_SIZE_WINDOW, 0, 0, 0);
    HandlerLog().clear();
    return true;
}

using EventWaitClose = EventWaitTest;

TEST_F(EventWaitClose, ClosingAWindowDropsItsQueuedEvents) {
    ASSERT_TRUE(OpenTwoWindowsWithBindingsAndEvents());
    CloseAppWindow(0);
    std::vector<EventRecord> left;
    for (int guard = 0; guard < 20 && QueuedEventCount() > 0; ++guard) {
        WaitEvent();
        left.push_back(CurrentRecord());
    }
    const std::vector<EventRecord> expected = {{EVENT_MENU, 1, 10000, 0}, {EVENT_GADGET, 1, 5, 0x100}};
    EXPECT_TRUE(SameSequence(expected, left, EventName));
}

struct CloseCase {
    const char* name;
    EventRecord probe;
    std::vector<std::string> expected;
};

void PrintTo(const CloseCase& c, std::ostream* out) { *out << c.name; }

class EventWaitCloseBindings : public EventWaitTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(EventWaitCloseBindings, ClosingAWindowUnbindsItsOwnHandlersOnly) {
    ASSERT_TRUE(OpenTwoWindowsWithBindingsAndEvents());
    CloseAppWindow(0);
    HandlerLog().clear();
    const EventRecord& e = GetParam().probe;
    RaiseEvent(e.code, e.window, e.object, e.type);
    EXPECT_TRUE(SameSequence(GetParam().expected, HandlerLog(), LogLine));
}

const CloseCase CLOSE_CASES[] = {
    {"ClosedWindow", {EVENT_MENU, 0, 10000, 0}, {"any window"}},
    {"OtherWindow", {EVENT_MENU, 1, 10000, 0}, {"window 1, item 10000", "any window"}},
};

INSTANTIATE_TEST_SUITE_P(EventWait, EventWaitCloseBindings, ::testing::ValuesIn(CLOSE_CASES),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
