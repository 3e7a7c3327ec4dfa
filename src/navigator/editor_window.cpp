#include "navigator/editor_window.h"

#include "base/system/system_wait.h"

namespace {

constexpr DWORD EDITOR_POLL_MS = 1;

} // namespace

void RestoreEditor(HWND editor) {
    if (!editor || !IsIconic(editor)) return;
    const Deadline deadline(EDITOR_WAIT_LIMIT_MS);
    // Asynchronously: a hung editor must not hold linenav here.
    ShowWindowAsync(editor, SW_RESTORE);
    if (!WaitWithin(deadline.LeftMs(), EDITOR_POLL_MS, [&] { return !IsIconic(editor); })) return;
    // The restore activates the editor from inside its thread's ShowWindow;
    // a sent message is handled only after that call has returned.
    if (const uint64_t left = deadline.LeftMs()) WaitForAnswer(editor, left);
}

bool WaitForHandOff(HWND editor) {
    const DWORD thread = GetWindowThreadProcessId(editor, nullptr);
    if (!thread) return false; // the editor is gone
    // Under Wine, GetForegroundWindow names the editor only once its thread
    // has taken the activation; key events sent before that are thrown away.
    // The focus may settle on a child a moment later: key messages find the
    // focus when the editor takes them, so that needs no wait.
    // Both tests are kept for Windows; under Wine no test can fail one alone.
    // Wine's foreground window is the active window of the foreground
    // thread's queue, so the first implies the second there; and a thread
    // that lost the foreground names no window active once it has handled
    // that, while before, SetForegroundWindow makes its still active window
    // the foreground at once. On Windows, SetForegroundWindow names the
    // editor the foreground window at once, before its thread has taken the
    // activation.
    const auto inFront = [&] {
        if (GetForegroundWindow() != editor || IsIconic(editor)) return false;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && info.hwndActive == editor;
    };
    if (WaitWithin(EDITOR_WAIT_LIMIT_MS, EDITOR_POLL_MS, inFront)) return true;
    // A busy editor takes the activation when it next takes a message; the
    // answer says it has, or that it hangs.
    return WaitForAnswer(editor, EDITOR_ANSWER_LIMIT_MS) && WaitWithin(EDITOR_WAIT_LIMIT_MS, EDITOR_POLL_MS, inFront);
}

HWND WaitForForegroundWindow() {
    HWND foreground = nullptr;
    WaitWithin(EDITOR_WAIT_LIMIT_MS, EDITOR_POLL_MS, [&] { return (foreground = GetForegroundWindow()) != nullptr; });
    return foreground;
}

bool WaitForAnswer(HWND window, ULONGLONG limitMs) {
    DWORD_PTR ignored = 0;
    // WM_NULL does nothing; SMTO_ABORTIFHUNG gives up at once on a thread
    // the system already counts as hung.
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, static_cast<UINT>(limitMs), &ignored) != 0;
}

bool ForegroundWithin(HWND window, ULONGLONG limitMs) {
    return WaitWithin(limitMs, EDITOR_POLL_MS, [&] { return GetForegroundWindow() == window; });
}
