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

INPUT Mouse(POINT to, DWORD flags) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    // Rounded up, so that scaling back to pixels (which drops the fraction)
    // lands on the pixel itself.
    input.mi.dx = (to.x * 65536 + width - 1) / width;
    input.mi.dy = (to.y * 65536 + height - 1) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    return input;
}

bool Wait(PointerWait wait, const std::function<bool()>& condition, DWORD timeoutMs) {
    return wait ? wait(condition, timeoutMs) : WaitUntil(condition, timeoutMs);
}

// Under Wine a pointer move can be undone by the display server's report of an
// earlier move arriving late, so the pointer counts as placed only once it is
// seen at its place and stays there for a while.
bool PointerStaysAt(POINT at, PointerWait wait) {
    auto there = [&] {
        POINT now = {};
        return GetCursorPos(&now) && now.x == at.x && now.y == at.y;
    };
    if (!Wait(wait, there, 1000)) return false;
    // It stays when a wait of 100 ms for it to leave runs out.
    return !Wait(
        wait, [&] { return !there(); }, 100);
}

// The window's answer to a hit test at a screen point; HTNOWHERE when it does
// not answer in time.
LRESULT HitTest(HWND window, int x, int y) {
    DWORD_PTR hit = HTNOWHERE;
    if (!SendMessageTimeoutW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_BLOCK, 2000, &hit)) return HTNOWHERE;
    return static_cast<LRESULT>(hit);
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

bool PlacePointer(POINT point, PointerWait wait) {
    // Two steps onto the target: a press that comes with the first move into a
    // window is sometimes lost. A step the pointer does not keep is sent again.
    const POINT steps[] = {{point.x - 20, point.y + 20}, point};
    for (const POINT& step : steps) {
        bool placed = false;
        for (int attempt = 0; attempt < 5 && !placed; ++attempt) {
            INPUT move = Mouse(step, MOUSEEVENTF_MOVE);
            SendInput(1, &move, sizeof(INPUT));
            placed = PointerStaysAt(step, wait);
        }
        if (!placed) return false;
    }
    return true;
}

void PressButtons(POINT point, DWORD down, DWORD up, int times) {
    std::vector<INPUT> inputs;
    for (int i = 0; i < times; ++i) {
        inputs.push_back(Mouse(point, down));
        inputs.push_back(Mouse(point, up));
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

bool ClickAt(POINT point, PointerWait wait) {
    if (!PlacePointer(point, wait)) return false;
    PressButtons(point, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
    return true;
}

std::optional<POINT> CloseBoxOf(HWND window) {
    // Wherever the window's hit test answers HTCLOSE: the caption rows,
    // scanned from the right, then the middle of the run found.
    RECT rect;
    if (!GetWindowRect(window, &rect)) return std::nullopt;
    for (int y = rect.top + 1; y < rect.top + 40; ++y)
        for (int x = rect.right - 1; x > (rect.left + rect.right) / 2; --x) {
            if (HitTest(window, x, y) != HTCLOSE) continue;
            int left = x, bottom = y;
            while (HitTest(window, left - 1, y) == HTCLOSE) --left;
            while (HitTest(window, x, bottom + 1) == HTCLOSE) ++bottom;
            return POINT{(left + x) / 2, (y + bottom) / 2};
        }
    return std::nullopt;
}
