// Wide text read off a window or a control, and made fit for where it goes:
// messages on a byte stream, and command lines. Shared by the tests and the
// benchmarks.
#pragma once

#include <string>
#include <windows.h>

// UTF-8, for failure messages, traces and reports; ASCII stays as it is.
std::string Narrow(const std::wstring& text);

// `text` in double quotes, as one argument of a command line. Nothing inside
// is escaped: meant for paths and titles, which hold no double quote.
std::wstring Quoted(const std::wstring& text);

// What a control holds (WM_GETTEXT, bounded): for a control of another
// process its window text is only what it was created with.
std::wstring FieldText(HWND control);

// A window's caption as the system keeps it, read without a message to the
// window.
std::wstring TitleOf(HWND window);
