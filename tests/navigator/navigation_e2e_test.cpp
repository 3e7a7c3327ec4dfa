// End to end under Wine: the fixture editor and Wine's own notepad as real
// editors, navigated by the tool's lookup and keystroke steps (linked here) and
// by linenav.exe started as the editor starts it.
#include "navigator/caret_keys.h"
#include "navigator/editor_lookup.h"
#include "navigator/editor_window.h"
#include "navigator/globals.h"

#include "support/runtime_fixture.h"
#include "../support/fixture_client.h"
#include "../support/keyboard_watch.h"
#include "../support/linenav_run.h"
#include "../support/test_windows.h"
#include "notepad.h"
#include "text_helpers.h"
#include "wait.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::wstring_view NOTEPAD_FILE = L"Quillo V5. e2e.txt";

// What the Edit control receives: Wine, like Windows, reports the left Ctrl
// key as VK_CONTROL in the message. Ctrl+Home itself is checked by
// SameCaretKeys.
const KeyRecord CTRL_DOWN{WM_KEYDOWN, VK_CONTROL, FIXTURE_CTRL};
const KeyRecord DOWN_DOWN{WM_KEYDOWN, VK_DOWN, 0};
const KeyRecord DOWN_UP{WM_KEYUP, VK_DOWN, 0};
const KeyRecord HOME_DOWN{WM_KEYDOWN, VK_HOME, 0};
const KeyRecord HOME_UP{WM_KEYUP, VK_HOME, 0};

// What follows Ctrl+Home on the way to line one.
const std::vector<KeyRecord> TO_LINE_ONE = {HOME_DOWN, HOME_UP};

// The lookup and keystroke steps of one run, for a given line.
void NavigateInProcess(int64_t line) {
    Navigator = {};
    AssignText(Navigator.TitlePrefix, EDITOR_TITLE_PREFIX);
    Navigator.LineNumber = line;
    FindEditorWindow();
    SendCaretKeys();
}

using Navigation = RuntimeTest;

TEST_F(Navigation, ExactKeySequence) {
    struct Case {
        int64_t line;
        std::vector<KeyRecord> afterCtrlHome;
    };
    const Case cases[] = {
        {1, TO_LINE_ONE},
        {0, TO_LINE_ONE},
        {-5, TO_LINE_ONE},
        {3, {DOWN_DOWN, DOWN_UP, DOWN_DOWN, DOWN_UP, HOME_DOWN, HOME_UP}},
    };
    FixtureEditor editor;
    ASSERT_TRUE(editor.Start({.title = L"Quillo V5. keys", .lines = 50, .caret = 20}));
    // A first run, let through: the keymap notice of the editor's activation
    // is handled by then, and an editor in front and idle, which has answered
    // before the first key, takes Ctrl+Home the first time.
    NavigateInProcess(1);
    ASSERT_TRUE(WaitForLastKey(editor, HOME_UP, DEFAULT_WAIT_MS));
    for (const Case& c : cases) {
        SCOPED_TRACE("line " + std::to_string(c.line));
        editor.ClearKeys();
        NavigateInProcess(c.line);
        EXPECT_EQ(Navigator.EditorHandle, editor.window());
        const std::vector<KeyRecord> keys = WaitForCaretKeys(editor, DEFAULT_WAIT_MS);
        EXPECT_TRUE(SameCaretKeys(c.afterCtrlHome, keys));
        EXPECT_EQ(CountOf(keys, CTRL_DOWN), 1) << "Ctrl+Home tries";
        const long expectedLine = c.line < 1 ? 0 : static_cast<long>(c.line - 1);
        EXPECT_TRUE(WaitUntil([&] { return editor.CaretLine() == expectedLine; }))
            << "caret on line " << editor.CaretLine() << ", expected " << expectedLine;
    }
}

TEST_F(Navigation, CaretLandsOnTheLine) {
    FixtureEditor editor;
    ASSERT_TRUE(editor.Start({.title = L"Quillo V5. caret", .lines = 300, .caret = 120}));
    for (int64_t line : {2, 17, 1, 150, 300}) {
        SCOPED_TRACE("line " + std::to_string(line));
        NavigateInProcess(line);
        EXPECT_TRUE(WaitUntil([&] { return editor.CaretLine() == line - 1; }, CARET_WAIT_MS))
            << "caret on line " << editor.CaretLine() << ", expected " << line - 1;
    }
}

// With no editor found and no window in front there is nobody to type into:
// no key goes out, not even to whatever takes the keyboard later.
TEST_F(Navigation, NoEditorAndNoWindowInFrontTypesNothing) {
    HWND front = CreateWindowExW(0, L"Static", L"Nothing here", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(front, nullptr);
    SetForegroundWindow(front);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == front; }));
    DestroyWindow(front); // the last window: nothing else takes the activation
    ASSERT_TRUE(WaitUntil([] { return GetForegroundWindow() == nullptr; }))
        << "in front: \"" << Narrow(TitleOf(GetForegroundWindow())) << "\"";
    long sent = 0;
    {
        KeyboardWatch watch([&](const KBDLLHOOKSTRUCT& key) { sent += (key.flags & LLKHF_INJECTED) != 0; });
        ASSERT_TRUE(watch.watching());
        NavigateInProcess(3);
    }
    EXPECT_EQ(Navigator.EditorHandle, nullptr);
    EXPECT_EQ(sent, 0) << "key events sent with no window to take them";
}

// With no editor found, the keys go to the window that has the keyboard, also
// to one still taking the activation when they begin (waited for up to a
// second).
TEST_F(Navigation, NoEditorTheWindowInFrontGetsTheKeys) {
    constexpr DWORD SETTLING_MS = 400; // well inside the wait for a foreground window
    for (const bool settling : {false, true}) {
        SCOPED_TRACE(settling ? "still taking the activation" : "in front");
        FixtureEditor other;
        ASSERT_TRUE(other.Start({.title = L"Another program", .lines = 50, .caret = 20}));
        std::optional<PlainWindow> mine;
        if (settling) {
            SetForegroundWindow(mine.emplace().handle);
            ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mine->handle; }));
            ASSERT_TRUE(other.Stall(FIXTURE_STALL_BEFORE, SETTLING_MS));
            SetForegroundWindow(other.window());
            ASSERT_EQ(GetForegroundWindow(), nullptr);
        }
        NavigateInProcess(3);
        EXPECT_EQ(Navigator.EditorHandle, nullptr);
        EXPECT_EQ(CaretLanding(other, DEFAULT_WAIT_MS), OnLine(3));
    }
}

// An editor that is gone, or that takes the foreground only after the
// hand-off has given up (it answers meanwhile), gets no key, and neither does
// any other window. A gone one is known at once.
TEST_F(Navigation, AnEditorNotHandedTheKeyboardGetsNoKey) {
    constexpr DWORD LATE_MS = 4000; // past the hand-off's two watches; resumed before
    for (const bool gone : {true, false}) {
        SCOPED_TRACE(gone ? "closed" : "in front too late");
        FixtureEditor editor;
        ASSERT_TRUE(editor.Start({.title = L"Quillo V5. hand-off", .lines = 50, .caret = 20}));
        PlainWindow mine; // in front: the editor has to take the activation
        SetForegroundWindow(mine.handle);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mine.handle; }));
        Navigator = {};
        Navigator.EditorHandle = editor.window();
        Navigator.LineNumber = 3;
        if (gone) editor.Close();
        else ASSERT_TRUE(editor.Stall(FIXTURE_STALL_ANSWERING, LATE_MS));
        long sent = 0;
        ULONGLONG took = 0;
        {
            KeyboardWatch watch([&](const KBDLLHOOKSTRUCT& key) { sent += (key.flags & LLKHF_INJECTED) != 0; });
            ASSERT_TRUE(watch.watching());
            const ULONGLONG start = GetTickCount64();
            SendCaretKeys();
            took = GetTickCount64() - start;
        }
        EXPECT_EQ(sent, 0) << "key events sent";
        EXPECT_TRUE(!gone || took < EDITOR_WAIT_LIMIT_MS) << took << " ms for an editor that is gone";
        if (!gone) editor.Resume();
    }
}

// The editor minimized while another window is in front (the prompt, before
// it closes): restored before the keys, so the person sees the caret land.
TEST_F(Navigation, AnEditorMinimizedMeanwhileIsRestored) {
    FixtureEditor editor;
    ASSERT_TRUE(editor.Start({.title = L"Quillo V5. minimized", .lines = 50, .caret = 20}));
    PlainWindow prompt;
    SetForegroundWindow(prompt.handle);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == prompt.handle; }));
    ShowWindow(editor.window(), SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(editor.window()); }));
    NavigateInProcess(3);
    EXPECT_EQ(CaretLanding(editor, DEFAULT_WAIT_MS), OnLine(3));
    EXPECT_FALSE(IsIconic(editor.window()));
}

// The editor's own pop-up takes the activation for a moment as a Down goes
// out: the look before the final Home waits for the keyboard to come back,
// and the caret lands on the line.
TEST_F(Navigation, AMomentAwayOfTheKeyboardIsWaitedOut) {
    FixtureEditor editor;
    ASSERT_TRUE(editor.Start({.title = L"Quillo V5. pop-up", .lines = 50, .caret = 20, .windows = 2}));
    editor.ClearKeys();
    bool held = false, away = false;
    {
        KeyboardWatch watch([&](const KBDLLHOOKSTRUCT& key) {
            if (held || key.vkCode != VK_DOWN || !(key.flags & LLKHF_UP)) return;
            held = true;
            away = editor.Blip();
        });
        ASSERT_TRUE(watch.watching());
        NavigateInProcess(2);
    }
    ASSERT_TRUE(held && away);
    EXPECT_EQ(CaretLanding(editor, DEFAULT_WAIT_MS), OnLine(2));
}

// Ctrl let go under Ctrl+Home, on purpose: the editor is busy from its
// answer before the first key until linenav asks again, with Ctrl+Home in its
// queue; on its way back it moves the X focus to its other window and back
// and handles the X server's keymap notice that follows, and Wine sets the
// key state to the X server's, which never saw linenav's Ctrl. Only a look
// made once the editor has answered finds Ctrl gone (a look at once, or an
// answer before the first key that let the editor be busy later, sees it
// down): linenav types Ctrl+Home again and the caret lands on the line. No
// low-level hook holds a key meanwhile, so no hook can take the system's time
// limit for one (Wine skips a hook that takes 2 s: under load a refocus could).
TEST_F(Navigation, CtrlLetGoWhileTheEditorIsBusyIsTypedAgain) {
    constexpr DWORD BUSY_LIMIT_MS = 3000; // ended by linenav's next message; waited out only by a look that asks none
    // The pointer off the editor's windows: with it over one (left there by
    // an earlier click), the refocus under Wine never let go of Ctrl.
    ASSERT_TRUE(PlacePointer({1000, 740}));
    FixtureEditor editor;
    ASSERT_TRUE(editor.Start({.title = L"Quillo V5. refocus", .lines = 50, .caret = 20, .windows = 2}));
    NavigateInProcess(1); // let through: the keymap notice of the editor's start is handled
    ASSERT_TRUE(WaitForLastKey(editor, HOME_UP, DEFAULT_WAIT_MS));
    editor.SetCaretLine(20);
    editor.ClearKeys();
    ASSERT_TRUE(editor.Stall(FIXTURE_STALL_ANSWERED, BUSY_LIMIT_MS));
    NavigateInProcess(3);
    EXPECT_EQ(CaretLanding(editor, DEFAULT_WAIT_MS), OnLine(3));
    // A keymap notice per window the X focus went through can let go of Ctrl
    // under a second try too.
    const std::vector<KeyRecord> keys = WaitForCaretKeys(editor, DEFAULT_WAIT_MS);
    const long tries = CountOf(keys, CTRL_DOWN);
    EXPECT_TRUE(tries >= 2 && tries <= 3) << tries << " Ctrl+Home tries: the look never saw Ctrl let go";
    EXPECT_TRUE(SameCaretKeys({DOWN_DOWN, DOWN_UP, DOWN_DOWN, DOWN_UP, HOME_DOWN, HOME_UP}, keys));
}

// Another program takes the keyboard once Ctrl+Home has landed, while its
// release is held back: linenav looks before the first Down, and no Down goes
// to that program. A line under KEYBOARD_CHECK_EVERY: no later look comes.
TEST_F(Navigation, KeyboardTakenAfterCtrlHomeGetsNoDown) {
    constexpr DWORD HOLD_LIMIT_MS = 1000; // Wine skips a low-level hook that takes 2 s
    FixtureEditor other;
    ASSERT_TRUE(other.Start({.title = L"Another program", .lines = 50, .x = 500, .y = 300}));
    FixtureEditor editor;
    ASSERT_TRUE(editor.Start({.title = L"Quillo V5. barrier", .lines = 50, .caret = 20}));
    // A first run, let through, and the editor idle after it: the keymap
    // notice of its activation is handled, and cannot let go of Ctrl under
    // the Ctrl+Home that is held back.
    NavigateInProcess(1);
    ASSERT_TRUE(WaitForLastKey(editor, HOME_UP, DEFAULT_WAIT_MS));
    bool held = false, taken = false;
    {
        KeyboardWatch watch([&](const KBDLLHOOKSTRUCT& key) {
            if (held || key.vkCode != VK_HOME || !(key.flags & LLKHF_UP)) return;
            held = true;
            SetForegroundWindow(other.window());
            taken = WaitUntil([&] { return other.HasKeyboardFocus(); }, HOLD_LIMIT_MS);
        });
        ASSERT_TRUE(watch.watching());
        NavigateInProcess(30);
    }
    ASSERT_TRUE(held && taken);
    SendKey(VK_F9);
    ASSERT_TRUE(WaitForLastKey(other, {WM_KEYUP, VK_F9, 0}, DEFAULT_WAIT_MS));
    long downs = 0;
    for (const KeyRecord& key : other.Keys()) downs += key.message == WM_KEYDOWN && key.key == VK_DOWN;
    EXPECT_EQ(downs, 0) << "Down presses that went to the other program";
}

// No window is in front when the lookup begins: the editor the person works
// in is still taking the activation its hotkey brought. The lookup waits for
// it rather than taking the last of the matching windows.
TEST_F(Navigation, ForegroundStillSettlingIsWaitedFor) {
    constexpr DWORD SETTLING_MS = 400; // the editor's own slowness, well inside the lookup's wait
    FixtureEditor last, front;
    ASSERT_TRUE(last.Start({.title = L"Quillo V5. last", .x = 500, .y = 300}));
    ASSERT_TRUE(front.Start({.title = L"Quillo V5. front"}));
    // A window of the test takes the activation from `front`, whose thread
    // then names no window active; the stall is armed once it has.
    PlainWindow mine;
    SetForegroundWindow(mine.handle);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == mine.handle; }));
    ASSERT_TRUE(front.Stall(FIXTURE_STALL_BEFORE, SETTLING_MS));
    SetForegroundWindow(front.window());
    ASSERT_EQ(GetForegroundWindow(), nullptr) << "in front: \"" << Narrow(TitleOf(GetForegroundWindow())) << "\"";
    Navigator = {};
    AssignText(Navigator.TitlePrefix, EDITOR_TITLE_PREFIX);
    FindEditorWindow();
    EXPECT_EQ(Navigator.EditorHandle, front.window()) << "chose \"" << Narrow(TitleOf(Navigator.EditorHandle)) << "\"";
}

// Wine's notepad, opened on a file whose name starts with the prefix, is an
// editor nobody here wrote: "Quillo V5. e2e.txt - Notepad".
TEST_F(Navigation, NotepadIsFoundAndNavigated) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string text;
    for (int i = 1; i <= 120; ++i) text += "notepad line " + std::to_string(i) + "\r\n";
    Notepad notepad(DEFAULT_WAIT_MS, WAIT_POLL_MS);
    ASSERT_EQ(notepad.Open(std::wstring(temp) + std::wstring(NOTEPAD_FILE), text), "");
    EXPECT_EQ(TitleOf(notepad.window()), L"Quillo V5. e2e.txt - Notepad");

    NavigateInProcess(42);
    EXPECT_EQ(Navigator.EditorHandle, notepad.window());
    EXPECT_TRUE(WaitUntil([&] { return notepad.CaretLine() == 41; }, CARET_WAIT_MS))
        << "caret on line " << notepad.CaretLine();

    // linenav.exe itself, typed into like a person.
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(L"\"C:\\Program Files\\Quillo\\\""));
    SendText(L"17");
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return notepad.CaretLine() == 16; }, CARET_WAIT_MS))
        << "caret on line " << notepad.CaretLine();
}

// The editor minimized while linenav's prompt is open (by the person, or
// Win+D): once Return closes the prompt, the editor comes back with its text
// taking the keys, and the caret lands.
TEST_F(Navigation, AnEditorMinimizedWhileThePromptIsOpenGetsItsLine) {
    enum class Editor { Fixture, Notepad };
    struct Case {
        Editor editor;
        int minimize;
    };
    constexpr long LINE = 17;
    for (const Case c : {Case{Editor::Fixture, SW_MINIMIZE}, Case{Editor::Fixture, SW_SHOWMINNOACTIVE},
                         Case{Editor::Notepad, SW_MINIMIZE}}) {
        SCOPED_TRACE((c.editor == Editor::Fixture ? "fixture editor, " : "notepad, ") +
                     std::string(c.minimize == SW_MINIMIZE ? "SW_MINIMIZE" : "SW_SHOWMINNOACTIVE"));
        FixtureEditor fixture;
        Notepad notepad(DEFAULT_WAIT_MS, WAIT_POLL_MS);
        std::function<long()> caretLine;
        HWND window = nullptr;
        if (c.editor == Editor::Fixture) {
            ASSERT_TRUE(fixture.Start({.title = L"Quillo V5. minimized", .lines = 50, .caret = 30}));
            window = fixture.window();
            caretLine = [&] { return fixture.CaretLine(); };
        } else {
            wchar_t temp[MAX_PATH];
            GetTempPathW(MAX_PATH, temp);
            std::string text;
            for (int i = 1; i <= 50; ++i) text += "notepad line " + std::to_string(i) + "\r\n";
            ASSERT_EQ(notepad.Open(std::wstring(temp) + std::wstring(NOTEPAD_FILE), text), "");
            window = notepad.window();
            caretLine = [&] { return notepad.CaretLine(); };
        }
        LinenavRun run;
        ASSERT_TRUE(run.StartAndWaitForPrompt(L"\"C:\\Program Files\\Quillo\\\""));
        ShowWindow(window, c.minimize);
        ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) && GetForegroundWindow() == run.prompt(); }));
        SendText(std::to_wstring(LINE));
        SendKey(VK_RETURN);
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
        EXPECT_TRUE(WaitUntil([&] { return caretLine() == LINE - 1; }, CARET_WAIT_MS))
            << "caret on line " << caretLine() + 1;
        EXPECT_FALSE(IsIconic(window));
    }
}

} // namespace
