// The floor for linenav's launch, its Return-to-exit path and its footprint:
// the least a Win32 program can do to show the same prompt and send the same
// keys. A 120 x 60 client area with a caption and close box at (280, 80), a
// label and a one-line field in the system message font, the focus in the
// field. Return in the field (or closing the window) reads the number, closes
// the window, and sends Ctrl+Home, Down x (line - 1), Home with a bare loop of
// keybd_event calls, capped like linenav's; then the process exits with 0.
//
// Nothing here is shared with linenav's code: it is what linenav is measured
// against.
//
// Built twice. floor_prompt imports only what the prompt needs (GDI32,
// KERNEL32, msvcrt, USER32). floor_prompt_dlls (FLOOR_SAME_DLLS) is the same
// program importing the DLLs linenav imports, COMCTL32 besides those: the
// loader maps and initialises it (and what it pulls in) before the entry
// point, as it does for linenav. It calls nothing in it; its address is taken
// once the prompt is gone, only to keep the import. (linenav loads SHELL32 and
// ole32 itself, after the prompt has closed.)
#include <windows.h>
#ifdef FLOOR_SAME_DLLS
#include <commctrl.h>
#endif

namespace {

constexpr long long DOWN_PRESS_CAP = 1000000; // linenav's MAX_DOWN_PRESSES
constexpr int FIELD_ID = 2;

HWND field;
bool done;

// Each thing the floor makes has an owner that releases it, as in linenav;
// these are its own, since it shares none of linenav's code.
template <class Handle, auto Release> struct Owner {
    Handle handle = nullptr;
    Owner() = default;
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    ~Owner() {
        if (handle) Release(handle);
    }
};
using WindowOwner = Owner<HWND, DestroyWindow>;
using FontOwner = Owner<HFONT, DeleteObject>;
#ifdef FLOOR_SAME_DLLS
void* volatile imported; // keeps the import
#endif

long long ParseLine(const wchar_t* text) {
    while (*text == L' ' || *text == L'\t') ++text;
    bool negative = false;
    if (*text == L'-' || *text == L'+') negative = *text++ == L'-';
    long long value = 0;
    while (*text >= L'0' && *text <= L'9' && value < 100000000000000LL) value = value * 10 + (*text++ - L'0');
    return negative ? -value : value;
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        done = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void SendKeys(long long line) {
    const long long downs = line <= 1 ? 0 : (line - 1 < DOWN_PRESS_CAP ? line - 1 : DOWN_PRESS_CAP);
    keybd_event(VK_LCONTROL, 0, 0, 0);
    keybd_event(VK_HOME, 0, 0, 0);
    keybd_event(VK_HOME, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_LCONTROL, 0, KEYEVENTF_KEYUP, 0);
    for (long long i = 0; i < downs; ++i) {
        keybd_event(VK_DOWN, 0, 0, 0);
        keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    }
    keybd_event(VK_HOME, 0, 0, 0);
    keybd_event(VK_HOME, 0, KEYEVENTF_KEYUP, 0);
}

// Shows the prompt and returns the line read from it. The window is gone, and
// then its font, before the caller sends a key: the font's owner is made
// first, so it outlives the window's.
long long AskLine(HINSTANCE instance) {
    FontOwner font;
    WindowOwner window;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"FloorPrompt";
    RegisterClassW(&windowClass);

    const DWORD style = WS_CAPTION | WS_SYSMENU;
    RECT outer = {0, 0, 120, 60};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    window.handle = CreateWindowExW(0, L"FloorPrompt", L"Window", style, 280, 80, outer.right - outer.left,
                                    outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font.handle = CreateFontIndirectW(&metrics.lfMessageFont);
    HWND label = CreateWindowExW(0, L"Static", L"Enter line no.", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, window.handle,
                                 nullptr, instance, nullptr);
    field = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10, 30,
                            100, 20, window.handle, reinterpret_cast<HMENU>(FIELD_ID), instance, nullptr);
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle), FALSE);
    SendMessageW(field, WM_SETFONT, reinterpret_cast<WPARAM>(font.handle), FALSE);
    ShowWindow(window.handle, SW_SHOWNORMAL);
    SetFocus(field);

    MSG msg;
    while (!done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == field) break;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    wchar_t text[64] = {};
    GetWindowTextW(field, text, 64);
    return ParseLine(text);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    const long long line = AskLine(instance);
#ifdef FLOOR_SAME_DLLS
    imported = reinterpret_cast<void*>(&InitCommonControlsEx);
#endif
    SendKeys(line);
    ExitProcess(0);
}
