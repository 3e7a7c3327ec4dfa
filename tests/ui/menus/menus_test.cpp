// Menus and keyboard shortcuts under Wine: numbered menus that give item
// numbers a window, and per-window shortcuts pressed through the real input
// path.
#include "ui/gadgets/gadgets.h"
#include "ui/menus/menus.h"
#include "ui/windows/app_windows.h"
#include "ui/windows/shortcuts.h"

#include "base/runtime/registry.h"
#include "base/platform/handles.h"
#include "support/handler_log.h"
#include "support/key_spy.h"
#include "support/prompt_window.h"
#include "support/sequence.h"
#include "support/test_windows.h"
#include "support/ui_runtime.h"
#include "input.h"

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int64_t RETURN_KEY = 13, WITH_SHIFT = 65536, WITH_CONTROL = 131072;

EventRecord Menu(int64_t window, int64_t item) { return {EVENT_MENU, window, item, 0}; }

KeyMessages Translated(WPARAM key) { return {{WM_KEYUP, key}}; }
KeyMessages Typed(WPARAM key, WPARAM character) { return {{WM_KEYDOWN, key}, {WM_CHAR, character}, {WM_KEYUP, key}}; }

struct Entry {
    int fVirt, key, cmd;
    bool operator==(const Entry&) const = default;
};

std::string EntryName(const Entry& e) {
    char text[64];
    std::snprintf(text, sizeof text, "{fVirt %d, key %d, cmd %d}", e.fVirt, e.key, e.cmd);
    return text;
}

std::vector<Entry> TableEntries(HACCEL table) {
    std::vector<Entry> entries;
    for (const ACCEL& a : ShortcutEntries(table)) entries.push_back({a.fVirt, a.key, a.cmd});
    return entries;
}

const Entry TAB_NEXT = {3, 9, 0xFA01}, TAB_PREVIOUS = {7, 9, 0xFA02};

// The prompt as the tool has it, with a spy on the keys its field receives.
constexpr PromptGadgets WITH_LABEL_AND_SPY = {.label = true, .keySpy = true};

// The handler log's line for a call of handler `who` with `event` current.
std::string Call(const char* who, const EventRecord& event) { return std::string(who) + ": " + EventName(event); }

void ItemHandler() { HandlerLog().push_back(Call("item", CurrentRecord())); }
void OtherItemHandler() { HandlerLog().push_back(Call("other item", CurrentRecord())); }
void WideHandler() { HandlerLog().push_back(Call("every menu event", CurrentRecord())); }

class MenusTest : public UiRuntimeTest {
protected:
    void SetUp() override {
        UiRuntimeTest::SetUp();
        HandlerLog().clear();
        KeySpy::Seen().clear();
    }
    // Presses a key and waits until the control with the focus has seen it
    // released; returns the events handed out meanwhile and afterwards.
    Events Press(WORD key, bool shift = false, bool control = false) {
        SendKey(key, shift, control);
        Events handed;
        EXPECT_TRUE(PumpUntil([&] { return KeySpy::SawRelease(key); }, 10000, &handed));
        for (const EventRecord& r : DrainEvents()) handed.push_back(r);
        return handed;
    }
};

using Menus = MenusTest;
using Shortcuts = MenusTest;

// --- Menus ---------------------------------------------------------------------

TEST_F(Menus, CreatingAMenuNeitherShowsItNorResizesTheWindow) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    RECT outerBefore = {}, clientBefore = {};
    GetWindowRect(window, &outerBefore);
    GetClientRect(window, &clientBefore);

    const int64_t created = CreateMenuBar(0, window);

    ASSERT_NE(created, 0);
    HMENU menu = reinterpret_cast<HMENU>(created);
    EXPECT_TRUE(IsMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), 0);
    EXPECT_EQ(GetMenu(window), nullptr);
    RECT outer = {}, client = {};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_TRUE(EqualRect(&outer, &outerBefore));
    EXPECT_TRUE(EqualRect(&client, &clientBefore));
    EXPECT_EQ(client.right, 120);
    EXPECT_EQ(client.bottom, 60);
}

TEST_F(Menus, BindingOnAMenuNeverCreatedReturnsZero) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    ASSERT_NE(CreateMenuBar(1, window), 0);
    const int64_t numbers[] = {0, 2, 15, 16, 1000, -1, -2, INT64_MAX};
    for (int64_t number : numbers) {
        SCOPED_TRACE(number);
        EXPECT_EQ(BindMenuItemHandler(number, 10000, ItemHandler), 0);
    }
    // Nothing was bound under any of them.
    StartRecording();
    SendMessageW(window, WM_COMMAND, 10000, 0);
    EXPECT_TRUE(HandlerLog().empty());
}

TEST_F(Menus, HandlerOfMenuZeroRunsForTheReturnShortcutOfItem10000) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    ASSERT_NE(CreateMenuBar(0, window), 0);
    ASSERT_EQ(BindMenuItemHandler(0, 10000, ItemHandler), 1);
    EXPECT_EQ(BindMenuItemHandler(0, 10000, ItemHandler), 0); // already bound
    ASSERT_EQ(BindEventHandler(EVENT_MENU, WideHandler), 1);
    ASSERT_NE(AddShortcut(0, RETURN_KEY, 10000), nullptr);
    StartRecording();

    const Events handed = Press(VK_RETURN);

    // The item's own binding runs before the binding for every menu event.
    const std::vector<std::string> expected = {Call("item", Menu(0, 10000)), Call("every menu event", Menu(0, 10000))};
    EXPECT_TRUE(SameSequence(expected, HandlerLog(), LogLine));
    EXPECT_TRUE(SameSequence(Events{Menu(0, 10000)}, handed, EventName));
}

TEST_F(Menus, HandlerOfAnItemDoesNotRunForOtherItemsOrWindows) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    ASSERT_NE(OpenAppWindow(1, 600, 400, 120, 60, L"Other", OPEN_NO_ACTIVATE | OPEN_NO_CONTAINER), 0);
    ASSERT_NE(CreateMenuBar(0, window), 0);
    ASSERT_EQ(BindMenuItemHandler(0, 10000, ItemHandler), 1);
    StartRecording();

    SendMessageW(window, WM_COMMAND, 10001, 0);
    SendMessageW(WindowHandle(1), WM_COMMAND, 10000, 0);

    EXPECT_TRUE(HandlerLog().empty());
    EXPECT_TRUE(SameSequence(Events{Menu(0, 10001), Menu(1, 10000)}, EventRecorder::Raised(), EventName));
}

TEST_F(Menus, MenuWithoutARuntimeOwnerBindsForEveryWindow) {
    struct Case {
        const char* name;
        bool plainOwner; // else no owner at all
        int32_t item;    // one per case: bindings for every window outlive the window
    };
    const Case cases[] = {{"no owner", false, 7}, {"owned by a window that is no runtime window", true, 8}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
        PlainWindow plain;
        ASSERT_NE(CreateMenuBar(3, c.plainOwner ? plain.handle : nullptr), 0);
        ASSERT_EQ(BindMenuItemHandler(3, c.item, ItemHandler), 1);
        StartRecording();

        SendMessageW(window, WM_COMMAND, c.item, 0);

        EXPECT_TRUE(SameSequence(std::vector<std::string>{Call("item", Menu(0, c.item))}, HandlerLog(), LogLine));
        FreeMenu(3);
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Menus, GeneratedMenuNumberBindsAndFrees) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const int64_t number = CreateMenuBar(NEW_OBJECT, window);
    ASSERT_NE(number, 0);
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(number)));
    ASSERT_EQ(BindMenuItemHandler(number, 5, ItemHandler), 1);
    StartRecording();
    SendMessageW(window, WM_COMMAND, 5, 0);
    EXPECT_TRUE(SameSequence(std::vector<std::string>{Call("item", Menu(0, 5))}, HandlerLog(), LogLine));

    FreeMenu(number);

    EXPECT_EQ(BindMenuItemHandler(number, 6, OtherItemHandler), 0);
}

TEST_F(Menus, FreeingAllMenusDestroysEveryMenu) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const int64_t zero = CreateMenuBar(0, window), one = CreateMenuBar(1, window), two = CreateMenuBar(2, nullptr);
    const int64_t generated = CreateMenuBar(NEW_OBJECT, window);
    ASSERT_TRUE(zero && one && two && generated);

    FreeMenu(ALL_OBJECTS);

    for (int64_t handle : {zero, one, two}) EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(handle)));
    for (int64_t number : {int64_t{0}, int64_t{1}, int64_t{2}, generated}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(BindMenuItemHandler(number, 1, ItemHandler), 0);
    }
}

TEST_F(Menus, FreeingAnUnknownNumberDoesNothing) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const int64_t zero = CreateMenuBar(0, window);
    for (int64_t number : {int64_t{1}, int64_t{1000}, int64_t{-2}, zero}) FreeMenu(number);
    EXPECT_TRUE(IsMenu(reinterpret_cast<HMENU>(zero)));
    EXPECT_EQ(BindMenuItemHandler(0, 1, ItemHandler), 1);
}

TEST_F(Menus, ReusingANumberDestroysTheOldMenuAndSubclassesOnce) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const int64_t first = CreateMenuBar(0, window);
    const LONG_PTR procedure = GetWindowLongPtrW(window, GWLP_WNDPROC);

    const int64_t second = CreateMenuBar(0, window);

    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(first)));
    EXPECT_TRUE(IsMenu(reinterpret_cast<HMENU>(second)));
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), procedure);
    EXPECT_NE(GetPropW(window, MENU_SUBCLASS_PROPERTY), nullptr);
}

TEST_F(Menus, FreeingDetachesTheOwnersMenu) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const int64_t handle = CreateMenuBar(0, window);
    const MenuHandle attached(CreateMenu());
    ASSERT_TRUE(SetMenu(window, attached.get()));

    FreeMenu(0);

    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(handle)));
}

TEST_F(Menus, ClosingTheOwnerReleasesOnlyTheMenuAttachedToIt) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const int64_t attached = CreateMenuBar(0, window);
    const int64_t detached = CreateMenuBar(1, window);
    ASSERT_TRUE(SetMenu(window, reinterpret_cast<HMENU>(attached)));

    CloseAppWindow(0);

    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(attached))); // the platform destroyed it with the window
    EXPECT_EQ(BindMenuItemHandler(0, 1, ItemHandler), 0);
    EXPECT_TRUE(IsMenu(reinterpret_cast<HMENU>(detached)));
    // Its window's handle is stale now: binding through it would bind the
    // item for every window.
    EXPECT_EQ(BindMenuItemHandler(1, 1, ItemHandler), 0);
    FreeMenu(1);
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(detached)));
}

// --- Shortcuts -------------------------------------------------------------------

TEST_F(Shortcuts, ReturnRaisesTheItemAndTheFieldNeverSeesIt) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const HACCEL table = AddShortcut(0, RETURN_KEY, 10000);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(ActiveShortcutList(window), table);
    StartRecording();

    const Events handed = Press(VK_RETURN);

    EXPECT_TRUE(SameSequence(Events{Menu(0, 10000)}, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(Events{Menu(0, 10000)}, handed, EventName));
    EXPECT_TRUE(SameSequence(Translated(VK_RETURN), KeySpy::Seen(), KeyMessageName));
    EXPECT_EQ(GetWindowTextLengthW(Control(2)), 0);
}

struct Added {
    int64_t keyValue;
    int32_t item;
};

struct PressCase {
    const char* name;
    std::vector<Added> added;
    WORD key;
    bool shift, control;
    Events raised;
    KeyMessages fieldSaw;
};

TEST_F(Shortcuts, KeyValuesAndItemsAsPressed) {
    // One case a row reads better than one field a line.
    // clang-format off
    const PressCase cases[] = {
        {"Return", {{RETURN_KEY, 10000}}, VK_RETURN, false, false, {Menu(0, 10000)}, Translated(VK_RETURN)},
        {"Shift+Return is another key", {{RETURN_KEY, 10000}}, VK_RETURN, true, false, {}, Typed(VK_RETURN, '\r')},
        {"Control+Return is another key", {{RETURN_KEY, 10000}}, VK_RETURN, false, true, {}, Typed(VK_RETURN, '\n')},
        {"added twice: the last item", {{RETURN_KEY, 10000}, {RETURN_KEY, 10001}}, VK_RETURN, false, false,
         {Menu(0, 10001)}, Translated(VK_RETURN)},
        {"Shift+Return of its own", {{RETURN_KEY, 10000}, {RETURN_KEY + WITH_SHIFT, 10001}}, VK_RETURN, true, false,
         {Menu(0, 10001)}, Translated(VK_RETURN)},
        {"Return beside Shift+Return", {{RETURN_KEY, 10000}, {RETURN_KEY + WITH_SHIFT, 10001}}, VK_RETURN, false,
         false, {Menu(0, 10000)}, Translated(VK_RETURN)},
        {"Control+Return", {{RETURN_KEY + WITH_CONTROL, 20}}, VK_RETURN, false, true, {Menu(0, 20)},
         Translated(VK_RETURN)},
        {"Control+Shift+Return needs both", {{RETURN_KEY + WITH_CONTROL + WITH_SHIFT, 21}}, VK_RETURN, false, true,
         {}, Typed(VK_RETURN, '\n')},
        {"item above 16 bits keeps its low word", {{RETURN_KEY, 65536 + 5}}, VK_RETURN, false, false, {Menu(0, 5)},
         Translated(VK_RETURN)},
        {"key value bits above Alt are ignored", {{RETURN_KEY + (int64_t{1} << 20), 22}}, VK_RETURN, false, false,
         {Menu(0, 22)}, Translated(VK_RETURN)},
        {"largest item", {{RETURN_KEY, 65535}}, VK_RETURN, false, false, {Menu(0, 65535)}, Translated(VK_RETURN)},
        {"Escape", {{VK_ESCAPE, 9}}, VK_ESCAPE, false, false, {Menu(0, 9)}, Translated(VK_ESCAPE)},
        {"a letter", {{'A', 30}}, 'A', false, false, {Menu(0, 30)}, Translated('A')},
    };
    // clang-format on
    for (const PressCase& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPrompt(WITH_LABEL_AND_SPY);
        for (const Added& a : c.added) ASSERT_NE(AddShortcut(0, a.keyValue, a.item), nullptr);
        StartRecording();

        const Events handed = Press(c.key, c.shift, c.control);

        EXPECT_TRUE(SameSequence(c.raised, EventRecorder::Raised(), EventName));
        EXPECT_TRUE(SameSequence(c.raised, handed, EventName));
        EXPECT_TRUE(SameSequence(c.fieldSaw, KeySpy::Seen(), KeyMessageName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Shortcuts, CompiledTableHoldsTheEntriesInOrder) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    ASSERT_NE(AddShortcut(0, RETURN_KEY, 10000), nullptr);
    ASSERT_NE(AddShortcut(0, RETURN_KEY + WITH_SHIFT + WITH_CONTROL + (int64_t{1} << 18), 65536 + 10001), nullptr);
    const HACCEL table = AddShortcut(0, RETURN_KEY, 10002);
    ASSERT_NE(table, nullptr);

    EXPECT_EQ(ActiveShortcutList(window), table);
    const std::vector<Entry> expected = {TAB_NEXT, TAB_PREVIOUS, {3, 13, 10002}, {31, 13, 10001}};
    EXPECT_TRUE(SameSequence(expected, TableEntries(table), EntryName));
}

TEST_F(Shortcuts, PlainTabCanBeTakenForAnItem) {
    struct Case {
        const char* name;
        bool shift;
        Events raised;
        int64_t focus;
    };
    const Case cases[] = {
        {"Tab raises the item instead of moving", false, {Menu(0, 5)}, 2},
        {"Shift+Tab still moves",
         true,
         {Gadget(2, EVENT_TYPE_LOST_FOCUS), Gadget(2, EN_KILLFOCUS_), Gadget(3, EVENT_TYPE_FOCUS),
          Gadget(3, EN_SETFOCUS_)},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPrompt(WITH_LABEL_AND_SPY);
        ASSERT_NE(CreateTextField(3, 10, 5, 100, 20, L""), 0);
        KeySpy::Attach(Control(3));
        FocusGadget(2);
        ASSERT_NE(AddShortcut(0, VK_TAB, 5), nullptr);
        StartRecording();

        Press(VK_TAB, c.shift);

        EXPECT_EQ(FocusedGadget(), c.focus);
        EXPECT_TRUE(SameSequence(c.raised, EventRecorder::Raised(), EventName));
        CloseAppWindow(0);
        DrainEvents();
    }
}

TEST_F(Shortcuts, RemovingReturnLeavesTheTabEntries) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    ASSERT_NE(AddShortcut(0, RETURN_KEY, 10000), nullptr);

    RemoveShortcut(0, RETURN_KEY);

    EXPECT_TRUE(
        SameSequence(std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS}, TableEntries(ActiveShortcutList(window)), EntryName));
}

TEST_F(Shortcuts, ReturnReachesTheFieldOnceRemoved) {
    OpenPrompt(WITH_LABEL_AND_SPY);
    ASSERT_NE(AddShortcut(0, RETURN_KEY, 10000), nullptr);
    RemoveShortcut(0, RETURN_KEY);
    StartRecording();

    const Events handed = Press(VK_RETURN);

    EXPECT_TRUE(SameSequence(Events{}, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(Typed(VK_RETURN, '\r'), KeySpy::Seen(), KeyMessageName));
}

TEST_F(Shortcuts, RemovingAKeyNeverAddedChangesNothing) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const HACCEL table = AddShortcut(0, RETURN_KEY, 10000);
    const int64_t absent[] = {RETURN_KEY + WITH_SHIFT, VK_ESCAPE, VK_TAB + WITH_CONTROL, 0};
    for (int64_t keyValue : absent) {
        SCOPED_TRACE(keyValue);
        RemoveShortcut(0, keyValue);
        EXPECT_EQ(ActiveShortcutList(window), table); // not even rebuilt
        EXPECT_TRUE(
            SameSequence(std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS, {3, 13, 10000}}, TableEntries(table), EntryName));
    }
}

TEST_F(Shortcuts, RemovingAllTakesTabAndShiftTabToo) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    ASSERT_NE(CreateTextField(3, 10, 5, 100, 20, L""), 0);
    ASSERT_NE(AddShortcut(0, RETURN_KEY, 10000), nullptr);
    FocusGadget(2);

    RemoveShortcut(0, -1);

    EXPECT_EQ(ActiveShortcutList(window), nullptr);
    StartRecording();
    Press(VK_TAB);
    // Tab now reaches the field, which has no use for it: the focus stays.
    EXPECT_EQ(FocusedGadget(), 2);
    EXPECT_TRUE(SameSequence(Events{}, EventRecorder::Raised(), EventName));
    EXPECT_TRUE(SameSequence(Typed(VK_TAB, '\t'), KeySpy::Seen(), KeyMessageName));
}

TEST_F(Shortcuts, AddingAfterRemovingAllStartsAFreshList) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    RemoveShortcut(0, -1);
    const HACCEL table = AddShortcut(0, RETURN_KEY, 10000);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(ActiveShortcutList(window), table);
    EXPECT_TRUE(SameSequence(std::vector<Entry>{{3, 13, 10000}}, TableEntries(table), EntryName));
}

TEST_F(Shortcuts, UnknownWindowsHaveNoShortcuts) {
    HWND window = OpenPrompt(WITH_LABEL_AND_SPY);
    const HACCEL table = ActiveShortcutList(window);
    const int64_t numbers[] = {1, 5, 16, 1000, -1, -2, reinterpret_cast<int64_t>(window)};
    for (int64_t number : numbers) {
        SCOPED_TRACE(number);
        EXPECT_EQ(AddShortcut(number, RETURN_KEY, 10000), nullptr);
        RemoveShortcut(number, VK_TAB);
        RemoveShortcut(number, -1);
    }
    EXPECT_EQ(ActiveShortcutList(window), table);
    EXPECT_TRUE(SameSequence(std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS}, TableEntries(table), EntryName));
}

TEST_F(Shortcuts, AShortcutFiresOnlyWhileItsWindowIsActive) {
    struct Case {
        const char* name;
        bool runtimeWindow; // else a plain window of the test
    };
    const Case cases[] = {{"another runtime window", true}, {"a plain window", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenPrompt(WITH_LABEL_AND_SPY);
        ASSERT_NE(AddShortcut(0, RETURN_KEY, 10000), nullptr);
        PlainWindow plain(600, 400, true);
        HWND other = plain.handle, field = plain.edit;
        if (c.runtimeWindow) {
            ASSERT_NE(OpenAppWindow(1, 600, 400, 120, 60, L"Other", DEFAULT_WINDOW_FLAGS), 0);
            ASSERT_NE(CreateTextField(3, 10, 10, 100, 20, L""), 0);
            other = WindowHandle(1);
            field = Control(3);
        }
        ASSERT_TRUE(Activate(other));
        SetFocus(field);
        KeySpy::Attach(field);
        StartRecording();

        Press(VK_RETURN);

        for (const EventRecord& r : EventRecorder::Raised()) {
            EXPECT_NE(r.code, EVENT_MENU) << EventName(r);
        }
        EXPECT_TRUE(SameSequence(Typed(VK_RETURN, '\r'), KeySpy::Seen(), KeyMessageName));
        CloseAppWindow(ALL_OBJECTS);
        DrainEvents();
    }
}

} // namespace
