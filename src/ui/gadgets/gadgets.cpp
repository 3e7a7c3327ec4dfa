#include "ui/gadgets/gadgets.h"

#include "base/platform/handles.h"
#include "base/runtime/memory.h"
#include "base/runtime/process.h"
#include "base/runtime/registry.h"
#include "base/system/trace.h"
#include "base/text/text.h"
#include "ui/events/dispatch.h"
#include "ui/windows/app_windows.h"

#include <commctrl.h>
#include <cwchar>
#include <new>

Registry* GadgetRegistry;

static_assert(LABEL_STYLE == (WS_CHILD | WS_VISIBLE | WS_GROUP | SS_NOPREFIX));
static_assert(TEXT_FIELD_STYLE == (WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL));
// A text field's EN_MAXTEXT arrives as the same gadget event type.
static_assert(EVENT_TYPE_RETURN_KEY == EN_MAXTEXT);

namespace {

constexpr int32_t NESTING_ENTRIES = 10;
constexpr LONG_PTR PLACEHOLDER_ID = -1; // a control not (or no longer) registered

// Where new gadgets go. A program that nests containers would fill the
// stack; this one never does.
struct ContainerState {
    HWND current;
    HWND* stack;
    int32_t depth;
    int32_t capacity;
    HFONT font;
};

// Hangs as a property on every window that has been a container.
struct ContainerRecord {
    HWND handle;
    ContainerState saved;
    WNDPROC replaced;
};

// What the gadget component creates and releases itself, from StartGadgets
// to EndGadgets.
struct GadgetResources {
    FontHandle messageFont; // the gadget font, unless the stock one stands in
};

ContainerState* containers;
GadgetResources* resources;
WNDPROC editProcedure; // the platform's Edit procedure, the same for every text field

// --- Kinds -----------------------------------------------------------------------

// Both kinds answer colour messages only once a colour has been set, and this
// program sets none.
bool NoNotification(GadgetRecord*, HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; }
void NoRelease(GadgetRecord*) {}

const GadgetKindTable* LabelKind() {
    static const GadgetKindTable kind = {GADGET_KIND_TEXT, NoNotification, NoRelease, nullptr, nullptr};
    return &kind;
}

const GadgetKindTable* TextFieldKind() {
    static const GadgetKindTable kind = {GADGET_KIND_STRING, NoNotification, NoRelease, nullptr, nullptr};
    return &kind;
}

GadgetRecord* LookupGadget(int64_t number) { return static_cast<GadgetRecord*>(LookupObject(GadgetRegistry, number)); }

// --- Procedures ---------------------------------------------------------------------

LRESULT CALLBACK GadgetProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const LONG_PTR number = GetWindowLongPtrW(control, GWLP_ID);
    GadgetRecord* gadget = number == PLACEHOLDER_ID ? nullptr : LookupGadget(number);
    if (!gadget) return DefWindowProcW(control, message, wParam, lParam);
    const LRESULT result = CallWindowProcW(gadget->previous, control, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        gadget->kind->release(gadget);
        RemovePropW(control, GADGET_NUMBER_PROPERTY);
        SetWindowLongPtrW(control, GWLP_ID, PLACEHOLDER_ID);
        DropQueuedEvents(EVENT_GADGET, EVENT_ANY, number, EVENT_ANY);
        ReleaseObject(GadgetRegistry, number);
    }
    return result;
}

// Text fields: the focus event is raised before the Edit control itself sees
// the change, so its handlers run first; the Edit's own EN_SETFOCUS or
// EN_KILLFOCUS follows as a second gadget event.
LRESULT CALLBACK FocusEventProcedure(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        const LONG_PTR number = GetWindowLongPtrW(control, GWLP_ID);
        if (number != PLACEHOLDER_ID)
            RaiseEvent(EVENT_GADGET, WindowNumberOf(control), number,
                       message == WM_SETFOCUS ? EVENT_TYPE_FOCUS : EVENT_TYPE_LOST_FOCUS);
    }
    return CallWindowProcW(editProcedure, control, message, wParam, lParam);
}

LRESULT CALLBACK ContainerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* record = static_cast<ContainerRecord*>(GetPropW(window, CONTAINER_PROPERTY));
    if (!record) return DefWindowProcW(window, message, wParam, lParam);
    WNDPROC replaced = record->replaced;
    if (message == WM_NCDESTROY) {
        if (containers->current == window && containers->depth == 0) containers->current = nullptr;
        FreeGeneralBlock(record->saved.stack);
        FreeGeneralBlock(record);
        RemovePropW(window, CONTAINER_PROPERTY);
    }
    return CallWindowProcW(replaced, window, message, wParam, lParam);
}

// --- Creating ------------------------------------------------------------------------

int64_t CreateGadget(const GadgetKindTable* kind, const wchar_t* className, int64_t number, int32_t x, int32_t y,
                     int32_t width, int32_t height, const TextUnit* text, uint32_t style, uint32_t exStyle) {
    // Created first under a placeholder id: an older gadget of this number is
    // destroyed only once the new control exists.
    OwnedWindow made(CreateWindowExW(exStyle, className, text ? text : L"", style, x, y, width, height,
                                     containers->current, reinterpret_cast<HMENU>(PLACEHOLDER_ID), ProcessInstance,
                                     nullptr));
    if (CALL_FAILED(made, "CreateWindowExW")) return 0;
    int64_t generated = 0;
    auto* gadget = static_cast<GadgetRecord*>(ObtainObject(GadgetRegistry, number, &generated));
    if (!gadget) return 0; // the owner destroys the control
    // From here the record holds the control; the registry's release
    // operation (ReleaseGadget) destroys it.
    HWND control = made.release();
    const int64_t name = number == NEW_OBJECT ? generated : number;

    if (kind == TextFieldKind()) {
        WNDPROC platform = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FocusEventProcedure)));
        if (!editProcedure) editProcedure = platform;
    }
    gadget->handle = control;
    gadget->kind = kind;
    gadget->previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GadgetProcedure)));
    SetWindowLongPtrW(control, GWLP_ID, static_cast<LONG_PTR>(name));
    SetPropW(control, GADGET_NUMBER_PROPERTY, reinterpret_cast<HANDLE>(static_cast<intptr_t>(name)));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(containers->font), TRUE);
    return number == NEW_OBJECT ? generated : reinterpret_cast<int64_t>(control);
}

// Reads the gadget number property, telling a stored 0 from an absent one.
struct PropertySearch {
    bool found;
    intptr_t value;
};

BOOL CALLBACK FindGadgetProperty(HWND, LPWSTR name, HANDLE value, ULONG_PTR context) {
    // Atom-named properties arrive as integers, not strings.
    if (reinterpret_cast<ULONG_PTR>(name) > 0xFFFF && std::wcscmp(name, GADGET_NUMBER_PROPERTY) == 0) {
        auto* search = reinterpret_cast<PropertySearch*>(context);
        search->found = true;
        search->value = reinterpret_cast<intptr_t>(value);
        return FALSE;
    }
    return TRUE;
}

bool ClassIs(HWND window, const wchar_t* name) {
    wchar_t className[50] = {};
    GetClassNameW(window, className, 50);
    return std::wcscmp(className, name) == 0;
}

struct TabStops {
    HWND* items;
    int32_t count;
    int32_t capacity;
};

BOOL CALLBACK CollectTabStop(HWND window, LPARAM value) {
    auto* stops = reinterpret_cast<TabStops*>(value);
    if (!IsWindowEnabled(window) || !IsWindowVisible(window) || !(GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP))
        return TRUE;
    if (stops->count == stops->capacity) {
        const int32_t capacity = stops->capacity ? stops->capacity * 2 : 16;
        void* grown = ResizeGeneralBlock(stops->items, sizeof(HWND) * static_cast<size_t>(capacity));
        if (!grown) return FALSE;
        stops->items = static_cast<HWND*>(grown);
        stops->capacity = capacity;
    }
    stops->items[stops->count++] = window;
    return TRUE;
}

} // namespace

int64_t CreateLabel(int64_t number, int32_t x, int32_t y, int32_t width, int32_t height, const TextUnit* text,
                    uint32_t flags) {
    return CreateGadget(LabelKind(), L"Static", number, x, y, width, height, text, flags | LABEL_STYLE,
                        (flags & GADGET_FLAG_BORDER) ? WS_EX_CLIENTEDGE : 0);
}

int64_t CreateTextField(int64_t number, int32_t x, int32_t y, int32_t width, int32_t height, const TextUnit* text,
                        uint32_t flags) {
    return CreateGadget(TextFieldKind(), L"Edit", number, x, y, width, height, text, flags | TEXT_FIELD_STYLE,
                        (flags & GADGET_FLAG_BORDER) ? 0 : WS_EX_CLIENTEDGE);
}

void ReleaseGadget(int64_t number) {
    if (number == ALL_OBJECTS) {
        ReleaseAllObjects(GadgetRegistry);
        return;
    }
    // The record gives its control to an owner, which destroys it; WM_NCDESTROY frees the number.
    if (GadgetRecord* gadget = LookupGadget(number)) OwnedWindow(gadget->handle).reset();
}

void FocusGadget(int64_t number) {
    if (number == ALL_OBJECTS) {
        SetFocus(nullptr);
        return;
    }
    GadgetRecord* gadget = LookupGadget(number);
    if (!gadget) return;
    if (gadget->kind->focus) gadget->kind->focus(gadget);
    else SetFocus(gadget->handle);
}

int64_t FocusedGadget() {
    HWND focus = GetFocus();
    if (!focus) return -1;
    HWND reported = focus;
    if (HWND parent = GetParent(focus)) {
        if (ClassIs(parent, L"Shell DocObject View") || ClassIs(parent, L"Shell Embedding")) {
            return -1; // a web view's own gadget would be reported; this program has none
        } else if (ClassIs(parent, L"SysIPAddress32")) {
            reported = parent;
        } else if (ClassIs(parent, L"ComboBox")) {
            reported = parent;
            if (HWND outer = GetParent(parent); outer && ClassIs(outer, L"ComboBoxEx32")) reported = outer;
        }
    }
    PropertySearch search = {false, 0};
    EnumPropsExW(reported, FindGadgetProperty, reinterpret_cast<LPARAM>(&search));
    return search.found ? static_cast<int64_t>(search.value) : -1;
}

int32_t GadgetText(int64_t number) {
    GadgetRecord* gadget = LookupGadget(number);
    if (gadget && gadget->kind->text) return gadget->kind->text(gadget);
    const int32_t at = TextAreaEnd();
    const int32_t length = gadget ? GetWindowTextLengthW(gadget->handle) : 0;
    TextUnit* out = ReserveResult(length, at);
    out[0] = 0;
    int32_t got = 0;
    if (gadget && length > 0) got = GetWindowTextW(gadget->handle, out, length + 1);
    if (got < 0) got = 0;
    if (got > length) got = length;
    out[got] = 0;
    GiveBackResult(length - got);
    return at;
}

int32_t GadgetKind(int64_t number) {
    GadgetRecord* gadget = LookupGadget(number);
    return gadget ? gadget->kind->number : 0;
}

int32_t GadgetExists(int64_t number) { return ObjectExists(GadgetRegistry, number) ? 1 : 0; }

bool OfferToGadgetKind(HWND control, HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (!control || !IsWindow(control)) return false;
    // Only the control its id's record names is a gadget. The record answers
    // without a property enumeration, which costs Wine a trip to its server
    // for every colour message a paint sends.
    GadgetRecord* gadget = LookupGadget(GetWindowLongPtrW(control, GWLP_ID));
    return gadget && gadget->handle == control && gadget->kind->notify(gadget, parent, message, wParam, lParam, result);
}

void MoveFocus(bool backward) {
    HWND root = GetActiveWindow();
    HWND focus = GetFocus();
    HWND current = focus && root && IsChild(root, focus) ? focus : nullptr;
    for (HWND walk = focus; walk; walk = GetParent(walk)) {
        if (ClassIs(walk, L"MDI_ChildClass")) {
            root = walk;
            if (walk == focus) current = nullptr;
        } else if ((ClassIs(walk, L"ComboBoxEx32") && (GetWindowLongPtrW(walk, GWL_STYLE) & 1)) ||
                   ClassIs(walk, L"SysIPAddress32")) {
            current = walk;
        }
    }
    if (!root) return;
    TabStops stops = {nullptr, 0, 0};
    EnumChildWindows(root, CollectTabStop, reinterpret_cast<LPARAM>(&stops));
    if (stops.count > 0) {
        int32_t at = -1;
        for (int32_t i = 0; i < stops.count && at < 0; ++i)
            if (stops.items[i] == current) at = i;
        HWND next = nullptr;
        if (!backward) {
            if (!current) next = stops.items[0];
            else if (at >= 0) next = stops.items[(at + 1) % stops.count]; // wraps round
        } else {
            next = at > 0 ? stops.items[at - 1] : stops.items[stops.count - 1];
        }
        if (next) SetFocus(next);
    }
    FreeGeneralBlock(stops.items);
}

HWND UseGadgetContainer(HWND window) {
    HWND previous = containers->depth > 0 ? containers->stack[0] : containers->current;
    if (previous) {
        if (auto* record = static_cast<ContainerRecord*>(GetPropW(previous, CONTAINER_PROPERTY))) {
            FreeGeneralBlock(record->saved.stack);
            record->saved = *containers;
        }
        containers->stack = nullptr;
        containers->capacity = 0;
        containers->depth = 0;
    }
    if (auto* record = static_cast<ContainerRecord*>(GetPropW(window, CONTAINER_PROPERTY))) {
        const HFONT font = containers->font;
        *containers = record->saved;
        containers->font = font;
        record->saved.stack = nullptr;
        containers->current = window;
        return previous;
    }
    if (!containers->stack) {
        containers->stack = static_cast<HWND*>(RuntimeRecord(sizeof(HWND) * NESTING_ENTRIES));
        containers->capacity = NESTING_ENTRIES;
    }
    containers->depth = 0;
    containers->current = window;
    auto* record = static_cast<ContainerRecord*>(RuntimeRecord(sizeof(ContainerRecord)));
    record->handle = window;
    SetPropW(window, CONTAINER_PROPERTY, record);
    record->replaced = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ContainerProcedure)));
    return previous;
}

HWND CurrentGadgetContainer() { return containers ? containers->current : nullptr; }

HFONT GadgetFont() { return containers ? containers->font : nullptr; }

void StartGadgets() {
    resources = new (RuntimeRecord(sizeof(GadgetResources))) GadgetResources;
    HFONT font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    // 500 bytes: the structure without its trailing padded-border member,
    // which older systems reject.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = 500;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, 500, &metrics, 0)) {
        resources->messageFont.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        if (!CALL_FAILED(resources->messageFont, "CreateFontIndirectW")) font = resources->messageFont.get();
    }
    GadgetRegistry = CreateRegistry(50, sizeof(GadgetRecord), ReleaseGadget);
    containers = static_cast<ContainerState*>(RuntimeRecord(sizeof(ContainerState)));
    containers->stack = static_cast<HWND*>(RuntimeRecord(sizeof(HWND) * NESTING_ENTRIES));
    containers->capacity = NESTING_ENTRIES;
    containers->font = font;
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xB48};
    InitCommonControlsEx(&controls);
    // The window procedure reaches the gadgets only through these.
    SetGadgetHooks({OfferToGadgetKind, MoveFocus, UseGadgetContainer});
}

// The font goes here. The container state stays until the general heap goes:
// windows still open are destroyed after this, and their containers' last
// messages still read it.
void EndGadgets() {
    if (!resources) return;
    containers->font = nullptr;
    resources->~GadgetResources();
    FreeGeneralBlock(resources);
    resources = nullptr;
}
