// Numbered windows under Wine: what opening, closing and reusing a number do
// to the platform window, and which events the window's messages raise.
#include "ui/gadgets/gadgets.h"
#include "ui/menus/menus.h"
#include "ui/windows/app_windows.h"
#include "ui/windows/shortcuts.h"

#include "base/runtime/process.h"
#include "base/platform/handles.h"
#include "base/runtime/registry.h"
#include "support/names.h"
#include "support/prompt_window.h"
#include "support/sequence.h"
#include "support/test_windows.h"
#include "support/ui_runtime.h"
#include "input.h"
#include "text_helpers.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int32_t LEFT = PROMPT_LEFT, TOP = PROMPT_TOP, WIDTH = PROMPT_WIDTH, HEIGHT = PROMPT_HEIGHT;
constexpr PromptGadgets NO_FIELD = {.field = false};

EventRecord Activated(int64_t window) { return {EVENT_ACTIVATE_WINDOW, window, 0, 0}; }
EventRecord Deactivated(int64_t window) { return {EVENT_DEACTIVATE_WINDOW, window, 0, 0}; }
EventRecord Repainted(int64_t window) { return {EVENT_REPAINT, window, 0, 0}; }
EventRecord Gadget(int64_t window, int64_t gadget, int64_t type) { return {EVENT_GADGET, window, gadget, type}; }

SIZE ClientSize(HWND window) {
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right - client.left, client.bottom - client.top};
}

POINT OuterTopLeft(HWND window) {
    RECT outer = {};
    GetWindowRect(window, &outer);
    return {outer.left, outer.top};
}

bool CompositionOn() {
    const LibraryHandle dwm(LoadLibraryW(L"dwmapi.dll"));
    if (!dwm) return false;
    using Query = HRESULT(WINAPI*)(BOOL*);
    auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(dwm.get(), "DwmIsCompositionEnabled")));
    BOOL enabled = FALSE;
    return query && SUCCEEDED(query(&enabled)) && enabled;
}

// Activates a window and returns every event the queue hands out meanwhile
// and afterwards: waiting with WaitEvent takes events out of the queue.
Events ActivateCollecting(HWND window) {
    Events handed;
    SetForegroundWindow(window);
    EXPECT_TRUE(
        PumpUntil([&] { return GetActiveWindow() == window && GetForegroundWindow() == window; }, 10000, &handed));
    for (const EventRecord& r : DrainEvents()) handed.push_back(r);
    return handed;
}

bool Raised(const EventRecord& event) {
    for (const EventRecord& r : EventRecorder::Raised())
        if (r == event) return true;
    return false;
}

int Count(int32_t code) {
    int count = 0;
    for (const EventRecord& r : EventRecorder::Raised()) count += r.code == code;
    return count;
}

// Messages of interest one window receives, recorded by a hook on the
// thread's sent messages and on the messages it takes from its queue.
struct Message {
    UINT message;
    WPARAM wParam;
    bool operator==(const Message&) const = default;
};

std::string MessageName(const Message& m) {
    char wParam[32];
    std::snprintf(wParam, sizeof wParam, " 0x%llX", static_cast<unsigned long long>(m.wParam));
    return ::MessageName(m.message) + wParam;
}

class MessageHook {
public:
    MessageHook(HWND window, std::vector<UINT> messages) {
        Window() = window;
        Wanted() = std::move(messages);
        Seen().clear();
        sent_.reset(SetWindowsHookExW(WH_CALLWNDPROC, OnSent, nullptr, GetCurrentThreadId()));
        posted_.reset(SetWindowsHookExW(WH_GETMESSAGE, OnPosted, nullptr, GetCurrentThreadId()));
    }
    static std::vector<Message>& Seen() {
        static std::vector<Message> seen;
        return seen;
    }
    static bool Saw(UINT message, WPARAM wParam) {
        for (const Message& m : Seen())
            if (m.message == message && m.wParam == wParam) return true;
        return false;
    }

private:
    static HWND& Window() {
        static HWND window;
        return window;
    }
    static std::vector<UINT>& Wanted() {
        static std::vector<UINT> wanted;
        return wanted;
    }
    static void Note(HWND window, UINT message, WPARAM wParam) {
        if (window != Window()) return;
        for (UINT wanted : Wanted())
            if (wanted == message) Seen().push_back({message, wParam});
    }
    static LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION) {
            const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
            Note(m->hwnd, m->message, m->wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK OnPosted(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HC_ACTION && wParam == PM_REMOVE) {
            const auto* m = reinterpret_cast<const MSG*>(lParam);
            Note(m->hwnd, m->message, m->wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HookHandle sent_, posted_;
};

using WindowsTest = UiRuntimeTest;
using Windows = WindowsTest;

TEST_F(Windows, FocusingAFieldRaisesItsFocusEventsInOrder) {
    ASSERT_NE(OpenPrompt({.focused = false}), nullptr);
    DrainEvents();
    EventRecorder::Bind();
    FocusGadget(2);
    const std::vector<EventRecord> expected = {{EVENT_GADGET, 0, 2, EVENT_TYPE_FOCUS}, {EVENT_GADGET, 0, 2, 0x100}};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(expected, DrainEvents(), EventName));
    EXPECT_EQ(FocusedGadget(), 2);
}

// --- Opening ------------------------------------------------------------------

TEST_F(Windows, PromptWindowHasExactClientAreaPlaceAndFrame) {
    EventRecorder::Bind();
    const int64_t opened = OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS);
    HWND window = WindowHandle(0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(opened, reinterpret_cast<int64_t>(window));

    const SIZE client = ClientSize(window);
    EXPECT_EQ(client.cx, WIDTH);
    EXPECT_EQ(client.cy, HEIGHT);
    const POINT corner = OuterTopLeft(window);
    EXPECT_EQ(corner.x, LEFT);
    EXPECT_EQ(corner.y, TOP);

    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_EQ(style & WS_SYSMENU, WS_SYSMENU);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD | WS_POPUP), 0);
    EXPECT_EQ(style & (WS_CLIPCHILDREN | WS_MINIMIZE | WS_MAXIMIZE), 0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_NE(GetSystemMenu(window, FALSE), nullptr);
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_EQ(TitleOf(window), L"Window");

    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetActiveWindow(), window);

    EXPECT_EQ(ClassOf(window), L"WindowClass_0");
    EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE), CS_DBLCLKS);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(window, GCLP_HCURSOR)), LoadCursorW(nullptr, IDC_ARROW));
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HICON), 0);
    EXPECT_EQ(reinterpret_cast<intptr_t>(GetPropW(window, WINDOW_NUMBER_PROPERTY)), 1);
    EXPECT_EQ(OwnWindowNumber(window), 0);

    // The move and size messages of opening raise nothing.
    const Events expected = {Activated(0), Repainted(0)};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
}

TEST_F(Windows, PromptWindowHasACloseBoxButNoOtherButton) {
    ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS), 0);
    HWND window = WindowHandle(0);
    RECT outer = {};
    GetWindowRect(window, &outer);
    const int caption = outer.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    std::vector<LRESULT> buttons;
    for (int x = outer.left; x < outer.right; ++x) {
        const LRESULT hit = SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, caption));
        if (hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP)
            if (buttons.empty() || buttons.back() != hit) buttons.push_back(hit);
    }
    EXPECT_EQ(buttons, std::vector<LRESULT>{HTCLOSE});
    // Not resizable: the edges are plain border.
    EXPECT_NE(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(outer.right - 1, outer.bottom - 1)), HTBOTTOMRIGHT);
}

TEST_F(Windows, ShortFormUsesTheDefaultFlags) {
    ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window"), 0);
    HWND window = WindowHandle(0);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX),
              WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(ClientSize(window).cx, WIDTH);
    EXPECT_EQ(ClientSize(window).cy, HEIGHT);
}

TEST_F(Windows, NullTitleIsTheEmptyTitle) {
    ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, nullptr, DEFAULT_WINDOW_FLAGS), 0);
    EXPECT_EQ(TitleOf(WindowHandle(0)), L"");
}

// One window opened with a flag word while a plain window of the test is
// active.
struct FlagCase {
    const char* name;
    uint32_t flags;
    bool visible;
    bool activated;
    bool toolWindow;
    bool centred;        // on the screen, instead of at (LEFT, TOP)
    bool exactSize;      // client area 120 x 60
    LONG_PTR styleSet;   // bits that must be set
    LONG_PTR styleClear; // bits that must be clear
    Events raised;       // while opening
};

void PrintTo(const FlagCase& c, std::ostream* os) { *os << c.name; }

class WindowsOpening : public WindowsTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(WindowsOpening, FlagWordReachesThePlatform) {
    const FlagCase& c = GetParam();
    PlainWindow plain;
    ASSERT_TRUE(Activate(plain.handle));
    StartRecording();

    ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", c.flags), 0);

    HWND window = WindowHandle(0);
    EXPECT_EQ(IsWindowVisible(window) != FALSE, c.visible);
    EXPECT_EQ(GetActiveWindow(), c.activated ? window : plain.handle);
    EXPECT_EQ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0, c.toolWindow);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & c.styleSet, c.styleSet);
    EXPECT_EQ(style & c.styleClear, 0);
    if (c.exactSize) {
        EXPECT_EQ(ClientSize(window).cx, WIDTH);
        EXPECT_EQ(ClientSize(window).cy, HEIGHT);
        RECT outer = {};
        GetWindowRect(window, &outer);
        POINT expected = {LEFT, TOP};
        if (c.centred)
            expected = {(GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2,
                        (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2};
        else if ((style & (WS_CAPTION | WS_THICKFRAME)) == (WS_CAPTION | WS_THICKFRAME) && CompositionOn())
            expected.x -= 5;
        EXPECT_EQ(outer.left, expected.x);
        EXPECT_EQ(outer.top, expected.y);
    }
    EXPECT_TRUE(SameSequence(c.raised, EventRecorder::Raised(), EventName));
}

// One case a row reads better than one field a line.
// clang-format off
const FlagCase FLAG_CASES[] = {
    {"NoFlagsAddCaption", 0, true, true, false, false, true, WS_CAPTION, WS_SYSMENU | WS_THICKFRAME,
     {Activated(0), Repainted(0)}},
    {"Hidden", OPEN_HIDDEN | DEFAULT_WINDOW_FLAGS, false, false, false, false, true, WS_CAPTION | WS_SYSMENU,
     WS_VISIBLE, {}},
    {"HiddenAloneAddsCaption", OPEN_HIDDEN, false, false, false, false, true, WS_CAPTION, WS_VISIBLE, {}},
    {"NoActivate", OPEN_NO_ACTIVATE | DEFAULT_WINDOW_FLAGS, true, false, false, false, true, WS_CAPTION,
     WS_CLIPCHILDREN, {Repainted(0)}},
    {"ToolWindow", OPEN_TOOL_WINDOW | DEFAULT_WINDOW_FLAGS | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, true, true, true,
     false, true, WS_CAPTION | WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, {Activated(0), Repainted(0)}},
    {"CenterScreen", OPEN_CENTER_SCREEN | DEFAULT_WINDOW_FLAGS, true, true, false, true, true, WS_CAPTION, 0,
     {Activated(0), Repainted(0)}},
    {"Resizable", WS_THICKFRAME | DEFAULT_WINDOW_FLAGS, true, true, false, false, true, WS_THICKFRAME, 0,
     {Activated(0), Repainted(0)}},
    {"NoContainer", OPEN_NO_CONTAINER | DEFAULT_WINDOW_FLAGS, true, true, false, false, true, WS_CAPTION, 0,
     {Activated(0), Repainted(0)}},
    {"Maximized", WS_MAXIMIZE | DEFAULT_WINDOW_FLAGS, true, true, false, false, false, WS_MAXIMIZE, 0,
     {Activated(0), Repainted(0)}},
    // The platform activates a window shown minimized twice: once minimized,
    // once more after the minimize.
    {"Minimized", WS_MINIMIZE | DEFAULT_WINDOW_FLAGS, true, true, false, false, false, WS_MINIMIZE, 0,
     {Activated(0), Activated(0)}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Windows, WindowsOpening, ::testing::ValuesIn(FLAG_CASES),
                         [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST_F(Windows, DefaultXLetsThePlatformChoose) {
    ASSERT_NE(OpenAppWindow(0, POSITION_DEFAULT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS), 0);
    HWND window = WindowHandle(0);
    const POINT corner = OuterTopLeft(window);
    // The platform's own choice lies on the screen; the literal coordinate
    // would be far off to the left.
    EXPECT_GE(corner.x, 0);
    EXPECT_GE(corner.y, 0);
    EXPECT_LT(corner.x, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(ClientSize(window).cx, WIDTH);
    EXPECT_EQ(ClientSize(window).cy, HEIGHT);
}

TEST_F(Windows, DefaultYWithoutCentringLetsThePlatformChooseBoth) {
    ASSERT_NE(OpenAppWindow(0, 7, POSITION_DEFAULT, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS), 0);
    const POINT corner = OuterTopLeft(WindowHandle(0));
    // x = 7 does not survive: the platform places the window by itself.
    EXPECT_NE(corner.x, 7);
    EXPECT_GE(corner.y, 0);
    EXPECT_LT(corner.y, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(Windows, DefaultYWithCentringIsCentred) {
    ASSERT_NE(
        OpenAppWindow(0, LEFT, POSITION_DEFAULT, WIDTH, HEIGHT, L"Window", OPEN_CENTER_SCREEN | DEFAULT_WINDOW_FLAGS),
        0);
    HWND window = WindowHandle(0);
    RECT outer = {};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2);
}

TEST_F(Windows, CentringOnAParentUsesTheParentsOuterRectangle) {
    PlainWindow parent(300, 200);
    ASSERT_NE(
        OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", OPEN_CENTER_PARENT | DEFAULT_WINDOW_FLAGS, parent.handle),
        0);
    HWND window = WindowHandle(0);
    RECT outer = {}, around = {};
    GetWindowRect(window, &outer);
    GetWindowRect(parent.handle, &around);
    EXPECT_EQ(outer.left, around.left + ((around.right - around.left) - (outer.right - outer.left)) / 2);
    EXPECT_EQ(outer.top, around.top + ((around.bottom - around.top) - (outer.bottom - outer.top)) / 2);
    EXPECT_EQ(GetWindow(window, GW_OWNER), parent.handle);
}

TEST_F(Windows, FailedCreationReturnsZeroAndLeavesTheNumberFree) {
    HWND bogus = reinterpret_cast<HWND>(static_cast<intptr_t>(0x7FFF1234));
    ASSERT_FALSE(IsWindow(bogus));
    EXPECT_EQ(OpenAppWindow(3, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS, bogus), 0);
    EXPECT_EQ(WindowHandle(3), nullptr);
    EXPECT_EQ(OpenAppWindow(NEW_OBJECT, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS, bogus), 0);
    // The number and its class name serve a later window.
    EXPECT_NE(OpenAppWindow(3, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS), 0);
    EXPECT_EQ(ClassOf(WindowHandle(3)), L"WindowClass_3");
}

// --- Numbers ---------------------------------------------------------------------

TEST_F(Windows, GeneratedNumberNamesTheWindow) {
    const int64_t number = OpenAppWindow(NEW_OBJECT, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS);
    ASSERT_NE(number, 0);
    HWND window = WindowHandle(number);
    ASSERT_NE(window, nullptr);
    EXPECT_NE(reinterpret_cast<int64_t>(window), number);
    EXPECT_EQ(ClassOf(window), L"WindowClass_" + std::to_wstring(number));
    EXPECT_EQ(OwnWindowNumber(window), number);
    EXPECT_EQ(ClientSize(window).cx, WIDTH);

    CloseAppWindow(number);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WindowHandle(number), nullptr);
}

TEST_F(Windows, NumbersBeyondTheFirstSlotsNameTheirWindows) {
    const int64_t numbers[] = {15, 16, 100, 1000};
    for (int64_t number : numbers) {
        SCOPED_TRACE(number);
        ASSERT_NE(OpenAppWindow(number, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS), 0);
    }
    for (int64_t number : numbers) {
        SCOPED_TRACE(number);
        HWND window = WindowHandle(number);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(ClassOf(window), L"WindowClass_" + std::to_wstring(number));
        EXPECT_EQ(OwnWindowNumber(window), number);
    }
    EXPECT_EQ(WindowHandle(17), nullptr);
}

TEST_F(Windows, GeneratedNumberWindowRaisesEventsUnderItsNumber) {
    const int64_t number = OpenAppWindow(NEW_OBJECT, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS);
    ASSERT_NE(number, 0);
    ASSERT_TRUE(Activate(WindowHandle(number)));
    StartRecording();
    SendMessageW(WindowHandle(number), WM_CLOSE, 0, 0);
    const Events expected = {{EVENT_CLOSE_WINDOW, number, number, 0}};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
}

bool ClassRegistered(int64_t number) {
    WNDCLASSW info;
    return GetClassInfoW(ProcessInstance, (L"WindowClass_" + std::to_wstring(number)).c_str(), &info);
}

TEST_F(Windows, ClosingAllClosesEveryWindowAndDropsTheirEvents) {
    ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS), 0);
    ASSERT_NE(OpenAppWindow(3, 300, TOP, WIDTH, HEIGHT, L"Three", DEFAULT_WINDOW_FLAGS), 0);
    const int64_t generated = OpenAppWindow(NEW_OBJECT, 500, TOP, WIDTH, HEIGHT, L"New", DEFAULT_WINDOW_FLAGS);
    ASSERT_NE(generated, 0);
    HWND windows[] = {WindowHandle(0), WindowHandle(3), WindowHandle(generated)};

    CloseAppWindow(ALL_OBJECTS);

    for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WindowHandle(0), nullptr);
    EXPECT_EQ(WindowHandle(3), nullptr);
    EXPECT_EQ(WindowHandle(generated), nullptr);
    for (int64_t number : {int64_t{0}, int64_t{3}, generated}) EXPECT_FALSE(ClassRegistered(number)) << number;
    EXPECT_TRUE(SameSequence(Events{}, DrainEvents(), EventName));
}

TEST_F(Windows, NumbersNamingNoWindowGiveNoHandleAndCloseNothing) {
    HWND window = OpenPrompt(NO_FIELD);
    CloseAppWindow(0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(WindowHandle(0), nullptr);
    const int64_t numbers[] = {0, 1, 15, 16, 1000, -2, reinterpret_cast<int64_t>(window), 0x7FFFFFFFFFFFFFFF};
    for (int64_t number : numbers) {
        SCOPED_TRACE(number);
        CloseAppWindow(number);
        EXPECT_EQ(WindowHandle(number), nullptr);
    }
}

TEST_F(Windows, ClosingDropsTheWindowsQueuedEventsAndBindings) {
    HWND window = OpenPrompt();
    ASSERT_NE(OpenAppWindow(1, 600, 400, WIDTH, HEIGHT, L"Other", OPEN_NO_ACTIVATE | DEFAULT_WINDOW_FLAGS), 0);
    DrainEvents();
    static int calls;
    calls = 0;
    BindEventHandler(
        EVENT_MENU, [] { ++calls; }, 0, 10000, 0);
    RaiseEvent(EVENT_MENU, 0, 7, 0);
    RaiseEvent(EVENT_MENU, 1, 5, 0); // an event of the other window, which stays
    RaiseEvent(EVENT_MENU, 0, 8, 0);

    CloseAppWindow(0);

    EXPECT_FALSE(IsWindow(window));
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    EXPECT_EQ(calls, 0);
    // The other window became active when window 0 went.
    const Events expected = {{EVENT_MENU, 1, 5, 0}, Activated(1), {EVENT_MENU, 0, 10000, 0}};
    EXPECT_TRUE(SameSequence(expected, DrainEvents(), EventName));
}

TEST_F(Windows, AHandlerMayCloseItsOwnWindowWhileItsBindingsRun) {
    HWND window = OpenPrompt();
    DrainEvents();
    static std::vector<std::string> calls;
    calls.clear();
    // Newest first: the closing handler runs, then the older one of the same
    // binding must not, since the binding went with the window.
    BindEventHandler(
        EVENT_CLOSE_WINDOW, [] { calls.push_back("older, same window"); }, 0, 0, 0);
    BindEventHandler(
        EVENT_CLOSE_WINDOW,
        [] {
            calls.push_back("closing");
            CloseAppWindow(0);
        },
        0, 0, 0);
    BindEventHandler(EVENT_CLOSE_WINDOW, [] { calls.push_back("all windows"); });

    SendMessageW(window, WM_CLOSE, 0, 0);

    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(calls, (std::vector<std::string>{"closing", "all windows"}));
    EXPECT_EQ(WindowHandle(0), nullptr);
    const int64_t reopened = OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS);
    EXPECT_NE(reopened, 0) << "the number is free again";
}

TEST_F(Windows, ClosingAnOwnedWindowActivatesItsOwnerFirst) {
    HWND owner = OpenPrompt();
    ASSERT_NE(OpenAppWindow(1, 300, TOP, WIDTH, HEIGHT, L"Owned", OPEN_NO_CONTAINER | DEFAULT_WINDOW_FLAGS, owner), 0);
    HWND owned = WindowHandle(1);
    ASSERT_TRUE(Activate(owned));
    ASSERT_EQ(GetWindow(owned, GW_OWNER), owner);
    StartRecording();

    CloseAppWindow(1);

    EXPECT_FALSE(IsWindow(owned));
    EXPECT_EQ(GetActiveWindow(), owner);
    EXPECT_EQ(FocusedGadget(), 2);
    // The owner is active again, focus back in its field, while the owned
    // window still exists; that window's own event then leaves the queue.
    const Events raised = {Deactivated(1), Gadget(0, 2, EVENT_TYPE_FOCUS), Gadget(0, 2, EN_SETFOCUS_), Activated(0)};
    EXPECT_TRUE(SameSequence(raised, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(Events(raised.begin() + 1, raised.end()), DrainEvents(), EventName));
}

TEST_F(Windows, ReusingANumberClosesTheOldWindowFirst) {
    HWND old = OpenPrompt();
    HWND field = GetFocus();
    ASSERT_TRUE(AddShortcut(0, 13, 10000));
    static int calls;
    calls = 0;
    BindEventHandler(
        EVENT_MENU, [] { ++calls; }, 0, 10000, 0);
    // The field's focus events still wait in the queue.
    EventRecorder::Bind();

    ASSERT_NE(OpenAppWindow(0, 300, TOP, WIDTH, HEIGHT, L"Again", DEFAULT_WINDOW_FLAGS), 0);

    HWND window = WindowHandle(0);
    EXPECT_NE(window, old);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(IsWindow(field));
    EXPECT_EQ(GadgetExists(2), 0);
    // The old window went (losing focus and activation) before the new one
    // was shown.
    const Events raised = {Deactivated(0), Gadget(0, 2, EVENT_TYPE_LOST_FOCUS), Gadget(0, 2, EN_KILLFOCUS_),
                           Activated(0), Repainted(0)};
    EXPECT_TRUE(SameSequence(raised, EventRecorder::Raised(), EventName));
    // Nothing of the old window is left in the queue.
    EXPECT_TRUE(SameSequence(Events{Activated(0), Repainted(0)}, DrainEvents(), EventName));
    // Its binding is gone ...
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    EXPECT_EQ(calls, 0);
    // ... and so are its shortcuts: the new window has only Tab and Shift+Tab.
    const std::vector<ACCEL> entries = ShortcutEntries(ActiveShortcutList(window));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, 9);
    EXPECT_EQ(entries[1].key, 9);
}

// --- Close requests ----------------------------------------------------------------

TEST_F(Windows, ClickOnTheCloseBoxOnlyRaisesTheCloseEvent) {
    HWND window = OpenPrompt();
    const std::optional<POINT> box = CloseBoxOf(window);
    ASSERT_TRUE(box);
    StartRecording();

    ASSERT_TRUE(ClickAt(*box, PumpUntil));

    const EventRecord close = {EVENT_CLOSE_WINDOW, 0, 0, 0};
    ASSERT_TRUE(PumpUntil([&] { return Raised(close); }));
    EXPECT_TRUE(SameSequence(Events{close}, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(WindowHandle(0), window);
}

TEST_F(Windows, AltF4OnlyRaisesTheCloseEvent) {
    struct Case {
        const char* name;
        bool field;
    };
    const Case cases[] = {{"focus in the field", true}, {"no field", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt({.field = c.field});
        MessageHook hook(GetFocus(), {WM_SYSKEYUP, WM_KEYUP});
        StartRecording();

        SendKey(VK_F4, false, false, true);

        const EventRecord close = {EVENT_CLOSE_WINDOW, 0, 0, 0};
        ASSERT_TRUE(PumpUntil([&] { return Raised(close); }));
        // Let the rest of the key strokes (Alt up) pass too.
        ASSERT_TRUE(
            PumpUntil([] { return MessageHook::Saw(WM_SYSKEYUP, VK_MENU) || MessageHook::Saw(WM_KEYUP, VK_MENU); }));
        DrainEvents();
        EXPECT_TRUE(SameSequence(Events{close}, EventRecorder::Raised(), EventName));
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(GetActiveWindow(), window);
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Windows, CloseRequestFromTheSystemMenuCommandRaisesTheCloseEvent) {
    HWND window = OpenPrompt();
    StartRecording();
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    const Events expected = {{EVENT_CLOSE_WINDOW, 0, 0, 0}};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(expected, DrainEvents(), EventName));
    EXPECT_TRUE(IsWindow(window));
}

// --- Activation and focus -------------------------------------------------------

struct ActivationCase {
    const char* name;
    bool runtimeWindow; // the other window is runtime window 1, else a plain one
};

TEST_F(Windows, DeactivationRaisesLostFocusAndDeactivate) {
    const ActivationCase cases[] = {{"plain window", false}, {"runtime window", true}};
    for (const ActivationCase& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPrompt();
        PlainWindow plain;
        HWND other = plain.handle;
        if (c.runtimeWindow) {
            ASSERT_NE(OpenAppWindow(1, 600, 400, WIDTH, HEIGHT, L"Other",
                                    OPEN_NO_CONTAINER | OPEN_NO_ACTIVATE | DEFAULT_WINDOW_FLAGS),
                      0);
            other = WindowHandle(1);
        }
        StartRecording();

        const Events handed = ActivateCollecting(other);

        // The window hears of its deactivation first; the focus leaves the
        // field when the other window takes it.
        Events expected = {Deactivated(0), Gadget(0, 2, EVENT_TYPE_LOST_FOCUS), Gadget(0, 2, EN_KILLFOCUS_)};
        if (c.runtimeWindow) expected.insert(expected.begin() + 1, Activated(1));
        EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
        EXPECT_TRUE(SameSequence(expected, handed, EventName));
        EXPECT_EQ(FocusedGadget(), -1);
        CloseAppWindow(ALL_OBJECTS);
    }
}

TEST_F(Windows, ReactivationPutsTheFocusBackIntoTheField) {
    struct Case {
        const char* name;
        bool runtimeWindow; // the other window is runtime window 1, else a plain one
        bool byClick;       // a click into the window's client area, else a foreground switch
    };
    const Case cases[] = {
        {"from a plain window", false, false},
        {"from a runtime window", true, false},
        {"by a click, from a plain window", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt();
        PlainWindow plain;
        HWND other = plain.handle;
        if (c.runtimeWindow) {
            ASSERT_NE(OpenAppWindow(1, 600, 400, WIDTH, HEIGHT, L"Other",
                                    OPEN_NO_CONTAINER | OPEN_NO_ACTIVATE | DEFAULT_WINDOW_FLAGS),
                      0);
            other = WindowHandle(1);
        }
        ASSERT_TRUE(Activate(other));
        POINT free = {60, 10}; // in the client area, above the field
        ClientToScreen(window, &free);
        if (c.byClick) {
            ASSERT_TRUE(PlacePointer(free, PumpUntil));
        }
        StartRecording();

        Events handed;
        if (c.byClick) {
            PressButtons(free, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
            ASSERT_TRUE(PumpUntil([] { return Count(EVENT_LEFT_CLICK) > 0; }, 10000, &handed));
            for (const EventRecord& r : DrainEvents()) handed.push_back(r);
        } else {
            handed = ActivateCollecting(window);
        }

        // The saved focus comes back before the activation event.
        Events expected = {Gadget(0, 2, EVENT_TYPE_FOCUS), Gadget(0, 2, EN_SETFOCUS_), Activated(0)};
        if (c.runtimeWindow) expected.insert(expected.begin(), Deactivated(1));
        if (c.byClick) expected.push_back({EVENT_LEFT_CLICK, 0, 0, 0});
        EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
        EXPECT_TRUE(SameSequence(expected, handed, EventName));
        EXPECT_EQ(FocusedGadget(), 2);
        EXPECT_EQ(GetActiveWindow(), window);
        CloseAppWindow(ALL_OBJECTS);
        DrainEvents();
    }
}

TEST_F(Windows, ActivationWithoutSavedFocusLeavesNoFieldFocused) {
    // Window 1 was never deactivated, so it has no saved focus.
    OpenPrompt();
    ASSERT_NE(OpenAppWindow(1, 600, 400, WIDTH, HEIGHT, L"Other", OPEN_NO_ACTIVATE | DEFAULT_WINDOW_FLAGS), 0);
    ASSERT_NE(CreateTextField(3, 10, 10, 100, 20, L"", 0), 0);
    StartRecording();

    ASSERT_TRUE(Activate(WindowHandle(1)));

    EXPECT_NE(FocusedGadget(), 3);
    for (const EventRecord& r : EventRecorder::Raised()) {
        EXPECT_NE(r.object, 3) << EventName(r);
    }
}

// --- Moving and sizing --------------------------------------------------------

TEST_F(Windows, MovingRaisesMoveWithTheWindowNumber) {
    HWND window = OpenPrompt(NO_FIELD);
    StartRecording();
    SetWindowPos(window, nullptr, 200, 120, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const Events expected = {{EVENT_MOVE_WINDOW, 0, 0, 0}};
    EXPECT_TRUE(SameSequence(expected, EventRecorder::Raised(), EventName));
}

TEST_F(Windows, TwoResizesLeaveOneSizeEventQueued) {
    HWND window = OpenPrompt(NO_FIELD);
    StartRecording();

    SetWindowPos(window, nullptr, 110, 60, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    SetWindowPos(window, nullptr, 120, 70, 320, 220, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);

    const EventRecord move = {EVENT_MOVE_WINDOW, 0, 0, 0}, size = {EVENT_SIZE_WINDOW, 0, 0, 0};
    EXPECT_TRUE(SameSequence(Events{move, size, move, size}, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(Events{move, move, size}, DrainEvents(), EventName));
}

TEST_F(Windows, MinimizingAndRestoringRaiseTheirEvents) {
    struct Case {
        const char* name;
        int command;
        Events raised;
    };
    const EventRecord minimize = {EVENT_MINIMIZE_WINDOW, 0, 0, 0}, maximize = {EVENT_MAXIMIZE_WINDOW, 0, 0, 0},
                      restore = {EVENT_RESTORE_WINDOW, 0, 0, 0}, size = {EVENT_SIZE_WINDOW, 0, 0, 0};
    const Case cases[] = {
        {"minimize", SW_MINIMIZE, {minimize}},
        {"maximize", SW_MAXIMIZE, {maximize, size}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt(NO_FIELD);
        StartRecording();
        ShowWindow(window, c.command);
        Events raised;
        for (const EventRecord& r : EventRecorder::Raised())
            if (r.code == EVENT_MINIMIZE_WINDOW || r.code == EVENT_MAXIMIZE_WINDOW || r.code == EVENT_RESTORE_WINDOW ||
                r.code == EVENT_SIZE_WINDOW)
                raised.push_back(r);
        EXPECT_TRUE(SameSequence(c.raised, raised, EventName));

        EventRecorder::Clear();
        ShowWindow(window, SW_RESTORE);
        raised.clear();
        for (const EventRecord& r : EventRecorder::Raised())
            if (r.code == EVENT_MINIMIZE_WINDOW || r.code == EVENT_MAXIMIZE_WINDOW || r.code == EVENT_RESTORE_WINDOW ||
                r.code == EVENT_SIZE_WINDOW)
                raised.push_back(r);
        EXPECT_TRUE(SameSequence(Events({restore, size}), raised, EventName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Windows, RestoringAWindowOpenedMinimizedRaisesRestore) {
    ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", WS_MINIMIZE | DEFAULT_WINDOW_FLAGS), 0);
    HWND window = WindowHandle(0);
    ASSERT_TRUE(IsIconic(window));
    StartRecording();
    ShowWindow(window, SW_RESTORE);
    Events raised;
    for (const EventRecord& r : EventRecorder::Raised())
        if (r.code == EVENT_RESTORE_WINDOW || r.code == EVENT_SIZE_WINDOW) raised.push_back(r);
    const Events expected = {{EVENT_RESTORE_WINDOW, 0, 0, 0}, {EVENT_SIZE_WINDOW, 0, 0, 0}};
    EXPECT_TRUE(SameSequence(expected, raised, EventName));
    EXPECT_EQ(ClientSize(window).cx, WIDTH);
    EXPECT_EQ(ClientSize(window).cy, HEIGHT);
}

// --- Shortcut list choice --------------------------------------------------------

TEST_F(Windows, EveryWindowStartsWithTabAndShiftTab) {
    HWND window = OpenPrompt(NO_FIELD);
    const std::vector<ACCEL> entries = ShortcutEntries(ActiveShortcutList(window));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].fVirt & 0x7F, FVIRTKEY | FNOINVERT);
    EXPECT_EQ(entries[0].key, VK_TAB);
    EXPECT_EQ(entries[0].cmd, TAB_NEXT_COMMAND);
    EXPECT_EQ(entries[1].fVirt & 0x7F, FVIRTKEY | FNOINVERT | FSHIFT);
    EXPECT_EQ(entries[1].key, VK_TAB);
    EXPECT_EQ(entries[1].cmd, TAB_PREVIOUS_COMMAND);
}

TEST_F(Windows, NoShortcutListForWindowsThatAreNotRuntimeWindows) {
    PlainWindow plain;
    EXPECT_EQ(ActiveShortcutList(plain.handle), nullptr);
    EXPECT_EQ(ActiveShortcutList(nullptr), nullptr);
    EXPECT_EQ(ActiveShortcutList(GetDesktopWindow()), nullptr);
}

TEST_F(Windows, DestroyingTheWindowDirectlyCleansUpItsNumber) {
    HWND window = OpenPrompt();
    ASSERT_NE(OpenAppWindow(1, 600, 400, WIDTH, HEIGHT, L"Other", OPEN_NO_ACTIVATE | OPEN_NO_CONTAINER), 0);
    static int calls;
    calls = 0;
    BindEventHandler(
        EVENT_MENU, [] { ++calls; }, 0, 10000, 0);
    DrainEvents();
    RaiseEvent(EVENT_MENU, 0, 7, 0);
    RaiseEvent(EVENT_MENU, 1, 5, 0);

    DestroyWindow(window);

    EXPECT_EQ(WindowHandle(0), nullptr);
    EXPECT_EQ(GadgetExists(2), 0);
    EXPECT_EQ(GetPropW(window, WINDOW_NUMBER_PROPERTY), nullptr);
    RaiseEvent(EVENT_MENU, 0, 10000, 0);
    EXPECT_EQ(calls, 0);
    const Events expected = {{EVENT_MENU, 1, 5, 0}, Activated(1), {EVENT_MENU, 0, 10000, 0}};
    EXPECT_TRUE(SameSequence(expected, DrainEvents(), EventName));
    // Its class goes at the next close, once the window is really gone.
    CloseAppWindow(1);
    EXPECT_FALSE(ClassRegistered(0));
    // The number serves a new window.
    EXPECT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS), 0);
}

TEST_F(Windows, WindowWithoutContainerTakesNoGadgets) {
    struct Case {
        const char* name;
        bool earlierWindow;
    };
    const Case cases[] = {{"no window before: creation fails", false}, {"a window before: gadgets go there", true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.earlierWindow) {
            ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window"), 0);
        }
        ASSERT_NE(OpenAppWindow(1, 300, TOP, WIDTH, HEIGHT, L"Other", OPEN_NO_CONTAINER | DEFAULT_WINDOW_FLAGS), 0);

        const int64_t created = CreateTextField(3, 10, 10, 100, 20, L"");

        if (c.earlierWindow) {
            ASSERT_NE(created, 0);
            EXPECT_EQ(GetParent(reinterpret_cast<HWND>(created)), WindowHandle(0));
        } else {
            EXPECT_EQ(created, 0);
            EXPECT_EQ(GadgetExists(3), 0);
        }
        CloseAppWindow(ALL_OBJECTS);
        DrainEvents();
    }
}

TEST_F(Windows, CommandMessagesBecomeMenuAndGadgetEvents) {
    struct Case {
        const char* name;
        WPARAM wParam;
        bool fromControl; // lParam names a plain child control with id 7
        Events raised;
        int64_t focus; // gadget with the focus afterwards
    };
    const Case cases[] = {
        {"menu item", 10000, false, {{EVENT_MENU, 0, 10000, 0}}, 2},
        {"menu item with the Tab command's number", TAB_NEXT_COMMAND, false, {{EVENT_MENU, 0, TAB_NEXT_COMMAND, 0}}, 2},
        {"shortcut", MAKEWPARAM(10000, 1), false, {{EVENT_MENU, 0, 10000, 0}}, 2},
        {"shortcut Tab command",
         MAKEWPARAM(TAB_NEXT_COMMAND, 1),
         false,
         {Gadget(0, 2, EVENT_TYPE_LOST_FOCUS), Gadget(0, 2, EN_KILLFOCUS_), Gadget(0, 3, EVENT_TYPE_FOCUS),
          Gadget(0, 3, EN_SETFOCUS_)},
         3},
        {"shortcut Shift+Tab command",
         MAKEWPARAM(TAB_PREVIOUS_COMMAND, 1),
         false,
         {Gadget(0, 2, EVENT_TYPE_LOST_FOCUS), Gadget(0, 2, EN_KILLFOCUS_), Gadget(0, 3, EVENT_TYPE_FOCUS),
          Gadget(0, 3, EN_SETFOCUS_)},
         3},
        {"notification of a control that is no gadget", MAKEWPARAM(7, 0x300), true, {Gadget(0, 7, 0x300)}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt();
        ASSERT_NE(CreateTextField(3, 10, 5, 100, 20, L""), 0);
        HWND foreign = CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 5, 5, window, reinterpret_cast<HMENU>(7),
                                       GetModuleHandleW(nullptr), nullptr);
        FocusGadget(2);
        StartRecording();

        SendMessageW(window, WM_COMMAND, c.wParam, c.fromControl ? reinterpret_cast<LPARAM>(foreign) : 0);

        EXPECT_TRUE(SameSequence(c.raised, EventRecorder::Raised(), EventName));
        EXPECT_EQ(FocusedGadget(), c.focus);
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Windows, MouseButtonsRaiseClickEvents) {
    struct Case {
        const char* name;
        DWORD down, up;
        int times;
        Events raised;
    };
    const EventRecord left = {EVENT_LEFT_CLICK, 0, 0, 0}, right = {EVENT_RIGHT_CLICK, 0, 0, 0},
                      twice = {EVENT_LEFT_DOUBLE_CLICK, 0, 0, 0};
    const Case cases[] = {
        {"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1, {left}},
        {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1, {right}},
        {"left twice", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2, {left, twice, left}},
    };
    // The platform pairs two presses into a double click only at nearly the
    // same place (SM_CXDOUBLECLK): each case presses at a place of its own,
    // so none pairs with the case before's, however soon it comes.
    const int apart = WIDTH / static_cast<int>(std::size(cases) + 1);
    ASSERT_GT(apart, GetSystemMetrics(SM_CXDOUBLECLK));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt(NO_FIELD);
        POINT inside = {apart * static_cast<int>(i + 1), HEIGHT / 2};
        ClientToScreen(window, &inside);
        ASSERT_TRUE(PlacePointer(inside, PumpUntil));
        StartRecording();

        PressButtons(inside, c.down, c.up, c.times);

        Events handed;
        ASSERT_TRUE(PumpUntil([&] { return EventRecorder::Raised().size() >= c.raised.size(); }, 10000, &handed));
        for (const EventRecord& r : DrainEvents()) handed.push_back(r);
        EXPECT_TRUE(SameSequence(c.raised, EventRecorder::Raised(), EventName));
        EXPECT_TRUE(SameSequence(c.raised, handed, EventName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Windows, TimerRaisesTimerEventsWithItsId) {
    HWND window = OpenPrompt(NO_FIELD);
    StartRecording();

    ASSERT_NE(SetTimer(window, 7, 10, nullptr), 0u);

    ASSERT_TRUE(PumpUntil([] { return Count(EVENT_TIMER) > 0; }));
    KillTimer(window, 7);
    for (const EventRecord& r : EventRecorder::Raised()) {
        EXPECT_EQ(r, (EventRecord{EVENT_TIMER, 0, 7, 0})) << EventName(r);
    }
}

TEST_F(Windows, ColourChangeReachesEveryControl) {
    HWND window = OpenPrompt();
    ASSERT_NE(CreateLabel(1, 10, 5, 100, 20, L"Enter line no."), 0);
    const int ids[] = {1, 2};
    for (int id : ids) {
        SCOPED_TRACE(id);
        MessageHook hook(GetDlgItem(window, id), {WM_SYSCOLORCHANGE});

        SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);

        EXPECT_TRUE(SameSequence(std::vector<Message>{{WM_SYSCOLORCHANGE, 0}}, MessageHook::Seen(), MessageName));
    }
}

TEST_F(Windows, ToolWindowsCanBeNarrowedToOnePixel) {
    struct Case {
        const char* name;
        uint32_t flags;
        bool tool;
    };
    const Case cases[] = {{"tool window", OPEN_TOOL_WINDOW | WS_THICKFRAME | DEFAULT_WINDOW_FLAGS, true},
                          {"ordinary window", WS_THICKFRAME | DEFAULT_WINDOW_FLAGS, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(OpenAppWindow(0, LEFT, TOP, WIDTH, HEIGHT, L"Window", c.flags), 0);
        HWND window = WindowHandle(0);

        SetWindowPos(window, nullptr, 0, 0, 1, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

        RECT outer = {};
        GetWindowRect(window, &outer);
        EXPECT_EQ(outer.right - outer.left, c.tool ? 1 : GetSystemMetrics(SM_CXMINTRACK));
        CloseAppWindow(0);
        DrainEvents();
    }
}

// --- Focus cues -------------------------------------------------------------------

// Wine keeps no keyboard-cue state of its own (WM_QUERYUISTATE always answers
// 0), so the window under test answers it from a state kept here, changed by
// the WM_CHANGEUISTATE requests it receives, which are recorded.
class CueState {
public:
    static void Attach(HWND window, WPARAM state) {
        State() = state;
        Sent().clear();
        Previous() =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Procedure)));
    }
    static WPARAM& State() {
        static WPARAM state;
        return state;
    }
    static std::vector<Message>& Sent() {
        static std::vector<Message> sent;
        return sent;
    }

private:
    static WNDPROC& Previous() {
        static WNDPROC previous;
        return previous;
    }
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_QUERYUISTATE) return static_cast<LRESULT>(State());
        if (message == WM_CHANGEUISTATE) {
            Sent().push_back({message, wParam});
            if (LOWORD(wParam) == UIS_SET) State() |= HIWORD(wParam);
            if (LOWORD(wParam) == UIS_CLEAR) State() &= ~static_cast<WPARAM>(HIWORD(wParam));
        }
        return CallWindowProcW(Previous(), window, message, wParam, lParam);
    }
};

constexpr WPARAM BOTH_CUES = UISF_HIDEFOCUS | UISF_HIDEACCEL;
const Message HIDE_CUES = {WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, BOTH_CUES)};
const Message SHOW_CUES = {WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, BOTH_CUES)};

TEST_F(Windows, FocusCuesAreChangedOnlyWhenTheyDiffer) {
    struct Case {
        WPARAM state;
        bool show;
        std::vector<Message> sent;
    };
    const Case cases[] = {
        {0, false, {HIDE_CUES}},
        {UISF_HIDEFOCUS, false, {HIDE_CUES}},
        {UISF_HIDEACCEL, false, {HIDE_CUES}},
        {BOTH_CUES, false, {}},
        {UISF_ACTIVE, false, {HIDE_CUES}},
        {BOTH_CUES | UISF_ACTIVE, false, {}},
        {BOTH_CUES, true, {SHOW_CUES}},
        {UISF_HIDEFOCUS, true, {SHOW_CUES}},
        {UISF_HIDEACCEL, true, {SHOW_CUES}},
        {0, true, {}},
        {UISF_ACTIVE, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "state " << c.state << (c.show ? ", show" : ", hide"));
        HWND window = OpenPrompt(NO_FIELD);
        CueState::Attach(window, c.state);

        SetFocusCues(window, c.show);

        EXPECT_TRUE(SameSequence(c.sent, CueState::Sent(), MessageName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Windows, DeactivationHidesTheFocusCues) {
    HWND window = OpenPrompt();
    CueState::Attach(window, 0);
    PlainWindow plain;

    ASSERT_TRUE(Activate(plain.handle));

    EXPECT_TRUE(SameSequence(std::vector<Message>{HIDE_CUES}, CueState::Sent(), MessageName));
}

TEST_F(Windows, KeysShowTheFocusCues) {
    struct Case {
        const char* name;
        WORD key;
        bool shift;
        std::vector<Message> sent;
    };
    const Case cases[] = {
        {"a translated key (Tab)", VK_TAB, false, {SHOW_CUES}},
        {"a key with a modifier", 'A', true, {SHOW_CUES}},
        {"a plain key", 'A', false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt();
        CueState::Attach(window, BOTH_CUES);
        MessageHook hook(GetFocus(), {WM_KEYUP});

        SendKey(c.key, c.shift);

        ASSERT_TRUE(PumpUntil([&] { return MessageHook::Saw(WM_KEYUP, c.key); }));
        EXPECT_TRUE(SameSequence(c.sent, CueState::Sent(), MessageName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

// --- Tab and rich text controls --------------------------------------------------------

TEST_F(Windows, PlainTabBelongsToAWritableRichTextControl) {
    struct Case {
        const char* name;
        const wchar_t* library;
        const wchar_t* className;
        bool readOnly;
        bool shift;
        bool typed; // else the focus moves to field 2
    };
    const Case cases[] = {
        {"writable, Tab", L"riched20.dll", L"RichEdit20W", false, false, true},
        {"read-only, Tab", L"riched20.dll", L"RichEdit20W", true, false, false},
        {"writable, Shift+Tab", L"riched20.dll", L"RichEdit20W", false, true, false},
        {"writable, newer class, Tab", L"msftedit.dll", L"RICHEDIT50W", false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LibraryHandle library(LoadLibraryW(c.library));
        ASSERT_TRUE(library);
        HWND window = OpenPrompt();
        HWND rich = CreateWindowExW(0, c.className, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE, 10, 5, 100,
                                    20, window, reinterpret_cast<HMENU>(9), GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(rich, nullptr);
        if (c.readOnly) SendMessageW(rich, EM_SETREADONLY, TRUE, 0);
        SetFocus(rich);
        StartRecording();

        SendKey(VK_TAB, c.shift);

        if (c.typed) {
            ASSERT_TRUE(PumpUntil([&] { return GetWindowTextLengthW(rich) > 0; }));
            wchar_t text[8] = {};
            GetWindowTextW(rich, text, 8);
            EXPECT_EQ(std::wstring(text), L"\t");
            EXPECT_EQ(GetFocus(), rich);
        } else {
            ASSERT_TRUE(PumpUntil([] { return FocusedGadget() == 2; }));
            EXPECT_EQ(GetWindowTextLengthW(rich), 0);
        }
        CloseAppWindow(0);
        DrainEvents();
    }
}

// What a window creates has one owner: the shortcut table is destroyed once,
// when it is rebuilt or its window goes; dwmapi.dll is loaded only for a
// style whose position depends on it, and given back at shutdown.
TEST_F(Windows, TheShortcutTableAndTheCompositionLibraryHaveOneOwner) {
    OpenPrompt(NO_FIELD);
    const HACCEL first = AddShortcut(0, 13, 10000);
    ASSERT_NE(first, nullptr);
    const HACCEL second = AddShortcut(0, 27, 10001);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(CopyAcceleratorTableW(first, nullptr, 0), 0) << "the rebuilt table replaced the first";
    EXPECT_EQ(CopyAcceleratorTableW(second, nullptr, 0), 4);
    EXPECT_EQ(GetModuleHandleW(L"dwmapi.dll"), nullptr) << "the prompt's style never asks for composition";
    CloseAppWindow(0);
    EXPECT_EQ(CopyAcceleratorTableW(second, nullptr, 0), 0) << "the window took its table with it";

    ASSERT_NE(OpenAppWindow(1, 100, 100, 120, 60, L"Framed", WS_CAPTION | WS_THICKFRAME), 0);
    EXPECT_NE(GetModuleHandleW(L"dwmapi.dll"), nullptr) << "a thick caption frame asks for it";
    EndWindows();
    EXPECT_EQ(GetModuleHandleW(L"dwmapi.dll"), nullptr) << "given back at shutdown";
}

} // namespace
