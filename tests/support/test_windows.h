// Windows of the test itself, and what the tests read off any window: its
// class, its gadget number's control.
#pragma once

#include "base/platform/handles.h"

#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

// A top-level window of the test itself, no runtime window: something else
// to activate, or to own what a runtime call is given. Shown without
// activation, away from the runtime windows unless placed elsewhere; with a
// plain Edit control in it when asked for.
class PlainWindow {
public:
    explicit PlainWindow(int x = 600, int y = 400, bool withEdit = false);

private:
    OwnedWindow owner_;

public:
    HWND handle;
    HWND edit = nullptr;
};

std::wstring ClassOf(HWND window);

// The control of gadget `number`, null when there is no such gadget.
HWND Control(int64_t number);

// The entries of a shortcut (accelerator) table, in its order; none for null.
std::vector<ACCEL> ShortcutEntries(HACCEL table);
