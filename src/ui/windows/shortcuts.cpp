#include "ui/windows/shortcuts.h"

#include "base/system/trace.h"
#include "ui/windows/window_numbers.h"

#include <cwchar>

// The shortcut list names these platform values without windows.h.
static_assert(SHORTCUT_VIRTKEY == FVIRTKEY && SHORTCUT_NOINVERT == FNOINVERT && SHORTCUT_SHIFT == FSHIFT &&
              SHORTCUT_CONTROL == FCONTROL && SHORTCUT_ALT == FALT && KEY_TAB == VK_TAB);
static_assert(sizeof(ShortcutEntry) == sizeof(ACCEL), "shortcut entries are ACCEL records");

namespace {

constexpr UINT RICH_EDIT_GET_OPTIONS = 0x44E;  // EM_GETOPTIONS (richedit.h)
constexpr LRESULT RICH_EDIT_READ_ONLY = 0x800; // ECO_READONLY

} // namespace

HACCEL AddShortcut(int64_t window, int64_t keyValue, int32_t item) {
    AppWindow* record = LookupWindow(window);
    if (!record) return nullptr;
    ShortcutEntry entry = ShortcutForKeyValue(keyValue);
    entry.cmd = static_cast<uint16_t>(item & 0xFFFF);
    if (!PutShortcut(record->shortcuts, entry)) return nullptr;
    return RebuildShortcutTable(record);
}

void RemoveShortcut(int64_t window, int64_t keyValue) {
    AppWindow* record = LookupWindow(window);
    if (!record) return;
    if (keyValue == -1) {
        ClearShortcuts(record->shortcuts);
    } else if (!TakeShortcut(record->shortcuts, ShortcutForKeyValue(keyValue))) {
        return; // not in the list: nothing changes, the platform table included
    }
    RebuildShortcutTable(record);
}

HACCEL RebuildShortcutTable(AppWindow* window) {
    window->shortcutTable.reset();
    if (window->shortcuts.count > 0) {
        window->shortcutTable.reset(
            CreateAcceleratorTableW(reinterpret_cast<ACCEL*>(window->shortcuts.entries), window->shortcuts.count));
        CALL_FAILED(window->shortcutTable, "CreateAcceleratorTableW");
    }
    return window->shortcutTable.get();
}

HACCEL ActiveShortcutList(HWND active) {
    const bool modifier = GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0;
    HWND focus = GetFocus();
    if (focus && GetKeyState(VK_TAB) < 0 && !modifier) {
        // A plain Tab belongs to a writable rich-text control.
        wchar_t className[8] = {};
        GetClassNameW(focus, className, 8);
        if (std::wcsncmp(className, L"RichE", 5) == 0 || std::wcsncmp(className, L"RICH", 4) == 0) {
            if (!(SendMessageW(focus, RICH_EDIT_GET_OPTIONS, 0, 0) & RICH_EDIT_READ_ONLY)) return nullptr;
        }
    }
    if (active && modifier) SetFocusCues(active, true);
    // (A shortcut-capture gadget would take every key here; this program makes none.)
    if (!active || !GetPropW(active, WINDOW_NUMBER_PROPERTY)) return nullptr;
    DWORD process = 0;
    GetWindowThreadProcessId(active, &process);
    if (process != GetCurrentProcessId()) return nullptr;
    AppWindow* record = LookupWindow(OwnWindowNumber(active));
    return record ? record->shortcutTable.get() : nullptr;
}

bool TakeShortcutMessage(MSG& message) {
    HWND active = GetActiveWindow();
    if (HACCEL table = ActiveShortcutList(active)) {
        if (TranslateAcceleratorW(active, table, &message)) {
            if (active) SetFocusCues(active, true);
            return true;
        }
    }
    return false;
}

void SetFocusCues(HWND window, bool show) {
    const LRESULT state = SendMessageW(window, WM_QUERYUISTATE, 0, 0);
    const LRESULT both = UISF_HIDEFOCUS | UISF_HIDEACCEL;
    if (!show && (state & both) != both) SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, both), 0);
    if (show && (state & both)) SendMessageW(window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, both), 0);
}
