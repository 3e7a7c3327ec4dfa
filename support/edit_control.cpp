#include "edit_control.h"

long EditCaretLine(HWND edit) {
    DWORD_PTR line = 0;
    if (!SendMessageTimeoutW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0, SMTO_BLOCK, 5000, &line)) return -1;
    return static_cast<long>(line);
}

bool IsForegroundWithFocus(HWND top, HWND focus) {
    if (GetForegroundWindow() != top) return false;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &info) && info.hwndFocus == focus;
}
