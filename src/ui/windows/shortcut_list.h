// A window's list of keyboard shortcuts, as the platform's accelerator entries,
// and how a shortcut key value maps to one. No Win32 call here, so the list is
// built and tested natively too; its platform side (the compiled table, the
// table that applies to a key) is shortcuts.h, which cannot: it names HWND and
// HACCEL.
#pragma once

#include <cstdint>

// Laid out like the platform's ACCEL record.
struct ShortcutEntry {
    uint8_t fVirt;
    uint16_t key;
    uint16_t cmd;
};

// The window that holds the list also holds its compiled platform table.
struct ShortcutList {
    ShortcutEntry* entries; // general-heap storage; none when count is 0
    int32_t count;
};

// fVirt bits.
constexpr uint8_t SHORTCUT_VIRTKEY = 1, SHORTCUT_NOINVERT = 2, SHORTCUT_SHIFT = 4, SHORTCUT_CONTROL = 8,
                  SHORTCUT_ALT = 16;
// Modifier bits of a shortcut key value; bits 0 to 15 are the virtual key.
constexpr int64_t SHORTCUT_WITH_SHIFT = 1 << 16, SHORTCUT_WITH_CONTROL = 1 << 17, SHORTCUT_WITH_ALT = 1 << 18;
// Commands of the two entries every window starts with.
constexpr uint16_t TAB_NEXT_COMMAND = 0xFA01;
constexpr uint16_t TAB_PREVIOUS_COMMAND = 0xFA02;
constexpr uint16_t KEY_TAB = 9;

// The entry fields a key value stands for (cmd left 0).
ShortcutEntry ShortcutForKeyValue(int64_t keyValue);

// Sets the list to Tab -> TAB_NEXT_COMMAND and Shift+Tab -> TAB_PREVIOUS_COMMAND.
bool StartShortcutList(ShortcutList& list);
// Rewrites the command of an entry with the same key and fVirt, or appends one.
bool PutShortcut(ShortcutList& list, const ShortcutEntry& entry);
// Removes the entry with the same key and fVirt; false when there is none.
bool TakeShortcut(ShortcutList& list, const ShortcutEntry& entry);
// Releases every entry.
void ClearShortcuts(ShortcutList& list);
