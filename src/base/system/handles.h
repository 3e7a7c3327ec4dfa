// Move-only owners for platform resources: one close function and one invalid
// value per kind, so no code path forgets a release or releases twice. A
// record that owns a resource holds its owner; shared resources (stock
// objects, icons and cursors from LoadIconW/LoadCursorW) have no owner, since
// nothing may release them.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shtypes.h>

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

struct KernelHandleTraits { // processes, threads, events: null when absent
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FileHandleTraits { // CreateFileW reports failure as INVALID_HANDLE_VALUE
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
struct LibraryHandleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};
struct WindowHandleTraits {
    using Type = HWND;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyWindow(h); }
};
struct FontHandleTraits { // a font the program created, never a stock one
    using Type = HFONT;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
struct AcceleratorTableTraits {
    using Type = HACCEL;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyAcceleratorTable(h); }
};
struct MenuHandleTraits { // a menu attached to no window: the window destroys its own
    using Type = HMENU;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { DestroyMenu(h); }
};
struct ItemListTraits { // shell item lists are the caller's to free with the task allocator
    using Type = PIDLIST_ABSOLUTE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { CoTaskMemFree(h); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using LibraryHandle = UniqueHandle<LibraryHandleTraits>;
using OwnedWindow = UniqueHandle<WindowHandleTraits>;
using FontHandle = UniqueHandle<FontHandleTraits>;
using AcceleratorTable = UniqueHandle<AcceleratorTableTraits>;
using MenuHandle = UniqueHandle<MenuHandleTraits>;
using ItemList = UniqueHandle<ItemListTraits>;

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
