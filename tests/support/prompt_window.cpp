#include "prompt_window.h"

#include "key_spy.h"
#include "test_windows.h"
#include "ui_runtime.h"
#include "ui/gadgets/gadgets.h"
#include "ui/windows/app_windows.h"

HWND OpenPrompt(PromptGadgets gadgets) {
    if (!OpenAppWindow(0, PROMPT_LEFT, PROMPT_TOP, PROMPT_WIDTH, PROMPT_HEIGHT, L"Window", DEFAULT_WINDOW_FLAGS)) {
        ADD_FAILURE() << "window 0 did not open";
        return nullptr;
    }
    HWND window = WindowHandle(0);
    bool done = true;
    auto step = [&](bool succeeded, const char* what) {
        EXPECT_TRUE(succeeded) << what;
        done = done && succeeded;
    };
    step(Activate(window), "window 0 never became the active window");
    if (gadgets.label) step(CreateLabel(1, 10, 10, 100, 20, L"Enter line no.") != 0, "label 1 was not created");
    if (gadgets.field) {
        step(CreateTextField(2, 10, 30, 100, 20, L"") != 0, "text field 2 was not created");
        if (gadgets.focused) FocusGadget(2);
        if (gadgets.keySpy) KeySpy::Attach(Control(2));
    }
    return done ? window : nullptr;
}
