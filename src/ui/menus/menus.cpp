#include "ui/menus/menus.h"

#include "base/runtime/registry.h"
#include "base/system/trace.h"
#include "ui/windows/app_windows.h"

#include <new>

Registry* MenuRegistry;

namespace {

MenuRecord* LookupMenu(int64_t number) { return static_cast<MenuRecord*>(LookupObject(MenuRegistry, number)); }

// The platform destroys a window's attached menu with the window; a menu
// record still naming it must then be freed without DestroyMenu. The other
// menus of the window forget it: its handle may soon name another window.
void ForgetOwner(HWND window) {
    HMENU attached = GetMenu(window);
    WalkObjects(MenuRegistry);
    int64_t number = 0;
    while (auto* menu = static_cast<MenuRecord*>(NextWalkObject(MenuRegistry, &number))) {
        if (attached && menu->handle.get() == attached) {
            menu->handle.release(); // already destroyed by the platform
            menu->~MenuRecord();
            ReleaseObject(MenuRegistry, number);
        } else if (menu->owner == window) {
            menu->owner = nullptr;
            menu->ownerGone = 1;
        }
    }
}

LRESULT CALLBACK MenuSubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, MENU_SUBCLASS_PROPERTY));
    if (message == WM_NCDESTROY) ForgetOwner(window);
    return previous ? CallWindowProcW(previous, window, message, wParam, lParam)
                    : DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int64_t CreateMenuBar(int64_t number, HWND owner) {
    int64_t generated = 0;
    void* slot = ObtainObject(MenuRegistry, number, &generated);
    if (!slot) return 0;
    const int64_t name = number == NEW_OBJECT ? generated : number;
    HMENU handle = CreateMenu();
    if (CALL_FAILED(handle, "CreateMenu")) {
        ReleaseObject(MenuRegistry, name);
        return 0;
    }
    new (slot) MenuRecord{MenuHandle(handle), owner, 0};
    // Subclassed once, however many menus the window gets. The menu is never
    // attached (no SetMenu), so the client area keeps its size.
    if (owner && !GetPropW(owner, MENU_SUBCLASS_PROPERTY)) {
        LONG_PTR previous = SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuSubclassProcedure));
        SetPropW(owner, MENU_SUBCLASS_PROPERTY, reinterpret_cast<HANDLE>(previous));
    }
    return number == NEW_OBJECT ? generated : reinterpret_cast<int64_t>(handle);
}

void FreeMenu(int64_t number) {
    if (number == ALL_OBJECTS) {
        ReleaseAllObjects(MenuRegistry);
        return;
    }
    MenuRecord* menu = LookupMenu(number);
    if (!menu) return;
    if (menu->owner) SetMenu(menu->owner, nullptr);
    menu->~MenuRecord(); // destroys the menu
    ReleaseObject(MenuRegistry, number);
}

int32_t BindMenuItemHandler(int64_t menu, int32_t item, EventHandler handler) {
    MenuRecord* record = LookupMenu(menu);
    // Items of a menu whose window is gone belong to no window any more.
    if (!record || record->ownerGone) return 0;
    const int64_t window = record->owner ? OwnWindowNumber(record->owner) : -1;
    return BindEventHandler(EVENT_MENU, handler, window, item, 0);
}

void StartMenus() { MenuRegistry = CreateRegistry(16, sizeof(MenuRecord), FreeMenu); }
