// Wine's own notepad opened on a document whose name begins with the editor's
// title prefix, so its window is titled "Quillo V5. ... - Notepad": a real
// editor, written by nobody here, whose client is a multi-line Edit control
// that takes the keys. Shared by the end-to-end tests and the bench.
#pragma once

#include "processes.h"

#include <string>
#include <windows.h>

class Notepad {
public:
    // Each wait of the driver lasts at most `limitMs`, looking every `pauseMs`.
    Notepad(DWORD limitMs, DWORD pauseMs) : limitMs_(limitMs), pauseMs_(pauseMs) {}
    Notepad(const Notepad&) = delete;
    Notepad& operator=(const Notepad&) = delete;
    // Closes notepad (ended when it has not exited 10 s after WM_CLOSE), then
    // deletes the document.
    ~Notepad();

    // Writes `text` as the document `path` (its file name begins with the
    // prefix) and opens notepad on it. Empty once notepad shows the file's name
    // and its Edit has the keyboard, else what failed.
    std::string Open(const std::wstring& path, const std::string& text);

    // The caret at the end of the text, scrolled into view; false when notepad
    // does not answer.
    bool CaretToEnd() const;
    // Brings notepad in front; true once its Edit has the keyboard.
    bool ToFront() const;

    // The 0-based line of the caret; -1 when notepad does not answer.
    long CaretLine() const;
    HWND window() const { return window_; }
    HWND edit() const { return edit_; }

private:
    bool Ask(UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) const;
    bool WaitInFront() const;

    DWORD limitMs_, pauseMs_;
    std::wstring path_;
    ChildProcess process_;
    HWND window_ = nullptr, edit_ = nullptr;
};
