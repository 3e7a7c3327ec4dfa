// Move-only owners for platform resources: one close function and one invalid
// value per kind, so no code path forgets a release or releases twice. A
// record that owns a resource holds its owner; shared resources (stock
// objects, icons and cursors from LoadIconW/LoadCursorW) have no owner, since
// nothing may release them.
#pragma once

#include <windows.h>

template <class Traits> class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value_(value) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const { return value_; }
    bool valid() const { return value_ != Traits::Invalid(); }
    explicit operator bool() const { return valid(); }

    Type release() {
        Type value = value_;
        value_ = Traits::Invalid();
        return value;
    }
    void reset(Type value = Traits::Invalid()) {
        if (valid()) Traits::Close(value_);
        value_ = value;
    }

private:
    Type value_ = Traits::Invalid();
};

// A kind is its handle type, the value that means "none" and its release.
template <class T, auto Release> struct NullHandleTraits { // null when absent
    using Type = T;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { Release(h); }
};
template <auto Release> struct InvalidHandleTraits { // failure is INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { Release(h); }
};

using KernelHandle = UniqueHandle<NullHandleTraits<HANDLE, CloseHandle>>; // processes, threads, events, mutexes
using FileHandle = UniqueHandle<InvalidHandleTraits<CloseHandle>>;        // CreateFileW
using FindHandle = UniqueHandle<InvalidHandleTraits<FindClose>>;
using LibraryHandle = UniqueHandle<NullHandleTraits<HMODULE, FreeLibrary>>;
using OwnedWindow = UniqueHandle<NullHandleTraits<HWND, DestroyWindow>>;
// A font the program created, never a stock one.
using FontHandle = UniqueHandle<NullHandleTraits<HFONT, DeleteObject>>;
using AcceleratorTable = UniqueHandle<NullHandleTraits<HACCEL, DestroyAcceleratorTable>>;
// A menu attached to no window: the window destroys its own.
using MenuHandle = UniqueHandle<NullHandleTraits<HMENU, DestroyMenu>>;
// A hook the program set on its own thread's messages.
using HookHandle = UniqueHandle<NullHandleTraits<HHOOK, UnhookWindowsHookEx>>;
// A window class registered with the program's own module, the instance
// every class here is registered with: unregistered by its atom, once the
// windows of the class are gone.
struct WindowClassTraits {
    using Type = ATOM;
    static Type Invalid() { return 0; }
    static void Close(Type atom) { UnregisterClassW(MAKEINTATOM(atom), GetModuleHandleW(nullptr)); }
};
using WindowClass = UniqueHandle<WindowClassTraits>;
// A mutex this thread owns (its wait returned WAIT_OBJECT_0 or WAIT_ABANDONED):
// given back, then closed. Only the owning thread can give a mutex back; one
// that ends without doing so leaves it abandoned to the next waiter.
inline void ReleaseAndCloseMutex(HANDLE mutex) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
}
using HeldMutex = UniqueHandle<NullHandleTraits<HANDLE, ReleaseAndCloseMutex>>;

// A critical section is a structure, not a handle: it cannot move, and it is
// deleted exactly once, by its owner.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    CRITICAL_SECTION* get() { return &section_; }

private:
    CRITICAL_SECTION section_;
};
