#include "ui/windows/window_numbers.h"

#include "base/runtime/registry.h"

Registry* WindowRegistry;

namespace {

// Wine answers GetPropW with a round trip to its server, and the window
// procedure needs the number for every message: the window that got its
// number property last is remembered here, set and cleared with the property.
HWND numberedWindow;
int64_t numberedWindowNumber;

} // namespace

AppWindow* LookupWindow(int64_t number) { return static_cast<AppWindow*>(LookupObject(WindowRegistry, number)); }

int64_t OwnWindowNumber(HWND window) {
    if (window && window == numberedWindow) return numberedWindowNumber;
    return static_cast<int64_t>(reinterpret_cast<intptr_t>(GetPropW(window, WINDOW_NUMBER_PROPERTY))) - 1;
}

int64_t WindowNumberOf(HWND window) {
    for (; window; window = GetAncestor(window, GA_PARENT)) {
        if (window == numberedWindow) return numberedWindowNumber;
        if (HANDLE value = GetPropW(window, WINDOW_NUMBER_PROPERTY))
            return static_cast<int64_t>(reinterpret_cast<intptr_t>(value)) - 1;
    }
    return -1;
}

void NumberWindow(HWND window, int64_t number) {
    SetPropW(window, WINDOW_NUMBER_PROPERTY, reinterpret_cast<HANDLE>(static_cast<intptr_t>(number + 1)));
    numberedWindow = window;
    numberedWindowNumber = number;
}

bool IsNumberedWindow(HWND window) { return window == numberedWindow || GetPropW(window, WINDOW_NUMBER_PROPERTY); }

void UnnumberWindow(HWND window) {
    RemovePropW(window, WINDOW_NUMBER_PROPERTY);
    if (window == numberedWindow) numberedWindow = nullptr;
}

void ForgetNumberedWindow() { numberedWindow = nullptr; }
