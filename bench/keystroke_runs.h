// The keystroke side of the runs: how many key events a run sends, and the
// window that takes them in the runs into an editor.
#pragma once

#include "base/platform/handles.h"

#include <windows.h>

// The key events a run to `line` sends, on either side: Ctrl+Home and Home,
// and a press and a release per Down, capped as linenav caps them (the floor
// keeps a copy of the cap).
long long KeyEvents(long long line);

// A window titled like the editor, on a thread of the driver, that takes the
// keys: with it in front, linenav hands the keyboard over to it and looks
// where the keyboard goes while it sends, as in a real run.
class EditorSink {
public:
    EditorSink();
    ~EditorSink();
    EditorSink(const EditorSink&) = delete;
    EditorSink& operator=(const EditorSink&) = delete;
    // Shows it in front, with nothing queued from an earlier run.
    void Show();
    // Waits until it has handled every key queued for it so far, so that none
    // is left to load the next run; then hides it.
    void DrainAndHide();
    // The key messages (presses and releases) it has taken so far.
    LONG keys() const { return InterlockedCompareExchange(const_cast<LONG*>(&keys_), 0, 0); }

private:
    static constexpr UINT DRAIN = WM_APP + 1;

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static DWORD WINAPI Main(void* self);
    void Loop();

    KernelHandle ready_, thread_;
    DWORD threadId_ = 0;
    HWND window_ = nullptr; // owned by the window's own thread, which destroys it
    LONG requests_ = 0, drained_ = 0, keys_ = 0;
};
