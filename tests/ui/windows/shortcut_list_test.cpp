// A window's shortcut entries: how a key value maps to an entry, and how the
// list is edited, without a window.
#include "ui/windows/shortcut_list.h"

#include "support/runtime_fixture.h"

#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct Entry {
    uint8_t fVirt;
    uint16_t key;
    uint16_t cmd;
    bool operator==(const Entry&) const = default;
};

std::string Show(const std::vector<Entry>& entries) {
    std::string text;
    for (const Entry& e : entries) {
        char line[64];
        std::snprintf(line, sizeof line, "{fVirt %u, key %u, cmd %u}\n", e.fVirt, e.key, e.cmd);
        text += line;
    }
    return text.empty() ? "(none)\n" : text;
}

std::vector<Entry> Entries(const ShortcutList& list) {
    std::vector<Entry> entries;
    for (int32_t i = 0; i < list.count; ++i)
        entries.push_back({list.entries[i].fVirt, list.entries[i].key, list.entries[i].cmd});
    return entries;
}

// Bytes of the general-heap block holding the entries.
size_t StorageBytes(const void* block) {
#ifdef _WIN32
    return HeapSize(GeneralHeap, 0, block);
#else
    // The native heap keeps the size in the header in front of each block:
    // {previous, next, bytes, padding}.
    return reinterpret_cast<const size_t*>(block)[-2];
#endif
}

constexpr Entry TAB_NEXT = {3, 9, 0xFA01}, TAB_PREVIOUS = {7, 9, 0xFA02};
constexpr int64_t RETURN_KEY = 13, ESCAPE_KEY = 27;

class ShortcutListEdit : public RuntimeTest {
protected:
    void TearDown() override {
        ClearShortcuts(list);
        RuntimeTest::TearDown();
    }
    void Put(int64_t keyValue, uint16_t cmd) {
        ShortcutEntry entry = ShortcutForKeyValue(keyValue);
        entry.cmd = cmd;
        ASSERT_TRUE(PutShortcut(list, entry));
    }
    bool Take(int64_t keyValue) { return TakeShortcut(list, ShortcutForKeyValue(keyValue)); }
    ShortcutList list = {};
};

#define EXPECT_ENTRIES(expected) EXPECT_EQ(Show(Entries(list)), Show(expected))

TEST(ShortcutListKeys, KeyValueMapsToFlagsAndKey) {
    struct Case {
        int64_t keyValue;
        uint8_t fVirt;
        uint16_t key;
    };
    const Case cases[] = {
        {RETURN_KEY, 3, 13},
        {RETURN_KEY + 65536, 7, 13},
        {RETURN_KEY + 131072, 11, 13},
        {RETURN_KEY + 262144, 19, 13},
        {RETURN_KEY + 65536 + 131072 + 262144, 31, 13},
        {9, 3, 9},
        {0, 3, 0},
        {0xFFFF, 3, 0xFFFF},
        // Bits above the three modifiers are ignored.
        {RETURN_KEY + (1 << 19), 3, 13},
        {RETURN_KEY + (int64_t{1} << 40), 3, 13},
        {RETURN_KEY + 65536 + (int64_t{0xFF} << 24), 7, 13},
        {INT64_MIN + RETURN_KEY + 262144, 19, 13},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyValue);
        const ShortcutEntry entry = ShortcutForKeyValue(c.keyValue);
        EXPECT_EQ(entry.fVirt, c.fVirt);
        EXPECT_EQ(entry.key, c.key);
        EXPECT_EQ(entry.cmd, 0);
    }
}

TEST_F(ShortcutListEdit, StartsWithTabAndShiftTab) {
    ASSERT_TRUE(StartShortcutList(list));
    EXPECT_ENTRIES((std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS}));
}

TEST_F(ShortcutListEdit, StartingAgainLeavesOnlyTheTwoTabEntries) {
    ASSERT_TRUE(StartShortcutList(list));
    Put(RETURN_KEY, 10000);
    ASSERT_TRUE(StartShortcutList(list));
    EXPECT_ENTRIES((std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS}));
}

TEST_F(ShortcutListEdit, AddedEntriesFollowInOrderWithExactStorage) {
    ASSERT_TRUE(StartShortcutList(list));
    Put(RETURN_KEY, 10000);
    Put(ESCAPE_KEY, 5);
    EXPECT_ENTRIES((std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS, {3, 13, 10000}, {3, 27, 5}}));
    EXPECT_EQ(StorageBytes(list.entries), 4 * sizeof(ShortcutEntry));
}

TEST_F(ShortcutListEdit, AddingTheSameKeyTwiceKeepsOneEntryWithTheLastItem) {
    ASSERT_TRUE(StartShortcutList(list));
    Put(RETURN_KEY, 10000);
    Put(RETURN_KEY, 10001);
    EXPECT_ENTRIES((std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS, {3, 13, 10001}}));
}

TEST_F(ShortcutListEdit, KeyValuesThatDifferOnlyInIgnoredBitsAreOneShortcut) {
    ASSERT_TRUE(StartShortcutList(list));
    Put(RETURN_KEY, 1);
    Put(RETURN_KEY + (1 << 20), 2);
    EXPECT_ENTRIES((std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS, {3, 13, 2}}));
}

TEST_F(ShortcutListEdit, ReturnAndShiftReturnAreTwoShortcuts) {
    ASSERT_TRUE(StartShortcutList(list));
    Put(RETURN_KEY, 10000);
    Put(RETURN_KEY + 65536, 10001);
    EXPECT_ENTRIES((std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS, {3, 13, 10000}, {7, 13, 10001}}));
}

TEST_F(ShortcutListEdit, PuttingPlainTabRewritesOnlyTheTabEntry) {
    ASSERT_TRUE(StartShortcutList(list));
    Put(9, 5);
    EXPECT_ENTRIES((std::vector<Entry>{{3, 9, 5}, TAB_PREVIOUS}));
}

TEST_F(ShortcutListEdit, FirstEntryOfAnEmptyListGetsStorageOfOneEntry) {
    Put(RETURN_KEY, 10000);
    EXPECT_ENTRIES((std::vector<Entry>{{3, 13, 10000}}));
    EXPECT_EQ(StorageBytes(list.entries), sizeof(ShortcutEntry));
}

TEST_F(ShortcutListEdit, RemovingKeepsTheOrderInStorageOfExactlyTheRemainingSize) {
    struct Case {
        const char* name;
        int64_t keyValue;
        std::vector<Entry> left;
    };
    const Entry returnEntry = {3, 13, 10000}, escapeEntry = {3, 27, 5};
    const Case cases[] = {
        {"first", 9, {TAB_PREVIOUS, returnEntry, escapeEntry}},
        {"middle", RETURN_KEY, {TAB_NEXT, TAB_PREVIOUS, escapeEntry}},
        {"last", ESCAPE_KEY, {TAB_NEXT, TAB_PREVIOUS, returnEntry}},
        {"shift+tab", 9 + 65536, {TAB_NEXT, returnEntry, escapeEntry}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(StartShortcutList(list));
        Put(RETURN_KEY, 10000);
        Put(ESCAPE_KEY, 5);
        EXPECT_TRUE(Take(c.keyValue));
        EXPECT_ENTRIES(c.left);
        ASSERT_NE(list.entries, nullptr);
        EXPECT_EQ(StorageBytes(list.entries), c.left.size() * sizeof(ShortcutEntry));
    }
}

TEST_F(ShortcutListEdit, RemovingTheOnlyEntryReleasesTheStorage) {
    Put(RETURN_KEY, 10000);
    EXPECT_TRUE(Take(RETURN_KEY));
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.entries, nullptr);
}

TEST_F(ShortcutListEdit, RemovingAnAbsentKeyChangesNothing) {
    struct Case {
        const char* name;
        int64_t keyValue;
    };
    const Case cases[] = {
        {"never added", ESCAPE_KEY},
        {"same key, other modifier", RETURN_KEY + 131072},
        {"tab with control", 9 + 131072},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(StartShortcutList(list));
        Put(RETURN_KEY, 10000);
        const ShortcutEntry* storage = list.entries;
        EXPECT_FALSE(Take(c.keyValue));
        EXPECT_EQ(list.entries, storage);
        EXPECT_ENTRIES((std::vector<Entry>{TAB_NEXT, TAB_PREVIOUS, {3, 13, 10000}}));
    }
}

TEST_F(ShortcutListEdit, RemovingFromAnEmptyListChangesNothing) {
    EXPECT_FALSE(Take(RETURN_KEY));
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.entries, nullptr);
}

TEST_F(ShortcutListEdit, ClearingReleasesEveryEntryTabIncluded) {
    ASSERT_TRUE(StartShortcutList(list));
    Put(RETURN_KEY, 10000);
    ClearShortcuts(list);
    EXPECT_EQ(list.count, 0);
    EXPECT_EQ(list.entries, nullptr);
}

} // namespace
