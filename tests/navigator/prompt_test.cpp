// The prompt's failure paths, in process. A CBT hook of the test's thread
// refuses the field as the desktop refuses a window once the handle quota or
// the desktop heap runs out, or refuses it the focus; it also posts a close
// to the prompt, as a person closes a prompt with nothing to type into.
#include "navigator/globals.h"
#include "navigator/prompt.h"
#include "support/ui_runtime.h"
#include "ui/windows/app_windows.h"

#include <string>

namespace {

enum class Refuse { FieldWindow, FieldFocus };
Refuse refused;

bool IsEdit(HWND window) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    return std::wstring(name) == L"Edit";
}

LRESULT CALLBACK RefuseTheField(int code, WPARAM wParam, LPARAM lParam) {
    HWND window = reinterpret_cast<HWND>(wParam);
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
        HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseTheField, nullptr, GetCurrentThreadId());
        ASSERT_NE(hook, nullptr);
        const bool asked = AskLineNumber();
        UnhookWindowsHookEx(hook);
        EXPECT_FALSE(asked) << "a prompt nobody could type into counted as asked";
        EXPECT_EQ(WindowHandle(PROMPT_WINDOW), nullptr) << "the prompt stayed open";
        EXPECT_EQ(Navigator.LineNumber, 42) << "a line number came from an empty prompt";
    }
}

} // namespace
