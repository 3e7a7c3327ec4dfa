#include "navigator/caret_keys.h"

#include "navigator/caret_plan.h"
#include "navigator/editor_window.h"
#include "navigator/globals.h"

// The key plan names these platform values without windows.h.
static_assert(KEY_LEFT_CONTROL == VK_LCONTROL && KEY_HOME == VK_HOME && KEY_DOWN == VK_DOWN);
static_assert(KEY_PRESS == 0 && KEY_RELEASE == KEYEVENTF_KEYUP);

void SendCaretKeys() {
    HWND editor = Navigator.EditorHandle;
    // Minimized again while the prompt was open: the person is to see the
    // caret land.
    RestoreEditor(editor);
    // SetForegroundWindow only asks; the keys wait until the editor has taken
    // the activation, else they are lost. A refused change or a hung editor
    // costs at most a second, then the keys go to whichever window has the
    // keyboard, as they always did.
    SetForegroundWindow(editor);
    if (editor) WaitForHandOff(editor);

    // The keys are meant for the window that has the keyboard now. When
    // another program takes the foreground, or the editor closes, the rest
    // would go to that program: sending stops instead.
    HWND keyboard = GetForegroundWindow();
    PlanCaretKeys(
        Navigator.LoopCounter, Navigator.LineNumber, [](uint8_t key, uint32_t flags) { keybd_event(key, 0, flags, 0); },
        [keyboard] { return !keyboard || GetForegroundWindow() == keyboard; });
}
