#include "ui/windows/shortcut_list.h"

#include "base/runtime/memory.h"

#include <cstring>

ShortcutEntry ShortcutForKeyValue(int64_t keyValue) {
    ShortcutEntry entry = {};
    entry.key = static_cast<uint16_t>(keyValue & 0xFFFF);
    entry.fVirt = SHORTCUT_VIRTKEY | SHORTCUT_NOINVERT;
    if (keyValue & SHORTCUT_WITH_SHIFT) entry.fVirt |= SHORTCUT_SHIFT;
    if (keyValue & SHORTCUT_WITH_CONTROL) entry.fVirt |= SHORTCUT_CONTROL;
    if (keyValue & SHORTCUT_WITH_ALT) entry.fVirt |= SHORTCUT_ALT;
    return entry;
}

bool StartShortcutList(ShortcutList& list) {
    ClearShortcuts(list);
    return PutShortcut(list, {SHORTCUT_VIRTKEY | SHORTCUT_NOINVERT, KEY_TAB, TAB_NEXT_COMMAND}) &&
           PutShortcut(list, {SHORTCUT_VIRTKEY | SHORTCUT_NOINVERT | SHORTCUT_SHIFT, KEY_TAB, TAB_PREVIOUS_COMMAND});
}

bool PutShortcut(ShortcutList& list, const ShortcutEntry& entry) {
    for (int32_t i = 0; i < list.count; ++i)
        if (list.entries[i].key == entry.key && list.entries[i].fVirt == entry.fVirt) {
            list.entries[i].cmd = entry.cmd;
            return true;
        }
    void* grown = ResizeGeneralBlock(list.entries, sizeof(ShortcutEntry) * static_cast<size_t>(list.count + 1));
    if (!grown) return false;
    list.entries = static_cast<ShortcutEntry*>(grown);
    list.entries[list.count++] = entry;
    return true;
}

bool TakeShortcut(ShortcutList& list, const ShortcutEntry& entry) {
    int32_t found = -1;
    for (int32_t i = 0; i < list.count && found < 0; ++i)
        if (list.entries[i].key == entry.key && list.entries[i].fVirt == entry.fVirt) found = i;
    if (found < 0) return false;
    ShortcutEntry* remaining = nullptr;
    if (list.count > 1) {
        // New storage of exactly the remaining size, in the old order.
        remaining =
            static_cast<ShortcutEntry*>(GeneralBlock(sizeof(ShortcutEntry) * static_cast<size_t>(list.count - 1)));
        if (!remaining) return false;
        std::memcpy(remaining, list.entries, sizeof(ShortcutEntry) * static_cast<size_t>(found));
        std::memcpy(remaining + found, list.entries + found + 1,
                    sizeof(ShortcutEntry) * static_cast<size_t>(list.count - found - 1));
    }
    FreeGeneralBlock(list.entries);
    list.entries = remaining;
    --list.count;
    return true;
}

void ClearShortcuts(ShortcutList& list) {
    FreeGeneralBlock(list.entries);
    list.entries = nullptr;
    list.count = 0;
}
