// linenav.exe end to end under Wine: started as the editor starts it, typed
// into through the system's input path, navigating the fixture editor.
#include "navigator/prompt_claim_name.h"

#include "../support/fixture_client.h"
#include "../support/keyboard_watch.h"
#include "../support/linenav_run.h"
#include "../support/names.h"
#include "../support/sequence.h"
#include "../support/temp_folder.h"
#include "text_helpers.h"
#include "wait.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <optional>
#include <shlobj.h>
#include <string>
#include <vector>

namespace {

const std::wstring NO_PROGRAM_FOLDER = L"\"C:\\linenav absent program\\\"";

// What the screen looks like when a run did not end: for failure messages.
std::string Situation(LinenavRun& run) {
    HWND front = GetForegroundWindow();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(front ? GetWindowThreadProcessId(front, nullptr) : 0, &info);
    return "prompt " + std::string(IsWindow(run.prompt()) ? "still open" : "gone") + ", field holds \"" +
           Narrow(IsWindow(run.field()) ? FieldText(run.field()) : L"") + "\", linenav " +
           (run.Running() ? "running" : "ended") + ", foreground \"" + Narrow(TitleOf(front)) + "\", focus " +
           (info.hwndFocus == run.field() ? "in the field" : "elsewhere");
}

class Prompt : public ::testing::Test {
protected:
    // The editor stays where it was started; each test starts its own.
    bool StartEditor(int x = 40, int y = 40, int lines = 300) {
        return editor.Start({.title = L"Quillo V5. prompt", .lines = lines, .caret = lines / 2, .x = x, .y = y});
    }
    // The editor in front with its caret on line 150 and no key recorded: a
    // run that does nothing cannot pass for one that lands where it was.
    bool ReadyEditor() {
        editor.SetCaretLine(150);
        editor.ClearKeys();
        return editor.MakeForeground();
    }
    FixtureEditor editor;
};

// --- Ending the prompt ---------------------------------------------------------------

TEST_F(Prompt, TypedTextThenReturn) {
    struct Case {
        std::wstring typed;
        long line; // 1-based line the caret lands on
    };
    const Case cases[] = {{L"125", 125}, {L"", 1}, {L"12abc", 12}, {L"  $1F", 31}, {L"%101", 5}, {L"-5", 1}, {L"0", 1}};
    ASSERT_TRUE(StartEditor());
    for (const Case& c : cases) {
        SCOPED_TRACE("typed \"" + Narrow(c.typed) + "\"");
        ASSERT_TRUE(ReadyEditor());
        LinenavRun run;
        ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
        SendText(c.typed);
        ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == c.typed; }));
        SendKey(VK_RETURN);
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
        EXPECT_FALSE(IsWindow(run.prompt()));
        EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(c.line));
    }
}

// Typed as committed text (KEYEVENTF_UNICODE, which Wine turns into VK_PACKET
// and TranslateMessage into WM_CHAR of the unit): what the field holds once
// an input method or another script's keyboard has typed the digits.
TEST_F(Prompt, DigitsOfEveryScript) {
    struct Case {
        const char* script;
        std::wstring typed;
        long line;
    };
    const Case cases[] = {{"ASCII", L"99", 99},
                          {"full-width", L"\uFF11\uFF12\uFF10", 120},
                          {"Persian", L"\u06F4\u06F2", 42},
                          {"Arabic-Indic", L"\u0667\u0663", 73},
                          {"Devanagari", L"\u0968\u0966\u096E", 208}};
    ASSERT_TRUE(StartEditor());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        ASSERT_TRUE(ReadyEditor());
        LinenavRun run;
        ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
        SendText(c.typed);
        ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == c.typed; })) << Situation(run);
        SendKey(VK_RETURN);
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
        EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(c.line));
    }
}

TEST_F(Prompt, EmptyEntryTypesTheKeysOfLineOne) {
    ASSERT_TRUE(StartEditor());
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    editor.ClearKeys();
    SendKey(VK_RETURN);
    ASSERT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(
        SameCaretKeys({{WM_KEYDOWN, VK_HOME, 0}, {WM_KEYUP, VK_HOME, 0}}, WaitForCaretKeys(editor, DEFAULT_WAIT_MS)))
        << "the Return that ended the prompt never reaches the editor";
}

TEST_F(Prompt, ClosingIsNoCancel) {
    enum class End { CloseBox, AltF4 };
    ASSERT_TRUE(StartEditor());
    for (End end : {End::CloseBox, End::AltF4}) {
        SCOPED_TRACE(end == End::CloseBox ? "close box" : "Alt+F4");
        ASSERT_TRUE(ReadyEditor());
        LinenavRun run;
        ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
        SendText(L"125");
        ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"125"; }));
        if (end == End::CloseBox) {
            const auto box = CloseBoxOf(run.prompt());
            ASSERT_TRUE(box);
            ASSERT_TRUE(ClickAt(*box));
        } else {
            SendKey(VK_F4, false, false, true);
        }
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0))
            << Situation(run) << "; the editor received " << editor.KeyCount() << " key messages";
        EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(125));
    }
}

// --- Where and how it shows ------------------------------------------------------------

TEST_F(Prompt, OpensBesideTheEditorWithItsLook) {
    struct Case {
        int x, y;
    };
    for (const Case& c : {Case{40, 40}, Case{-150, 30}, Case{300, 250}}) {
        SCOPED_TRACE("editor at " + std::to_string(c.x) + "," + std::to_string(c.y));
        ASSERT_TRUE(StartEditor(c.x, c.y, 20));
        RECT editorRect;
        GetWindowRect(editor.window(), &editorRect);
        LinenavRun run;
        ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));

        RECT outer, client;
        GetWindowRect(run.prompt(), &outer);
        GetClientRect(run.prompt(), &client);
        EXPECT_EQ(outer.left, editorRect.left + 280);
        EXPECT_EQ(outer.top, editorRect.top + 80);
        EXPECT_EQ(client.right, 120);
        EXPECT_EQ(client.bottom, 60);
        EXPECT_EQ(TitleOf(run.prompt()), L"Window");
        const LONG_PTR style = GetWindowLongPtrW(run.prompt(), GWL_STYLE);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
        EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
        EXPECT_EQ(GetMenu(run.prompt()), nullptr) << "no menu bar";
        EXPECT_EQ(GetWindow(run.prompt(), GW_OWNER), nullptr);

        ASSERT_TRUE(run.label());
        EXPECT_EQ(FieldText(run.label()), L"Enter line no.");
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(run.label(), GWL_STYLE)), 0x50020080u);
        EXPECT_EQ(GetWindowLongPtrW(run.label(), GWL_EXSTYLE), 0);
        EXPECT_EQ(GetDlgCtrlID(run.label()), 1);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(run.field(), GWL_STYLE)), 0x50030080u);
        EXPECT_EQ(GetWindowLongPtrW(run.field(), GWL_EXSTYLE), WS_EX_CLIENTEDGE);
        EXPECT_EQ(GetDlgCtrlID(run.field()), 2);
        RECT field;
        GetWindowRect(run.field(), &field);
        EXPECT_EQ(field.right - field.left, 100);
        EXPECT_EQ(field.bottom - field.top, 20);

        SendKey(VK_RETURN);
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
        editor.Close();
    }
}

TEST_F(Prompt, WithoutAnEditorOpensAt280By80) {
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    RECT outer;
    GetWindowRect(run.prompt(), &outer);
    EXPECT_EQ(outer.left, 280);
    EXPECT_EQ(outer.top, 80);
    SendText(L"9");
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
}

TEST_F(Prompt, StaysWhollyInTheWorkAreaNearItsEdge) {
    ASSERT_TRUE(StartEditor(900, 700, 20)); // the prompt's place beside it lies past both edges
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    RECT outer, work;
    GetWindowRect(run.prompt(), &outer);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(outer.right, work.right);
    EXPECT_EQ(outer.bottom, work.bottom);
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
}

// The prompt is placed beside the editor's restored place, once the editor
// has finished its restore (slowly here, busy as it is moved back): the
// prompt keeps the keyboard. The person sees the caret land.
TEST_F(Prompt, AMinimizedEditorPlacesItFromItsRestoredPlaceAndIsRestored) {
    constexpr DWORD BUSY_MS = 400; // busy as it is moved back, well inside the restore's second
    ASSERT_TRUE(StartEditor(40, 40));
    RECT normal;
    GetWindowRect(editor.window(), &normal);
    ShowWindow(editor.window(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(editor.window()); }));
    ASSERT_TRUE(editor.Stall(FIXTURE_STALL_MOVING, BUSY_MS));
    editor.ClearKeys();
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    RECT outer;
    GetWindowRect(run.prompt(), &outer);
    EXPECT_EQ(outer.left, normal.left + 280);
    EXPECT_EQ(outer.top, normal.top + 80);
    editor.KeyCount(); // answered once the editor is done with its restore
    EXPECT_TRUE(IsForegroundWithFocus(run.prompt(), run.field())) << Situation(run);
    SendText(L"33");
    ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"33"; })) << Situation(run);
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
    EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(33));
    EXPECT_FALSE(IsIconic(editor.window()));
}

// --- Where the keys go --------------------------------------------------------------------

TEST_F(Prompt, KeysStopWhenTheKeyboardGoesElsewhere) {
    enum class Away { AnotherProgramTakesIt, TheEditorCloses };
    for (Away away : {Away::AnotherProgramTakesIt, Away::TheEditorCloses}) {
        SCOPED_TRACE(away == Away::AnotherProgramTakesIt ? "another program takes the foreground"
                                                         : "the editor closes");
        FixtureEditor other;
        ASSERT_TRUE(other.Start({.title = L"Another program", .lines = 20, .x = 500, .y = 300}));
        ASSERT_TRUE(StartEditor());
        LinenavRun run;
        ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
        SendText(L"400000");
        ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"400000"; }));
        SendKey(VK_RETURN);
        ASSERT_TRUE(WaitUntil([&] { return editor.KeyCount() >= 200; })) << "the keys never started";
        if (away == Away::AnotherProgramTakesIt) ASSERT_TRUE(other.MakeForeground());
        else editor.Close();
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);

        // Once the other program has handled a key sent after linenav ended,
        // it has handled every key linenav sent it.
        ASSERT_TRUE(other.MakeForeground());
        SendKey(VK_F9);
        ASSERT_TRUE(WaitForLastKey(other, {WM_KEYUP, VK_F9, 0}, DEFAULT_WAIT_MS));
        const std::vector<KeyRecord> keys = other.Keys();
        const long downs = CountOf(keys, {WM_KEYDOWN, VK_DOWN, 0}), ups = CountOf(keys, {WM_KEYUP, VK_DOWN, 0});
        EXPECT_LE(downs, 64) << "Down presses that went to the other program";
        // The first release may belong to a press the editor received.
        EXPECT_TRUE(ups == downs || ups == downs + 1) << downs << " Down presses, " << ups << " releases";
        EXPECT_EQ(CountOf(keys, {WM_KEYDOWN, VK_HOME, 0}), 0) << "the final Home went out";
        for (int key : {VK_LCONTROL, VK_HOME, VK_DOWN}) {
            EXPECT_FALSE(GetAsyncKeyState(key) & 0x8000) << VirtualKeyName(static_cast<unsigned>(key)) << " left down";
        }
        editor.Close();
    }
}

// The editor is busy as it takes the activation back from the prompt (before
// the system names it active, or in its WM_ACTIVATE), or on the Ctrl of
// Ctrl+Home, or answers while it takes the activation only late. One that
// answers or takes the foreground late still gets its line; one that stops
// answering gets no key, not even once it recovers, long after the person has
// moved on.
TEST_F(Prompt, ASlowEditorGetsItsLineAHungOneNoKey) {
    constexpr DWORD HUNG_MS = 60000; // until resumed, after linenav has ended
    constexpr DWORD SLOW_MS = 2500;  // half the system's measure of a hung window
    // From the prompt's closing, which activates the editor: past the keyboard
    // look's settling and the hand-off's first watch, inside its second.
    constexpr DWORD LATE_MS = 1200;
    struct Case {
        const char* name;
        WPARAM where;
        DWORD stallMs;
    };
    const Case cases[] = {{"hangs in its WM_ACTIVATE", FIXTURE_STALL_TAKING, HUNG_MS},
                          {"busy in its WM_ACTIVATE", FIXTURE_STALL_TAKING, SLOW_MS},
                          {"busy before it is named active", FIXTURE_STALL_BEFORE, SLOW_MS},
                          {"busy on its Ctrl press", FIXTURE_STALL_CTRL, SLOW_MS},
                          {"answering, in front only late", FIXTURE_STALL_ANSWERING, LATE_MS}};
    ASSERT_TRUE(StartEditor());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(ReadyEditor());
        ASSERT_TRUE(editor.Stall(c.where, c.stallMs));
        LinenavRun run;
        ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
        SendText(L"77");
        ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"77"; }));
        SendKey(VK_RETURN);
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
        if (c.stallMs != HUNG_MS) {
            EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(77));
            continue;
        }
        ASSERT_TRUE(editor.Resume());
        // Once the editor has handled a key sent now, it has handled every
        // key linenav sent it.
        ASSERT_TRUE(WaitUntil([&] { return editor.HasKeyboardFocus(); }));
        SendKey(VK_F9);
        ASSERT_TRUE(WaitForLastKey(editor, {WM_KEYUP, VK_F9, 0}, DEFAULT_WAIT_MS));
        EXPECT_TRUE(SameSequence({{WM_KEYDOWN, VK_F9, 0}, {WM_KEYUP, VK_F9, 0}}, WithoutReturnRelease(editor.Keys()),
                                 KeyRecordName));
        EXPECT_EQ(editor.CaretLine(), 150);
    }
}

TEST_F(Prompt, TwoEditorsTheOneInFrontGetsTheKeys) {
    FixtureEditor behind;
    ASSERT_TRUE(behind.Start({.title = L"Quillo V5. behind", .lines = 300, .caret = 150, .x = 300, .y = 200}));
    ASSERT_TRUE(StartEditor(40, 40)); // started last: in front, where the person works
    behind.ClearKeys();
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    RECT outer;
    GetWindowRect(run.prompt(), &outer);
    EXPECT_EQ(outer.left, 40 + 280) << "placed beside the editor in front";
    EXPECT_EQ(outer.top, 40 + 80);
    SendText(L"77");
    ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"77"; }));
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
    EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(77));
    EXPECT_EQ(behind.KeyCount(), 0) << "key messages that reached the editor behind";
    EXPECT_EQ(behind.CaretLine(), 150);
}

// One run of linenav typed into, `there` being the window the person works
// in and `other` another window of its program: the prompt beside `there`,
// the caret on `line` in `there`, no key into `other`.
void ServesOnly(const FixtureWindow& there, const FixtureWindow& other, long line) {
    for (const FixtureWindow* window : {&there, &other}) {
        window->SetCaretLine(150);
        window->ClearKeys();
    }
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    RECT editorPlace, promptPlace;
    GetWindowRect(there.window(), &editorPlace);
    GetWindowRect(run.prompt(), &promptPlace);
    EXPECT_EQ(promptPlace.left, editorPlace.left + 280) << "placed beside another window";
    const std::wstring typed = std::to_wstring(line);
    SendText(typed);
    ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == typed; }));
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
    EXPECT_EQ(CaretLanding(there, CARET_WAIT_MS), OnLine(line));
    EXPECT_EQ(other.KeyCount(), 0) << "key messages that reached the other window";
    EXPECT_EQ(other.CaretLine(), 150);
}

TEST_F(Prompt, OneProgramTwoWindowsTheOneInFrontGetsTheKeys) {
    FixtureEditor program;
    ASSERT_TRUE(program.Start({.title = L"Quillo V5. one program", .lines = 300, .x = 40, .y = 40, .windows = 2}));
    const FixtureWindow windows[] = {program, program.WindowAt(1)};
    ASSERT_NE(windows[1].edit(), nullptr);
    for (int front : {0, 1}) {
        SCOPED_TRACE("window " + std::to_string(front) + " in front");
        const FixtureWindow &there = windows[front], &behind = windows[1 - front];
        ASSERT_TRUE(there.MakeForeground());
        ServesOnly(there, behind, 60 + front);
    }
}

// The tool window's owner is not the editor window nearest the front: only
// the walk through the owners finds it.
TEST_F(Prompt, AToolWindowInFrontServesTheWindowThatOwnsIt) {
    for (int owner : {0, 1}) {
        SCOPED_TRACE("the tool window of window " + std::to_string(owner) + " in front");
        FixtureEditor program;
        ASSERT_TRUE(program.Start(
            {.title = L"Quillo V5. tools", .lines = 300, .x = 40, .y = 40, .windows = 2, .outline = owner}));
        const FixtureWindow windows[] = {program, program.WindowAt(1)};
        const FixtureWindow &there = windows[owner], &other = windows[1 - owner];
        HWND outline = program.Outline();
        ASSERT_NE(outline, nullptr);
        ASSERT_TRUE(there.MakeForeground());
        ASSERT_TRUE(other.MakeForeground());
        SetForegroundWindow(outline);
        ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == outline; }));
        ServesOnly(there, other, 70 + owner);
    }
}

TEST_F(Prompt, AnEditorClosedWhileItIsOpenLeavesEveryWindowUntyped) {
    FixtureEditor other;
    ASSERT_TRUE(other.Start({.title = L"Another program", .lines = 40, .caret = 20, .x = 500, .y = 300}));
    ASSERT_TRUE(StartEditor());
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    SendText(L"9");
    ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"9"; }));
    editor.Close();
    ASSERT_TRUE(WaitUntil([&] { return IsForegroundWithFocus(run.prompt(), run.field()); }));
    other.ClearKeys();
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);

    // Once the other program has handled a key sent after linenav ended, it
    // has handled every key linenav sent it.
    ASSERT_TRUE(other.MakeForeground());
    SendKey(VK_F9);
    ASSERT_TRUE(WaitForLastKey(other, {WM_KEYUP, VK_F9, 0}, DEFAULT_WAIT_MS));
    for (const KeyRecord& key : other.Keys())
        EXPECT_TRUE(key.key != VK_CONTROL && key.key != VK_HOME && key.key != VK_DOWN)
            << KeyRecordName(key) << " reached another program";
    EXPECT_EQ(other.CaretLine(), 20);
}

// --- A prompt that cannot open ------------------------------------------------------------

// Nobody was asked for a line: no key goes out, to the editor in front or
// anywhere, and linenav ends with 1. The low-level hook sees every key that
// SendInput injects before SendInput returns.
TEST_F(Prompt, APromptThatCannotOpenSendsNoKeyAndEndsWith1) {
    ASSERT_TRUE(StartEditor());
    ASSERT_TRUE(ReadyEditor());
    const LibraryHandle library(LoadLibraryW(ProgramBeside(L"linenav-refusing-hook.dll").c_str()));
    ASSERT_TRUE(library);
    const auto refuse =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library.get(), "RefusePrompt")));
    const HookHandle hook(SetWindowsHookExW(WH_CBT, refuse, library.get(), 0));
    ASSERT_TRUE(hook);
    std::atomic<int> injected{0};
    const KeyboardWatch watch([&](const KBDLLHOOKSTRUCT& key) { injected += (key.flags & LLKHF_INJECTED) != 0; });
    ASSERT_TRUE(watch.watching());
    LinenavRun run;
    ASSERT_TRUE(run.Start(NO_PROGRAM_FOLDER));
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(1)) << Situation(run);
    EXPECT_EQ(injected, 0) << "key events injected";
}

// --- One prompt for each editor window ----------------------------------------------------------

// A second start for the editor window of an open prompt shows none and ends
// with 0; that prompt, its text and focus kept, answers alone. Started right
// away, the second claims before either start has a window, and either may
// win. A start shows a prompt of its own for another window of the editor,
// after the first start ended with its prompt open, and once the first
// prompt has closed while its start types a long jump, which then stops. The
// editor's second window lies behind: a lookup blind to a prompt in front
// would serve it.
TEST_F(Prompt, OnePromptForEachEditorWindow) {
    enum class Second { RightAway, EditorInFront, PromptInFront, PromptMinimized, OtherWindow, FirstEnded, LongJump };
    FixtureEditor program;
    ASSERT_TRUE(program.Start({.title = L"Quillo V5. twice", .lines = 300, .windows = 2}));
    const FixtureWindow windows[] = {program, program.WindowAt(1)};
    for (int k = 0; k <= static_cast<int>(Second::LongJump); ++k) {
        SCOPED_TRACE("case " + std::to_string(k));
        const auto second = static_cast<Second>(k);
        const bool ownPrompt = second >= Second::OtherWindow;
        const FixtureWindow& there = windows[second == Second::OtherWindow ? 1 : 0];
        there.SetCaretLine(150);
        there.ClearKeys();
        ASSERT_TRUE(windows[0].MakeForeground());
        std::optional<LinenavRun> first(std::in_place);
        LinenavRun later;
        KernelHandle claim; // held here too, the first start's claim outlives it, abandoned
        ASSERT_TRUE(first->Start(NO_PROGRAM_FOLDER));
        const std::wstring typed = second == Second::RightAway ? L"" : L"1";
        if (!typed.empty()) {
            ASSERT_TRUE(first->WaitForPrompt());
            SendText(typed);
            ASSERT_TRUE(WaitUntil([&] { return FieldText(first->field()) == typed; }));
        }
        if (second == Second::PromptMinimized) ShowWindow(first->prompt(), SW_MINIMIZE);
        if (second == Second::FirstEnded) {
            claim.reset(OpenMutexW(SYNCHRONIZE, FALSE, ClaimNameFor(reinterpret_cast<uintptr_t>(there.window())).text));
            ASSERT_TRUE(claim);
            first.reset();
        }
        if (second == Second::LongJump) {
            SendText(L"00000");
            SendKey(VK_RETURN);
            ASSERT_TRUE(WaitUntil([&] { return there.KeyCount() >= 200; })) << "the keys never started";
        }
        ASSERT_TRUE(second == Second::RightAway || second == Second::PromptInFront || there.MakeForeground());
        ASSERT_TRUE(later.Start(NO_PROGRAM_FOLDER));
        LinenavRun* answering = &later;
        if (!ownPrompt) {
            ASSERT_TRUE(WaitUntil([&] { return !first->Running() || !later.Running(); })) << "neither gave way";
            if (!later.Running()) answering = &*first;
            EXPECT_EQ((answering == &later ? *first : later).WaitForExit(), std::optional<DWORD>(0));
        }
        ASSERT_TRUE(answering->WaitForPrompt()) << Situation(*answering);
        EXPECT_EQ(FieldText(answering->field()), ownPrompt ? L"" : typed) << "the text typed before";
        EXPECT_TRUE(second != Second::LongJump || first->WaitForExit() == std::optional<DWORD>(0));
        there.ClearKeys();
        SendText(L"2");
        const std::wstring entry = (ownPrompt ? L"" : typed) + L"2";
        ASSERT_TRUE(WaitUntil([&] { return FieldText(answering->field()) == entry; }));
        SendKey(VK_RETURN);
        EXPECT_EQ(answering->WaitForExit(), std::optional<DWORD>(0)) << Situation(*answering);
        std::vector<KeyRecord> afterCtrlHome;
        for (int down = 1; down < std::stoi(entry); ++down)
            afterCtrlHome.insert(afterCtrlHome.end(), {{WM_KEYDOWN, VK_DOWN, 0}, {WM_KEYUP, VK_DOWN, 0}});
        afterCtrlHome.insert(afterCtrlHome.end(), {{WM_KEYDOWN, VK_HOME, 0}, {WM_KEYUP, VK_HOME, 0}});
        // Wine queues each event of one SendInput apart: the Return's release
        // can come once linenav has closed the prompt and the editor has the keyboard.
        std::vector<KeyRecord> keys = WaitForCaretKeys(there, DEFAULT_WAIT_MS);
        if (!keys.empty() && keys.front() == KeyRecord{WM_KEYUP, VK_RETURN, 0}) keys.erase(keys.begin());
        EXPECT_TRUE(SameCaretKeys(afterCtrlHome, keys));
        EXPECT_EQ(CaretLanding(there, CARET_WAIT_MS), OnLine(std::stoi(entry)));
    }
}

// --- What other programs can do to it ---------------------------------------------------------

TEST_F(Prompt, MessagesFromOtherProgramsCannotHarmIt) {
    ASSERT_TRUE(StartEditor());
    editor.ClearKeys();
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    HWND hidden = FindProcessWindow(run.processId(), L"PostEventClass");
    ASSERT_TRUE(hidden);
    // The registered message that carries linenav's own posted events, with
    // values no record of linenav's has: null, small, unmapped, wild.
    const UINT posted = RegisterWindowMessageW(L"LinenavPostedEvent");
    const LPARAM garbage[] = {0, 1, 0x1000, static_cast<LPARAM>(0xDEADBEEF), static_cast<LPARAM>(0x7FFFFFFF0000), -1};
    for (int round = 0; round < 300; ++round) {
        for (LPARAM value : garbage) ASSERT_TRUE(PostMessageW(hidden, posted, 0, value));
        ASSERT_TRUE(round % 100 != 0 || PostMessageW(hidden, WM_CLOSE, 0, 0));
    }
    // A notification whose pointer means nothing in linenav, posted to the prompt.
    ASSERT_TRUE(PostMessageW(run.prompt(), WM_NOTIFY, 0, 1));
    // Posted messages come before typed ones, so once the typing shows, the
    // flood has been handled.
    SendText(L"42");
    ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"42"; })) << Situation(run);
    EXPECT_TRUE(IsWindow(hidden)) << "WM_CLOSE from outside destroyed the hidden window";
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
    EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(42));
}

// --- Keys that must not end it -------------------------------------------------------------

TEST_F(Prompt, TabAndModifiedReturnKeepItOpen) {
    ASSERT_TRUE(StartEditor());
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    // Each key is followed by a character, and the character's arrival shows
    // the key was handled while the prompt stayed open with the focus in place.
    struct Step {
        WORD key;
        bool shift, control, alt;
        const wchar_t* then;
    };
    const Step steps[] = {{VK_TAB, false, false, false, L"4"},
                          {VK_TAB, true, false, false, L"2"},
                          {VK_RETURN, true, false, false, L"a"},
                          {VK_RETURN, false, true, false, L"b"},
                          {VK_RETURN, false, false, true, L"c"}};
    std::wstring expected;
    for (const Step& step : steps) {
        SendKey(step.key, step.shift, step.control, step.alt);
        SendText(step.then);
        expected += step.then;
        EXPECT_TRUE(WaitUntil([&] { return FieldText(run.field()) == expected; }))
            << "field holds \"" << Narrow(FieldText(run.field())) << "\"";
        EXPECT_TRUE(run.Running());
        EXPECT_TRUE(IsForegroundWithFocus(run.prompt(), run.field()));
    }
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(42));
}

TEST_F(Prompt, LeavingAndComingBackKeepsReturnWorking) {
    ASSERT_TRUE(StartEditor());
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    SendText(L"33");
    ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"33"; }));
    ASSERT_TRUE(editor.MakeForeground());
    SetForegroundWindow(run.prompt());
    ASSERT_TRUE(WaitUntil([&] { return IsForegroundWithFocus(run.prompt(), run.field()); }))
        << "the focus returns to the field";
    SendKey(VK_RETURN);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(33));
}

TEST_F(Prompt, PasteReachingTheLengthLimitEndsItLikeReturn) {
    ASSERT_TRUE(StartEditor());
    LinenavRun run;
    ASSERT_TRUE(run.StartAndWaitForPrompt(NO_PROGRAM_FOLDER));
    const std::wstring text = L"7" + std::wstring(40000, L'a'); // past the field's default limit
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(memory);
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    SendKey('V', false, true, false);
    EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << "no Return was pressed";
    EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(7));
}

// --- The line map, end to end ------------------------------------------------------------------

std::wstring ProfileFolder() {
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROFILE, nullptr, 0, path);
    std::wstring folder = path;
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    return folder;
}

// The per-user data folder exists only for the test that needs it.
class UserMap {
public:
    explicit UserMap(const std::vector<uint8_t>& bytes) {
        CreateDirectoryW((ProfileFolder() + L"AppData").c_str(), nullptr);
        CreateDirectoryW((ProfileFolder() + L"AppData\\Local").c_str(), nullptr);
        CreateDirectoryW(Folder().c_str(), nullptr);
        path_ = Folder() + L"lineno.txt";
        FileHandle file(CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
    ~UserMap() {
        DeleteFileW(path_.c_str());
        RemoveDirectoryW(Folder().c_str());
    }
    const std::wstring& path() const { return path_; }
    static std::wstring Folder() { return ProfileFolder() + L"AppData\\Local\\Quillo5\\"; }

private:
    std::wstring path_;
};

std::vector<uint8_t> TenByteMap() {
    auto bytes = Int32Records({40, 50});
    bytes.push_back(0x07);
    bytes.push_back(0x01);
    return bytes;
}

// One whole run, typed like a person; where the caret landed, or what went wrong.
std::string Navigate(FixtureEditor& editor, const std::wstring& argument, const std::wstring& typed) {
    editor.SetCaretLine(editor.CaretLine() == 150 ? 160 : 150);
    editor.MakeForeground();
    editor.ClearKeys();
    LinenavRun run;
    if (!run.Start(argument)) return "linenav did not start, error " + std::to_string(GetLastError());
    if (!run.WaitForPrompt()) return "no prompt: " + Situation(run);
    SendText(typed);
    WaitUntil([&] { return FieldText(run.field()) == typed; });
    SendKey(VK_RETURN);
    if (run.WaitForExit() != std::optional<DWORD>(0)) return "linenav did not end with 0: " + Situation(run);
    return CaretLanding(editor, CARET_WAIT_MS);
}

TEST_F(Prompt, LineMapPerUserAndPortable) {
    ASSERT_TRUE(StartEditor(40, 40, 300));
    TempFolder folder;
    const std::wstring program = folder.MakeFolder(L"Prog Dir") + L"\\";
    const std::wstring quoted = Quoted(program);

    {
        SCOPED_TRACE("per-user map, no portable marker (a DATA folder beside the program is ignored)");
        folder.MakeFolder(L"Prog Dir\\DATA");
        folder.Write(L"Prog Dir\\DATA\\lineno.txt", Int32Records({99, 99, 99}));
        UserMap map(Int32Records({10, 0, 25}));
        EXPECT_EQ(Navigate(editor, quoted, L"1"), OnLine(10));
        EXPECT_EQ(Navigate(editor, quoted, L"2"), OnLine(2)) << "a zero record keeps the typed number";
        EXPECT_EQ(Navigate(editor, quoted, L"3"), OnLine(25));
        EXPECT_EQ(Navigate(editor, quoted, L"4"), OnLine(4));
    }
    {
        SCOPED_TRACE("portable marker as an empty file, program folder with spaces");
        folder.Write(L"Prog Dir\\portable.inf", {});
        folder.Write(L"Prog Dir\\DATA\\lineno.txt", TenByteMap());
        EXPECT_EQ(Navigate(editor, quoted, L"2"), OnLine(50));
        EXPECT_EQ(Navigate(editor, quoted, L"3"), OnLine(263)) << "the partial last record 0x07 0x01";
        EXPECT_EQ(Navigate(editor, quoted, L"4"), OnLine(4));
        DeleteFileW((program + L"portable.inf").c_str());
    }
    {
        SCOPED_TRACE("portable marker as a folder");
        folder.MakeFolder(L"Prog Dir\\portable.inf");
        folder.Write(L"Prog Dir\\DATA\\lineno.txt", Int32Records({10, 0, 25}));
        EXPECT_EQ(Navigate(editor, quoted, L"1"), OnLine(10));
    }
    for (auto [kind, line] : {std::pair{FileHolder::Kind::Reader, 25}, {FileHolder::Kind::Writer, 3}}) {
        SCOPED_TRACE(kind == FileHolder::Kind::Reader ? "the map held by a reader that shares everything"
                                                      : "the map held by a writer");
        FileHolder holder;
        ASSERT_TRUE(holder.Hold(program + L"DATA\\lineno.txt", kind));
        EXPECT_EQ(Navigate(editor, quoted, L"3"), OnLine(line));
    }
}

// --- What the tool leaves behind ------------------------------------------------------------------

struct FileState {
    uint64_t size;
    FILETIME written;
};

void Snapshot(const std::wstring& folder, std::map<std::wstring, FileState>& files, bool deep = true) {
    WIN32_FIND_DATAW found;
    FindHandle search(FindFirstFileW((folder + L"*").c_str(), &found));
    if (!search) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring full = folder + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            files[full + L"\\"] = {0, {}};
            // Wine links profile folders such as Documents to the Unix home: not ours to walk.
            if (deep && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) Snapshot(full + L"\\", files);
        } else {
            files[full] = {(static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow,
                           found.ftLastWriteTime};
        }
    } while (FindNextFileW(search.get(), &found));
}

// Everywhere the tool could plausibly write: the drive's top, the profile
// with its application-data folders, the temporary folder, the Windows
// folder's top, the tool's own folder and the current folder.
void SnapshotWhereTheToolCouldWrite(std::map<std::wstring, FileState>& files) {
    Snapshot(L"C:\\", files, false);
    Snapshot(ProfileFolder(), files, false);
    Snapshot(ProfileFolder() + L"AppData\\", files);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    Snapshot(temp, files, false);
    Snapshot(L"C:\\windows\\", files, false);
    const std::wstring tool = ProgramBeside(L"");
    Snapshot(tool, files, false);
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    std::wstring folder = current;
    if (folder.back() != L'\\') folder += L'\\';
    if (folder != tool) Snapshot(folder, files, false);
}

TEST_F(Prompt, WritesNoFile) {
    ASSERT_TRUE(StartEditor(40, 40, 50));
    std::map<std::wstring, FileState> before, after;
    SnapshotWhereTheToolCouldWrite(before);
    EXPECT_EQ(Navigate(editor, NO_PROGRAM_FOLDER, L"12"), OnLine(12));
    SnapshotWhereTheToolCouldWrite(after);
    std::vector<std::wstring> changed;
    for (const auto& [path, state] : after) {
        auto old = before.find(path);
        if (old == before.end() || old->second.size != state.size ||
            CompareFileTime(&old->second.written, &state.written) != 0)
            changed.push_back(path);
    }
    for (const auto& [path, state] : before)
        if (!after.count(path)) changed.push_back(path);
    std::string list;
    for (const auto& path : changed) list += Narrow(path) + "\n";
    EXPECT_TRUE(changed.empty()) << "changed on drive C:\n" << list;
}

// --- What it loads ----------------------------------------------------------------------------

// Sets a value for as long as it lives, then deletes it.
class RegistryValue {
public:
    RegistryValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) : name_(name) {
        if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr) != ERROR_SUCCESS)
            key_ = nullptr;
        set_ = key_ && RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    ~RegistryValue() {
        if (set_) RegDeleteValueW(key_, name_);
        if (key_) RegCloseKey(key_);
    }
    bool set() const { return set_; }

private:
    HKEY key_ = nullptr;
    const wchar_t* name_;
    bool set_ = false;
};

// A system DLL that loads a DLL by its name alone: imm32 loads the input
// method named by the keyboard layout's "Ime File" when a window first takes
// the focus. Named after the planted DLL, it is found in the current folder
// by an ordinary search: the fixture editor shows that; linenav must not load
// it from there, nor from beside a copy of linenav.exe that lies with it.
TEST_F(Prompt, ADllPlantedInTheCurrentFolderOrBesideTheProgramIsNotLoaded) {
    KernelHandle loaded(CreateEventW(nullptr, TRUE, FALSE, L"LinenavPlantedLoaded"));
    ASSERT_TRUE(loaded);
    wchar_t layout[16];
    swprintf(layout, 16, L"%08x", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))));
    const RegistryValue ime(HKEY_LOCAL_MACHINE,
                            std::wstring(L"System\\CurrentControlSet\\Control\\Keyboard Layouts\\") + layout,
                            L"Ime File", L"linenav-planted.dll");
    ASSERT_TRUE(ime.set());
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring planted = ProgramBeside(L"planted");
    const TempFolder copy;
    for (auto [from, to] :
         {std::pair{L"linenav.exe", L"linenav.exe"}, {L"planted\\linenav-planted.dll", L"linenav-planted.dll"}})
        ASSERT_TRUE(CopyFileW(ProgramBeside(from).c_str(), (copy.path() + to).c_str(), FALSE));
    struct Case {
        const char* where;
        std::wstring program, current; // linenav's, and the folder it starts in
    };
    const Case cases[] = {{"in the current folder", ProgramBeside(L"linenav.exe"), planted},
                          {"beside the program", copy.path() + L"linenav.exe", previous}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        ResetEvent(loaded.get());
        ASSERT_TRUE(SetCurrentDirectoryW(planted.c_str()));
        const bool editorStarted = StartEditor(); // started in the planted folder
        LinenavRun run;
        const bool linenavStarted =
            editorStarted && SetCurrentDirectoryW(c.current.c_str()) && run.Start(NO_PROGRAM_FOLDER, c.program);
        SetCurrentDirectoryW(previous);
        ASSERT_TRUE(editorStarted);
        EXPECT_EQ(WaitForSingleObject(loaded.get(), DEFAULT_WAIT_MS), WAIT_OBJECT_0)
            << "the ordinary search never loaded the planted DLL: this test shows nothing";
        ResetEvent(loaded.get());

        ASSERT_TRUE(linenavStarted);
        ASSERT_TRUE(run.WaitForPrompt()) << Situation(run);
        SendText(L"8"); // a key through the input method as well as the focus
        ASSERT_TRUE(WaitUntil([&] { return FieldText(run.field()) == L"8"; })) << Situation(run);
        EXPECT_EQ(WaitForSingleObject(loaded.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
            << "linenav loaded the planted DLL";
        SendKey(VK_RETURN);
        EXPECT_EQ(run.WaitForExit(), std::optional<DWORD>(0)) << Situation(run);
        EXPECT_EQ(CaretLanding(editor, CARET_WAIT_MS), OnLine(8));
        editor.Close();
    }
}

// --- Many runs in a row ------------------------------------------------------------------------------

TEST_F(Prompt, HundredNavigationsInARow) {
    ASSERT_TRUE(StartEditor(40, 40, 80));
    TempFolder folder;
    const std::wstring mapped = folder.MakeFolder(L"mapped") + L"\\";
    folder.Write(L"mapped\\portable.inf", {});
    folder.MakeFolder(L"mapped\\DATA");
    // Record k sends k to k + 3, except every seventh record, which is 0.
    std::vector<uint8_t> bytes;
    for (int32_t k = 1; k <= 70; ++k) {
        auto record = Int32Records({k % 7 == 0 ? 0 : k + 3});
        bytes.insert(bytes.end(), record.begin(), record.end());
    }
    folder.Write(L"mapped\\DATA\\lineno.txt", bytes);

    for (int run = 0; run < 100; ++run) {
        const int typed = 1 + (run * 37) % 70;
        const bool useMap = run % 2 == 0;
        const long expected = useMap && typed % 7 != 0 ? typed + 3 : typed;
        const std::wstring argument = useMap ? Quoted(mapped) : NO_PROGRAM_FOLDER;
        ASSERT_EQ(Navigate(editor, argument, std::to_wstring(typed)), OnLine(expected))
            << "run " << run << ", typed " << typed << (useMap ? " with the map" : " without a map");
    }
}

} // namespace
