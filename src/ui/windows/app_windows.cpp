#include "ui/windows/app_windows.h"

#include "base/platform/handles.h"
#include "base/runtime/memory.h"
#include "base/runtime/process.h"
#include "base/runtime/registry.h"
#include "base/system/system_library.h"
#include "base/system/trace.h"
#include "ui/events/dispatch.h"
#include "ui/events/event_wait.h"
#include "ui/windows/shortcuts.h"
#include "ui/windows/window_numbers.h"

#include <new>

#include <dwmapi.h>

// The window plan names these platform values without windows.h.
static_assert(STYLE_CAPTION == WS_CAPTION && STYLE_THICKFRAME == WS_THICKFRAME && STYLE_MAXIMIZE == WS_MAXIMIZE &&
              STYLE_MINIMIZE == WS_MINIMIZE);
static_assert(TOOL_WINDOW_CLEARS == (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MINIMIZE | WS_MAXIMIZE));
static_assert(EXSTYLE_TOOLWINDOW == WS_EX_TOOLWINDOW && DEFAULT_COORDINATE == CW_USEDEFAULT);
static_assert(DEFAULT_WINDOW_FLAGS == (WS_CAPTION | WS_SYSMENU) && OPEN_NO_ACTIVATE == WS_CLIPCHILDREN &&
              OPEN_HIDDEN == WS_VISIBLE);
static_assert(SHOW_NORMAL == SW_SHOWNORMAL && SHOW_MINIMIZED == SW_SHOWMINIMIZED && SHOW_MAXIMIZED == SW_MAXIMIZE &&
              SHOW_NO_ACTIVATE == SW_SHOWNOACTIVATE && SHOW_MIN_NO_ACTIVE == SW_SHOWMINNOACTIVE &&
              SHOW_NA == SW_SHOWNA);

namespace {

HICON classIcon;
HCURSOR classCursor;
GadgetHooks gadgetHooks; // empty until StartGadgets

constexpr int CLASS_NAME_UNITS = 40;

// "WindowClass_<number>": one class per window, the number in signed decimal.
void FormatClassName(wchar_t* out, int64_t number) {
    static const wchar_t PREFIX[] = L"WindowClass_";
    int length = 0;
    for (const wchar_t* p = PREFIX; *p; ++p) out[length++] = *p;
    if (number < 0) out[length++] = L'-';
    uint64_t magnitude = number < 0 ? 0 - static_cast<uint64_t>(number) : static_cast<uint64_t>(number);
    wchar_t digits[24];
    int count = 0;
    do {
        digits[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    while (count) out[length++] = digits[--count];
    out[length] = 0;
}

// A window's class can only be unregistered once the window is gone, and its
// last message, WM_NCDESTROY, still comes while it exists. So the number is
// noted there and its class unregistered at the next safe point: when a
// close, an open or the shutdown has finished with the platform.
struct GoneClass {
    GoneClass* next;
    int64_t number;
};
GoneClass* goneClasses;

void NoteGoneClass(int64_t number) {
    auto* gone = static_cast<GoneClass*>(RuntimeRecord(sizeof(GoneClass)));
    gone->number = number;
    gone->next = goneClasses;
    goneClasses = gone;
}

void UnregisterGoneClasses() {
    for (GoneClass** link = &goneClasses; *link;) {
        GoneClass* gone = *link;
        wchar_t className[CLASS_NAME_UNITS];
        FormatClassName(className, gone->number);
        // A window's class goes with the window: the registry's release owns it.
        if (!UnregisterClassW(className, ProcessInstance) && GetLastError() == ERROR_CLASS_HAS_WINDOWS) {
            link = &gone->next; // still being destroyed: at the next safe point
            continue;
        }
        *link = gone->next;
        FreeGeneralBlock(gone);
    }
}

// What the window component loads itself, from StartWindows to EndWindows.
struct WindowResources {
    SystemLibrary dwm;        // loaded on first need, kept for the run
    int32_t composition = -1; // desktop composition: -1 not asked yet, else 0 or 1
};
WindowResources* resources;

// Desktop composition moves a thick-framed window's client area; asked on
// first need and kept.
bool CompositionEnabled() {
    if (resources->composition >= 0) return resources->composition != 0;
    resources->composition = 0;
    // Only from the system folder: a dwmapi.dll planted beside the program
    // must never be loaded.
    resources->dwm = SystemLibrary(L"dwmapi.dll");
    CALL_FAILED(resources->dwm, "LoadLibraryExW(dwmapi.dll)");
    if (HMODULE dwm = resources->dwm.get()) {
        const auto query = SYSTEM_FUNCTION(dwm, DwmIsCompositionEnabled);
        // Looked up beside it though nothing calls it: which DLLs the run
        // loads, when, and what it looks up in them is fixed (the list the
        // supported Windows versions are checked against), and this is part
        // of it. The lookup loads nothing more.
        SYSTEM_FUNCTION(dwm, DwmGetWindowAttribute);
        BOOL enabled = FALSE;
        if (query && SUCCEEDED(query(&enabled)) && enabled) resources->composition = 1;
    }
    return resources->composition != 0;
}

void RaiseWindowEvent(int32_t code, int64_t number, int64_t object = 0) { RaiseEvent(code, number, object, 0); }

bool OfferToGadget(HWND control, HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return gadgetHooks.offerToKind && gadgetHooks.offerToKind(control, parent, message, wParam, lParam, result);
}

void MoveGadgetFocus(bool backward) {
    if (gadgetHooks.moveFocus) gadgetHooks.moveFocus(backward);
}

// --- The message table -------------------------------------------------------

LRESULT OnClose(HWND window, int64_t number, AppWindow* record) {
    if (record && record->handle == window) RaiseWindowEvent(EVENT_CLOSE_WINDOW, number, number);
    return 0; // a close request never destroys the window
}

LRESULT OnMove(HWND window, int64_t number, AppWindow* record) {
    if (record && record->handle == window && record->opened) RaiseWindowEvent(EVENT_MOVE_WINDOW, number, number);
    return 0;
}

bool OnSize(HWND window, int64_t number, AppWindow* record, WPARAM kind, LRESULT* result) {
    if (!IsNumberedWindow(window)) {
        *result = 1; // still inside CreateWindowExW
        return true;
    }
    if (!record || !record->opened) return false;
    switch (kind) {
    case SIZE_MINIMIZED:
        record->minMax = 1;
        RaiseWindowEvent(EVENT_MINIMIZE_WINDOW, number);
        break;
    case SIZE_MAXIMIZED:
        record->minMax = 1;
        RaiseWindowEvent(EVENT_MAXIMIZE_WINDOW, number);
        RaiseWindowEvent(EVENT_SIZE_WINDOW, number);
        break;
    case SIZE_RESTORED:
        if (record->minMax) {
            record->minMax = 0;
            RaiseWindowEvent(EVENT_RESTORE_WINDOW, number);
        }
        [[fallthrough]];
    default:
        // One pending size event per window is enough.
        DropQueuedEvents(EVENT_SIZE_WINDOW, number, 0, 0);
        RaiseWindowEvent(EVENT_SIZE_WINDOW, number);
        break;
    }
    *result = 0;
    return true;
}

LRESULT OnActivate(HWND window, int64_t number, WPARAM state) {
    if (LOWORD(state) != WA_INACTIVE) {
        if (HWND saved = static_cast<HWND>(GetPropW(window, SAVED_FOCUS_PROPERTY))) SetFocus(saved);
        RaiseWindowEvent(EVENT_ACTIVATE_WINDOW, number);
    } else {
        SetPropW(window, SAVED_FOCUS_PROPERTY, GetFocus());
        SetFocusCues(window, false);
        RaiseWindowEvent(EVENT_DEACTIVATE_WINDOW, number);
    }
    return 1; // no default processing: the platform must not move the focus to the window itself
}

BOOL CALLBACK SendColorChange(HWND child, LPARAM) {
    SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
    return TRUE;
}

LRESULT OnGetMinMaxInfo(HWND window, LPARAM lParam) {
    if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.x = 1;
    return 0;
}

LRESULT OnCommand(HWND window, int64_t number, WPARAM wParam, LPARAM lParam) {
    if (lParam) {
        LRESULT result = 0;
        HWND control = reinterpret_cast<HWND>(lParam);
        if (OfferToGadget(control, window, WM_COMMAND, wParam, lParam, &result)) return result;
        // The control's id is its gadget number (in full: wParam keeps only 16 bits).
        RaiseEvent(EVENT_GADGET, number, GetWindowLongPtrW(control, GWLP_ID), HIWORD(wParam));
        return 0;
    }
    if (HIWORD(wParam) == 0) { // a menu item
        RaiseEvent(EVENT_MENU, number, static_cast<int64_t>(wParam), 0);
        return 0;
    }
    switch (LOWORD(wParam)) { // a shortcut
    case TAB_NEXT_COMMAND: MoveGadgetFocus(false); break;
    case TAB_PREVIOUS_COMMAND: MoveGadgetFocus(true); break;
    default: RaiseEvent(EVENT_MENU, number, LOWORD(wParam), 0); break;
    }
    return 0;
}

// The final message of a runtime window.
void CleanUpWindow(HWND window) {
    const int64_t number = OwnWindowNumber(window);
    UnbindWindowHandlers(number);
    RemovePropW(window, SAVED_FOCUS_PROPERTY);
    UnnumberWindow(window);
    if (AppWindow* record = LookupWindow(number)) {
        ClearShortcuts(record->shortcuts);
        record->~AppWindow(); // the shortcut table with it
    }
    NoteGoneClass(number);
    ReleaseObject(WindowRegistry, number);
    DropWindowEvents(number);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const int64_t number = WindowNumberOf(window);
    AppWindow* record = LookupWindow(number);
    LRESULT result = 0;
    switch (message) {
    case WM_CLOSE: return OnClose(window, number, record);
    case WM_MOVE: return OnMove(window, number, record);
    case WM_SIZE:
        if (OnSize(window, number, record, wParam, &result)) return result;
        break;
    case WM_ACTIVATE: return OnActivate(window, number, wParam);
    case WM_ERASEBKGND: RaiseWindowEvent(EVENT_REPAINT, number); break;
    case WM_SYSCOLORCHANGE:
        if (record) EnumChildWindows(window, SendColorChange, 0);
        break;
    case WM_GETMINMAXINFO:
        if (record) return OnGetMinMaxInfo(window, lParam);
        break;
    case WM_LBUTTONUP: RaiseWindowEvent(EVENT_LEFT_CLICK, number); return 0;
    case WM_RBUTTONUP: RaiseWindowEvent(EVENT_RIGHT_CLICK, number); return 0;
    case WM_LBUTTONDBLCLK: RaiseWindowEvent(EVENT_LEFT_DOUBLE_CLICK, number); return 0;
    case WM_TIMER:
        if (!record) break;
        RaiseWindowEvent(EVENT_TIMER, number, static_cast<int64_t>(wParam));
        return 0;
    case WM_NOTIFY:
        // The program's controls send their notifications on this thread; one
        // from another thread, sent in any way (SendMessageCallbackW too),
        // points into memory that is not this process's. A posted one never
        // comes here: the event wait's filter makes it WM_NULL in whichever
        // loop takes it from the queue.
        if (!lParam || InSendMessageEx(nullptr) != ISMEX_NOSEND) break;
        if (OfferToGadget(reinterpret_cast<NMHDR*>(lParam)->hwndFrom, window, message, wParam, lParam, &result))
            return result;
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        if (OfferToGadget(reinterpret_cast<HWND>(lParam), window, message, wParam, lParam, &result)) return result;
        break;
    case WM_COMMAND: return OnCommand(window, number, wParam, lParam);
    case WM_NCDESTROY:
        if (IsNumberedWindow(window)) CleanUpWindow(window);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterWindowClass(int64_t number) {
    wchar_t className[CLASS_NAME_UNITS];
    FormatClassName(className, number);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = ProcessInstance;
    windowClass.hIcon = classIcon;
    windowClass.hCursor = classCursor;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className;
    if (RegisterClassW(&windowClass)) return true;
    CALL_FAILED(GetLastError() == ERROR_CLASS_ALREADY_EXISTS, "RegisterClassW");
    return false;
}

void Center(HWND window, HWND parent, bool onParent) {
    RECT outer;
    GetWindowRect(window, &outer);
    const int32_t width = outer.right - outer.left, height = outer.bottom - outer.top;
    WindowPosition at;
    if (onParent) {
        RECT around;
        GetWindowRect(parent, &around);
        at = CenterOnParent(width, height, around.left, around.top, around.right - around.left,
                            around.bottom - around.top);
    } else {
        at = CenterOnScreen(width, height, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    }
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

// --- Opening and closing ------------------------------------------------------------

int64_t OpenAppWindow(int64_t number, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight,
                      const TextUnit* title) {
    return OpenAppWindow(number, x, y, innerWidth, innerHeight, title, DEFAULT_WINDOW_FLAGS);
}

int64_t OpenAppWindow(int64_t number, int32_t x, int32_t y, int32_t innerWidth, int32_t innerHeight,
                      const TextUnit* title, uint32_t flags, HWND parent) {
    UnregisterGoneClasses(); // before a number's class is registered again
    int64_t generated = 0;
    void* slot = ObtainObject(WindowRegistry, number, &generated);
    if (!slot) return 0;
    auto* record = new (slot) AppWindow{};
    const int64_t name = number == NEW_OBJECT ? generated : number;

    RegisterWindowClass(name); // a class still registered under this name serves as well
    const WindowPlan plan = PlanWindow(flags);

    RECT outer = {0, 0, innerWidth, innerHeight};
    AdjustWindowRectEx(&outer, plan.style, FALSE, plan.exStyle);
    // Only a thick-framed window with a caption is shifted, so only one asks:
    // loading dwmapi.dll costs a prompt without a thick frame about 2 ms.
    const WindowPosition at = PlanPosition(x, y, plan, PositionAsksComposition(x, y, plan) && CompositionEnabled());

    wchar_t className[CLASS_NAME_UNITS];
    FormatClassName(className, name);
    HWND window =
        CreateWindowExW(plan.exStyle, className, title ? title : L"", plan.createStyle, at.x, at.y,
                        outer.right - outer.left, outer.bottom - outer.top, parent, nullptr, ProcessInstance, nullptr);
    if (CALL_FAILED(window, "CreateWindowExW")) {
        UnregisterClassW(className, ProcessInstance); // the registry's undo: a window's class goes with it
        record->~AppWindow();
        ReleaseObject(WindowRegistry, name);
        return 0;
    }
    record->handle = window;
    NumberWindow(window, name);
    record->opened = 0;

    if (flags & (OPEN_CENTER_SCREEN | OPEN_CENTER_PARENT))
        Center(window, parent, (flags & OPEN_CENTER_PARENT) && parent);
    if (!plan.hidden) ShowWindow(window, plan.showCommand); // may already raise EVENT_ACTIVATE_WINDOW

    // Showing may have run handlers that closed the window again.
    record = LookupWindow(name);
    if (!record || record->handle != window) return 0;
    if (StartShortcutList(record->shortcuts)) RebuildShortcutTable(record);
    if (plan.minMax) record->minMax = 1;
    if (!plan.noContainer && gadgetHooks.useContainer) gadgetHooks.useContainer(window);
    record->opened = 1;
    return number == NEW_OBJECT ? generated : reinterpret_cast<int64_t>(window);
}

void CloseAppWindow(int64_t number) {
    if (number == ALL_OBJECTS) {
        ReleaseAllObjects(WindowRegistry);
        return;
    }
    AppWindow* record = LookupWindow(number);
    if (!record) return;
    HWND window = record->handle;
    UnbindWindowHandlers(number);
    if (HWND owner = GetWindow(window, GW_OWNER)) SetActiveWindow(owner);
    OwnedWindow(window).reset(); // the gadgets go with it; WM_NCDESTROY frees the number
    DropWindowEvents(number);
    UnregisterGoneClasses();
}

HWND WindowHandle(int64_t number) {
    AppWindow* record = LookupWindow(number);
    return record ? record->handle : nullptr;
}

void StartWindows() {
    goneClasses = nullptr; // a list left by an earlier run lived in a heap that is gone
    ForgetNumberedWindow();
    resources = new (RuntimeRecord(sizeof(WindowResources))) WindowResources;
    WindowRegistry = CreateRegistry(16, sizeof(AppWindow), CloseAppWindow);
    // Both are shared by the platform: never destroyed.
    classIcon = LoadIconW(ProcessInstance, MAKEINTRESOURCEW(1)); // none in this program
    classCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The event wait reaches the windows only through these.
    SetWindowHooks({TakeShortcutMessage, OwnWindowNumber});
}

void SetGadgetHooks(const GadgetHooks& hooks) { gadgetHooks = hooks; }

void EndWindows() {
    ReleaseAllObjects(WindowRegistry);
    UnregisterGoneClasses();
    gadgetHooks = {}; // no window is left to send a gadget's notification
    SetWindowHooks({});
    if (resources) {
        resources->~WindowResources();
        FreeGeneralBlock(resources);
        resources = nullptr;
    }
}
