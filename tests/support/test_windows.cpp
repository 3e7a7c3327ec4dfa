#include "test_windows.h"

#include "base/runtime/registry.h"
#include "ui/gadgets/gadgets.h"

PlainWindow::PlainWindow(int x, int y, bool withEdit) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"LinenavTestPlain";
    RegisterClassW(&windowClass); // fails harmlessly when a test before registered it
    owner_.reset(CreateWindowExW(0, L"LinenavTestPlain", L"Plain", WS_OVERLAPPEDWINDOW, x, y, 200, 150, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr));
    handle = owner_.get();
    if (withEdit)
        edit = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, handle, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    ShowWindow(handle, SW_SHOWNOACTIVATE);
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND Control(int64_t number) {
    auto* gadget = static_cast<GadgetRecord*>(LookupObject(GadgetRegistry, number));
    return gadget ? gadget->handle : nullptr;
}

std::vector<ACCEL> ShortcutEntries(HACCEL table) {
    std::vector<ACCEL> entries(table ? CopyAcceleratorTableW(table, nullptr, 0) : 0);
    if (!entries.empty()) CopyAcceleratorTableW(table, entries.data(), static_cast<int>(entries.size()));
    return entries;
}
