// The prompt's failure paths, in process. A CBT hook of the test's thread
// refuses the field as the desktop refuses a window once the handle quota or
// the desktop heap runs out, or refuses it the focus; it also posts a close
// to the prompt, as a person closes a prompt with nothing to type into.
#include "navigator/globals.h"
#include "navigator/prompt.h"
#include "navigator/prompt_claim.h"
#include "support/ui_runtime.h"
#include "ui/windows/app_windows.h"

#include <string>

namespace {

enum class Refuse { FieldWindow, FieldFocus };
Refuse refused;

// The prompt's mark must be on before the prompt takes the foreground, where
// a second start's lookup may see it, and gone before any window is
// destroyed, when a later start could still find it.
bool markedLate, destroyedMarked;
void NoteMark(int code, WPARAM wParam) {
    const bool marked = GetPropW(reinterpret_cast<HWND>(wParam), PROMPT_EDITOR_PROPERTY) != nullptr;
    markedLate |= code == HCBT_ACTIVATE && reinterpret_cast<HWND>(wParam) == WindowHandle(PROMPT_WINDOW) && !marked;
    destroyedMarked |= code == HCBT_DESTROYWND && marked;
}

bool IsEdit(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return std::wstring(name) == L"Edit";
}

LRESULT CALLBACK RefuseTheField(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
    NoteMark(code, wParam);
    if (code == HCBT_CREATEWND) {
        if (!reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->hwndParent) PostMessageW(window, WM_CLOSE, 0, 0);
        if (refused == Refuse::FieldWindow && IsEdit(window)) return 1;
    }
    if (code == HCBT_SETFOCUS && refused == Refuse::FieldFocus && IsEdit(window)) return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class PromptParts : public UiRuntimeTest {};

TEST_F(PromptParts, HalfAPromptIsNoPrompt) {
    struct Case {
        Refuse refused;
        const char* what;
    };
    const Case cases[] = {
        {Refuse::FieldWindow, "the field cannot be made"},
        {Refuse::FieldFocus, "the field cannot take the focus, so Return has no shortcut"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Navigator = {};
        Navigator.LineNumber = 42;
        refused = c.refused;
        markedLate = destroyedMarked = false;
        HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseTheField, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        const bool asked = AskLineNumber();
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(asked) << "a prompt nobody could type into counted as asked";
        EXPECT_EQ(WindowHandle(PROMPT_WINDOW), nullptr) << "the prompt stayed open";
        EXPECT_EQ(Navigator.LineNumber, 42) << "a line number came from an empty prompt";
        EXPECT_FALSE(markedLate || destroyedMarked);
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
    markedLate = destroyedMarked = false;
    HHOOK typing = SetWindowsHookExW(WH_CBT, TypeIntoTheField, nullptr, GetCurrentThreadId());
    HHOOK losing = SetWindowsHookExW(WH_CALLWNDPROC, LosePostWindowOnReturn, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(typing && losing);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) {
        closedByTimer = true;
        PostMessageW(WindowHandle(PROMPT_WINDOW), WM_CLOSE, 0, 0);
    });
    const bool asked = AskLineNumber();
    KillTimer(nullptr, timer);
    UnhookWindowsHookEx(losing);
    UnhookWindowsHookEx(typing);
    EXPECT_TRUE(asked);
    EXPECT_FALSE(closedByTimer) << "Return did nothing once its event could not be posted";
    EXPECT_EQ(Navigator.LineNumber, 77);
    EXPECT_FALSE(markedLate || destroyedMarked);
}

} // namespace
