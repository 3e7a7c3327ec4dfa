// The prompt's failure paths and placement, in process. A CBT hook of the
// test's thread refuses the field as the desktop refuses a window once the
// handle quota or the desktop heap runs out, or refuses it the focus, or
// leaves no user handle for the Return item's menu; it also posts a close to
// the prompt, as a person closes a prompt with nothing to type into.
#include "navigator/globals.h"
#include "navigator/prompt.h"
#include "navigator/prompt_claim.h"

#include "base/platform/handles.h"
#include "support/ui_runtime.h"
#include "ui/menus/menus.h"
#include "ui/windows/app_windows.h"

#include <string>
#include <vector>

namespace {

enum class Refuse { Nothing, FieldWindow, FieldFocus, ReturnItem };
Refuse refused;

// The prompt's mark must be on before the prompt takes the foreground, where
// a second start's lookup may see it, and gone before any window is
// destroyed, when a later start could still find it. Its place is taken as
// it takes the activation.
bool markedLate, destroyedMarked;
RECT placed;
void NoteMark(int code, WPARAM wParam) {
    const bool marked = GetPropW(reinterpret_cast<HWND>(wParam), PROMPT_EDITOR_PROPERTY) != nullptr;
    const bool prompt = code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == WindowHandle(PROMPT_WINDOW);
    markedLate |= prompt && !marked;
    if (prompt) GetWindowRect(reinterpret_cast<HWND>(wParam), &placed);
    destroyedMarked |= code == HCBT_DESTROYWND && marked;
}

bool IsEdit(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return std::wstring(name) == L"Edit";
}

// Every user handle left, taken as the field is made, so that the Return
// item's menu cannot be; given back as the field takes the focus, so that the
// Return shortcut can be.
std::vector<MenuHandle> fillers;
void TakeEveryUserHandle() {
    for (MenuHandle menu(CreateMenu()); menu; menu.reset(CreateMenu())) fillers.push_back(std::move(menu));
}

LRESULT CALLBACK RefuseTheField(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    NoteMark(code, wParam);
    if (code == HCBT_CREATEWND) {
        if (!reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->hwndParent) PostMessageW(window, WM_CLOSE, 0, 0);
        if (refused == Refuse::FieldWindow && IsEdit(window)) return 1;
        if (refused == Refuse::ReturnItem && IsEdit(window)) TakeEveryUserHandle();
    }
    if (code == HCBT_SETFOCUS && IsEdit(window)) {
        fillers.clear();
        if (refused == Refuse::FieldFocus) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class PromptParts : public UiRuntimeTest {
protected:
    // One prompt with the hook set; whether it counted as asked. As in a run
    // of the tool, no earlier prompt's menu is left to give back a handle.
    static bool Ask(HOOKPROC hook, Refuse refuse = Refuse::Nothing) {
        FreeMenu(PROMPT_MENU);
        refused = refuse;
        markedLate = destroyedMarked = false;
        placed = {};
        const HookHandle cbt(SetWindowsHookExW(WH_CBT, hook, nullptr, GetCurrentThreadId()));
        EXPECT_TRUE(cbt);
        const bool asked = AskLineNumber();
        fillers.clear();
        EXPECT_FALSE(markedLate || destroyedMarked);
        return asked;
    }
};

TEST_F(PromptParts, HalfAPromptIsNoPrompt) {
    struct Case {
        Refuse refused;
        const char* what;
    };
    const Case cases[] = {
        {Refuse::FieldWindow, "the field cannot be made"},
        {Refuse::FieldFocus, "the field cannot take the focus, so Return has no shortcut"},
        {Refuse::ReturnItem, "the Return item's menu cannot be made"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Navigator = {};
        Navigator.LineNumber = 42;
        EXPECT_FALSE(Ask(RefuseTheField, c.refused)) << "a prompt nobody could type into counted as asked";
        EXPECT_EQ(WindowHandle(PROMPT_WINDOW), nullptr) << "the prompt stayed open";
        EXPECT_EQ(Navigator.LineNumber, 42) << "a line number came from an empty prompt";
    }
}

// Beside the editor, moved into the work area of its monitor.
TEST_F(PromptParts, OpensBesideTheEditorInsideTheWorkArea) {
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    struct Case {
        const char* what;
        int x, y;
        bool farCorner; // where `corner` is: the prompt's top-left corner, or its bottom-right one
        POINT corner;
    };
    const Case cases[] = {
        {"beside", 40, 40, false, {320, 120}},
        {"past the work area's edges", 900, 700, true, {work.right, work.bottom}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        OwnedWindow editor(CreateWindowExW(0, L"Static", L"Quillo V5. placed", WS_OVERLAPPEDWINDOW, c.x, c.y, 200, 100,
                                           nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(editor);
        Navigator = {};
        Navigator.EditorHandle = editor.get();
        EXPECT_TRUE(Ask(RefuseTheField));
        const POINT seen = c.farCorner ? POINT{placed.right, placed.bottom} : POINT{placed.left, placed.top};
        EXPECT_EQ(seen.x, c.corner.x);
        EXPECT_EQ(seen.y, c.corner.y);
    }
}

// The Return shortcut's event cannot be posted: the hook of the prompt's
// window procedure takes the post window away as the shortcut's command
// arrives. A thread timer closes a prompt that Return did not end.
bool closedByTimer;

LRESULT CALLBACK LosePostWindowOnReturn(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_COMMAND && HIWORD(call->wParam) == 1)
        DestroyWindow(FindWindowW(L"PostEventClass", nullptr));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TypeIntoTheField(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    NoteMark(code, wParam);
    if (code == HCBT_SETFOCUS && IsEdit(window)) {
        for (wchar_t digit : {L'7', L'7'}) PostMessageW(window, WM_CHAR, digit, 1);
        PostMessageW(window, WM_KEYDOWN, VK_RETURN, 1);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(PromptParts, ReturnWhoseEventCannotBePostedStillEndsThePrompt) {
    Navigator = {};
    closedByTimer = false;
    const HookHandle losing(SetWindowsHookExW(WH_CALLWNDPROC, LosePostWindowOnReturn, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(losing);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
        closedByTimer = true;
        PostMessageW(WindowHandle(PROMPT_WINDOW), WM_CLOSE, 0, 0);
    });
    const bool asked = Ask(TypeIntoTheField);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(closedByTimer) << "Return did nothing once its event could not be posted";
    EXPECT_EQ(Navigator.LineNumber, 77);
}

// Once the field has lost the focus, Return is no shortcut: a thread timer,
// at the prompt's first wait, takes the focus away, presses Return in the
// prompt that stays active, and closes it.
bool returnRaised;

LRESULT CALLBACK NoteReturnShortcut(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
    returnRaised |= code == HC_ACTION && call->message == WM_COMMAND && HIWORD(call->wParam) == 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK LeaveTheField(int code, WPARAM wParam, LPARAM lParam) {
    NoteMark(code, wParam);
    if (code == HCBT_SETFOCUS && IsEdit(reinterpret_cast<HWND>(wParam))) {
        SetTimer(nullptr, 0, USER_TIMER_MINIMUM, [](HWND, UINT, UINT_PTR timer, DWORD) {
            KillTimer(nullptr, timer);
            HWND prompt = WindowHandle(PROMPT_WINDOW);
            SetFocus(nullptr);
            PostMessageW(prompt, WM_KEYDOWN, VK_RETURN, 1);
            PostMessageW(prompt, WM_CLOSE, 0, 0);
        });
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(PromptParts, ReturnOutsideTheFieldIsNoShortcut) {
    Navigator = {};
    returnRaised = false;
    const HookHandle noting(SetWindowsHookExW(WH_CALLWNDPROC, NoteReturnShortcut, nullptr, GetCurrentThreadId()));
    ASSERT_TRUE(noting);
    EXPECT_TRUE(Ask(LeaveTheField));
    EXPECT_FALSE(returnRaised) << "Return raised the shortcut after the field had lost the focus";
}

} // namespace
