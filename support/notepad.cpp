#include "notepad.h"

#include "edit_control.h"
#include "text_helpers.h"
#include "whole_file.h"

#include "base/system/system_wait.h"

Notepad::~Notepad() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (!process_.WaitForExit(10000)) process_.Kill();
    if (!path_.empty()) DeleteFileW(path_.c_str());
}

std::string Notepad::Open(const std::wstring& path, const std::string& text) {
    path_ = path;
    if (!WriteWholeFile(path, text.data(), text.size())) return "cannot write the document";
    if (!StartProcess(L"notepad.exe " + Quoted(path), process_)) return "notepad.exe did not start";
    if (!WaitWithin(limitMs_, pauseMs_,
                    [&] { return (window_ = FindProcessWindow(process_.id, L"Notepad")) != nullptr; }))
        return "no notepad window";
    // Notepad creates its window as "Untitled" and names it after loading the
    // file.
    const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    if (!WaitWithin(limitMs_, pauseMs_, [&] { return TitleOf(window_).starts_with(name); }))
        return "notepad never showed the document's name";
    edit_ = FindWindowExW(window_, nullptr, L"Edit", nullptr);
    if (!edit_) return "no Edit control in notepad";
    if (!WaitInFront()) return "notepad's Edit never got the focus";
    return "";
}

bool Notepad::CaretToEnd() const {
    DWORD_PTR length = 0, ignored = 0;
    return Ask(WM_GETTEXTLENGTH, 0, 0, &length) && Ask(EM_SETSEL, length, static_cast<LPARAM>(length), &ignored) &&
           Ask(EM_SCROLLCARET, 0, 0, &ignored);
}

bool Notepad::ToFront() const {
    SetForegroundWindow(window_);
    return WaitInFront();
}

long Notepad::CaretLine() const { return EditCaretLine(edit_); }

bool Notepad::Ask(UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) const {
    return SendMessageTimeoutW(edit_, message, wParam, lParam, SMTO_BLOCK | SMTO_ABORTIFHUNG, 5000, result) != 0;
}

bool Notepad::WaitInFront() const {
    return WaitWithin(limitMs_, pauseMs_, [&] { return IsForegroundWithFocus(window_, edit_); });
}
