#include "text.h"

#include <vector>

std::wstring TitleOf(HWND window) {
    std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
    const int length = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), static_cast<size_t>(length > 0 ? length : 0));
}
