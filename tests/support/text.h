// A window's caption, as the tests read it. What a control holds is
// FieldText in text_helpers.h, which the benchmarks share.
#pragma once

#include <string>
#include <windows.h>

// A window's caption as the system keeps it, read without a message to the
// window.
std::wstring TitleOf(HWND window);
