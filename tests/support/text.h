// Text read off windows of this process or another.
#pragma once

#include <string>
#include <windows.h>

// What a control holds (WM_GETTEXT, bounded): for a control of another
// process its window text is only what it was created with.
std::wstring FieldText(HWND control);

// A window's caption as the system keeps it, read without a message to the
// window.
std::wstring TitleOf(HWND window);
