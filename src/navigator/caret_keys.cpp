#include "navigator/caret_keys.h"

#include "navigator/caret_plan.h"
#include "navigator/editor_window.h"
#include "navigator/globals.h"
#include "navigator/modifier_wait.h"

// The key plan names these platform values without windows.h.
static_assert(KEY_LEFT_CONTROL == VK_LCONTROL && KEY_HOME == VK_HOME && KEY_DOWN == VK_DOWN);
static_assert(KEY_PRESS == 0 && KEY_RELEASE == KEYEVENTF_KEYUP);
static_assert(KEY_SHIFT == VK_SHIFT && KEY_CONTROL == VK_CONTROL && KEY_ALT == VK_MENU);
static_assert(KEY_LEFT_WINDOWS == VK_LWIN && KEY_RIGHT_WINDOWS == VK_RWIN);

namespace {

constexpr DWORD MODIFIER_POLL_MS = 10;
// How long a look waits for the keyboard to be back with the window it was
// with, before it counts as gone: an activation being settled can leave the
// foreground elsewhere for a moment. Nothing is sent meanwhile.
constexpr ULONGLONG KEYBOARD_SETTLE_MS = 100;

// The person's hands off Alt, Shift, Ctrl and the Windows keys. Injected keys
// join whatever the keyboard holds at that moment: a person still holding
// Alt from the Alt+F4 that closed the prompt would turn every Down into
// Alt+Down.
bool HandsOff(ModifierWait& wait) {
    return wait.HandsOff([](uint8_t key) { return GetAsyncKeyState(key) < 0; }, [] { return GetTickCount64(); },
                         [] { Sleep(MODIFIER_POLL_MS); });
}

// True while the keyboard is with `target`.
bool KeyboardWith(HWND target) { return ForegroundWithin(target, KEYBOARD_SETTLE_MS); }

// A group of key events in one SendInput call: nothing typed or injected
// elsewhere can come between them. How many went in: fewer than `count` when
// another program's input blocked them (BlockInput, a secure desktop).
int Send(const KeyEvent* events, int count) {
    INPUT inputs[2] = {};
    if (count > 2) count = 2;
    for (int i = 0; i < count; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = events[i].key;
        inputs[i].ki.dwFlags = events[i].flags;
    }
    return static_cast<int>(SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT)));
}

// True once `target` has taken Home with Ctrl held, asked while both are
// down. Under Wine the X server's keymap notice, which the editor's thread
// handles while it waits for input, sets the key state to the X server's,
// which never saw linenav's Ctrl. The answer to a sent message comes once
// that thread has finished what it was doing, that handler included, and
// between its reply and the queued keys Wine's message loop handles no X
// event (bar a check it makes once some 200 messages came without a wait):
// a Ctrl still down after the answer is the Ctrl that Home arrives with. On
// Windows the look always finds it down.
CtrlHome CtrlHomeLanded(HWND target) {
    if (!WaitForAnswer(target, EDITOR_ANSWER_LIMIT_MS)) return CtrlHome::UNANSWERED;
    return GetAsyncKeyState(KEY_LEFT_CONTROL) < 0 ? CtrlHome::LANDED : CtrlHome::LOST;
}

} // namespace

void SendCaretKeys() {
    HWND editor = Navigator.EditorHandle;
    HWND target = editor;
    if (editor) {
        // Minimized again while the prompt was open: the person is to see the
        // caret land.
        RestoreEditor(editor);
        // SetForegroundWindow only asks. An editor that closed, hung or was
        // refused the foreground gets no key, and neither does the window the
        // system activated in its place.
        SetForegroundWindow(editor);
        if (!WaitForHandOff(editor)) return;
    } else {
        // No editor found (its title may not match): the keys are meant for
        // the window that has the keyboard now, taken once. With none at all
        // there is nobody to type into: the answer asked below of no window
        // fails at once (SendMessageTimeoutW refuses a null window), and
        // nothing is sent.
        target = WaitForForegroundWindow();
    }

    // Once the target has answered, its thread has finished taking the
    // activation and goes back to its wait, where Wine handles the
    // activation's X events, its keymap notice among them: fewer of them are
    // still pending when Ctrl goes down, and fewer Ctrl+Home tries are needed.
    // A target that gives no answer hangs (a save, a plug-in): every key
    // would wait in its queue and act whenever it recovers, long after the
    // person has moved on.
    if (!WaitForAnswer(target, EDITOR_ANSWER_LIMIT_MS)) return;

    // When another program takes the foreground, or the editor closes, the
    // rest would go to that program: sending stops instead.
    ModifierWait modifiers;
    PlanCaretKeys(
        Navigator.LoopCounter, Navigator.LineNumber, Send, [&] { return HandsOff(modifiers) && KeyboardWith(target); },
        [&] { return CtrlHomeLanded(target); });
}
