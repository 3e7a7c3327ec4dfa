#include "input.h"

#include "wait.h"

#include <vector>

namespace {

INPUT Key(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

INPUT Mouse(DWORD flags, POINT point = {0, 0}) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_ABSOLUTE) {
        input.mi.dx = MulDiv(point.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input.mi.dy = MulDiv(point.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
    }
    return input;
}

bool PointerAt(POINT point) {
    POINT now;
    return GetCursorPos(&now) && now.x == point.x && now.y == point.y;
}

} // namespace

void SendKey(WORD key, bool shift, bool control, bool alt) {
    std::vector<INPUT> inputs;
    if (shift) inputs.push_back(Key(VK_SHIFT, false));
    if (control) inputs.push_back(Key(VK_CONTROL, false));
    if (alt) inputs.push_back(Key(VK_MENU, false));
    inputs.push_back(Key(key, false));
    inputs.push_back(Key(key, true));
    if (alt) inputs.push_back(Key(VK_MENU, true));
    if (control) inputs.push_back(Key(VK_CONTROL, true));
    if (shift) inputs.push_back(Key(VK_SHIFT, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void SendText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t unit : text) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = unit;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool ClickAt(POINT point) {
    // Two steps onto the target: a press that comes with the first move into a
    // window is sometimes lost.
    POINT approach = {point.x - 6, point.y + 3};
    INPUT first = Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, approach);
    SendInput(1, &first, sizeof first);
    if (!WaitUntil([&] { return PointerAt(approach); })) return false;
    INPUT second = Mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, point);
    SendInput(1, &second, sizeof second);
    if (!WaitUntil([&] { return PointerAt(point); })) return false;
    INPUT press[2] = {Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP)};
    SendInput(2, press, sizeof(INPUT));
    return true;
}

std::optional<POINT> CloseBoxOf(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return std::nullopt;
    for (int y = rect.top + 1; y < rect.top + 40; ++y)
        for (int x = rect.right - 1; x > (rect.left + rect.right) / 2; --x) {
            DWORD_PTR hit = 0;
            SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_BLOCK, 2000, &hit);
            if (hit != HTCLOSE) continue;
            int left = x, bottom = y;
            for (;; --left) {
                SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(left - 1, y), SMTO_BLOCK, 2000, &hit);
                if (hit != HTCLOSE) break;
            }
            for (;; ++bottom) {
                SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, bottom + 1), SMTO_BLOCK, 2000, &hit);
                if (hit != HTCLOSE) break;
            }
            return POINT{(left + x) / 2, (y + bottom) / 2};
        }
    return std::nullopt;
}
