#include "base/text/text.h"

#include "base/runtime/memory.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr int64_t kUnit = sizeof(TextUnit);
constexpr int64_t kInitialCapacity = 16;
// The area grows when a reservation would end this close to its capacity.
constexpr int64_t kGrowthMargin = 4;
constexpr int64_t kGrowthStep = 16384;
// Above this capacity a reservation that fits gives the surplus back.
constexpr int64_t kTrimLimit = 1048576;
// Every block (the area and each variable) has this much beyond what it needs.
constexpr int64_t kSpareBytes = 10;
// Largest end a reservation may reach: the grown capacity and its spare bytes
// must stay within signed 32-bit positions.
constexpr int64_t kLargestEnd = INT32_MAX - kGrowthStep - kSpareBytes;

// The text heap and the temporary area. Positions are bytes from `base`; the
// block behind `base` is `capacity` + kSpareBytes bytes long.
struct TextState {
    PrivateHeap heap;
    char* base;
    int32_t end;
    int32_t capacity;
};

TextState Area;

// When the heap refuses to grow the area, a caller of ReserveResult would go
// on to write its whole reservation into a block that is too small. There is
// no way to tell it, so the process stops at once instead: no write ever lands
// past the area, and the stop is immediate rather than a later corruption.
// The runtime's own operations below avoid this path and degrade to the empty
// text instead (see BuildCopy and MakeSpaces).

bool ResizeArea(int64_t capacity) {
    void* block = ResizeHeapBlock(Area.heap, Area.base, static_cast<size_t>(capacity + kSpareBytes), false);
    if (!block) return false;
    Area.base = static_cast<char*>(block);
    Area.capacity = static_cast<int32_t>(capacity);
    return true;
}

// Reserves `count` units at `position` and moves the end past them; null when
// the area cannot take them, with nothing changed. A trim never cuts the area
// below `keepEnd` (a source text lying beyond the position).
TextUnit* TryReserve(int32_t count, int32_t position, int64_t keepEnd) {
    if (!Area.base) return nullptr;
    if (count < 0) count = 0;
    if (position < 0) position = 0;
    const int64_t needed = position + count * kUnit;
    if (needed > kLargestEnd) return nullptr;

    if (needed >= Area.capacity - kGrowthMargin) {
        if (!ResizeArea(needed + kGrowthStep)) return nullptr;
    } else if (Area.capacity > kTrimLimit) {
        int64_t trimmed = needed > kTrimLimit ? needed : kTrimLimit;
        if (keepEnd > trimmed) trimmed = keepEnd;
        // A refused trim leaves the larger block, which fits just as well.
        if (trimmed < Area.capacity) ResizeArea(trimmed);
    }
    Area.end = static_cast<int32_t>(needed);
    return reinterpret_cast<TextUnit*>(Area.base + position);
}

// Byte offset of `pointer` from the start of the area, or -1 when it does not
// point into the area.
int64_t AreaOffset(const void* pointer) {
    if (!Area.base || !pointer) return -1;
    const auto start = reinterpret_cast<uintptr_t>(Area.base);
    const auto address = reinterpret_cast<uintptr_t>(pointer);
    if (address < start || address >= start + static_cast<uintptr_t>(Area.capacity + kSpareBytes)) return -1;
    return static_cast<int64_t>(address - start);
}

// Builds a copy of the first `units` units of `source` at the end of the area.
// The source may lie in the area itself: its offset is taken before the
// reservation (which may move the area) and turned back into an address after.
int32_t BuildCopy(const TextUnit* source, int32_t units) {
    const int32_t position = Area.end;
    const int64_t offset = AreaOffset(source);
    TextUnit* target = TryReserve(units, position, offset >= 0 ? offset + units * kUnit : 0);
    if (!target) {
        // Out of room: the result is the empty text.
        target = ReserveResult(0, position);
        units = 0;
    }
    if (offset >= 0) source = reinterpret_cast<const TextUnit*>(Area.base + offset);
    // memmove: a stale source beyond the end may overlap the target.
    if (units > 0) std::memmove(target, source, static_cast<size_t>(units * kUnit));
    target[units] = 0;
    return position;
}

bool Within(const TextUnit* pointer, const TextUnit* first, const TextUnit* last) {
    const auto address = reinterpret_cast<uintptr_t>(pointer);
    return address >= reinterpret_cast<uintptr_t>(first) && address <= reinterpret_cast<uintptr_t>(last);
}

// Gives `variable` storage for a text of `units` units (twice the length plus
// 10 bytes), resizing what it has. When the heap refuses, the variable is
// released and becomes null, i.e. the empty text, rather than keep a text
// that is not the one assigned.
bool ResizeVariable(TextVar& variable, int32_t units) {
    if (!Area.heap) return false;
    void* block = ResizeHeapBlock(Area.heap, variable, static_cast<size_t>(units * kUnit + kSpareBytes), false);
    if (!block) {
        FreeText(variable);
        return false;
    }
    variable = static_cast<TextUnit*>(block);
    return true;
}

} // namespace

// --- Lifetime -------------------------------------------------------------

void StartTextArea() {
    Area = {};
    Area.heap = CreatePrivateHeap();
    if (!Area.heap) return; // every later reservation then stops the process
    // Zeroed, so the area starts out holding the empty text at position 0.
    Area.base = static_cast<char*>(HeapBlock(Area.heap, static_cast<size_t>(kInitialCapacity + kSpareBytes), true));
    if (Area.base) Area.capacity = static_cast<int32_t>(kInitialCapacity);
}

void EndTextArea() {
    DestroyPrivateHeap(Area.heap); // the area and every variable still held
    Area = {};
}

// --- The temporary area -----------------------------------------------------

int32_t TextAreaEnd() { return Area.end; }

int32_t TextAreaCapacity() { return Area.capacity; }

TextUnit* TextAt(int32_t position) {
    if (!Area.base) return nullptr;
    return reinterpret_cast<TextUnit*>(Area.base + position);
}

TextUnit* ReserveResult(int32_t count, int32_t position) {
    TextUnit* target = TryReserve(count, position, 0);
    if (!target) StopOnExhaustedMemory();
    return target;
}

void GiveBackResult(int32_t count) {
    if (count <= 0) return;
    const int64_t end = Area.end - count * kUnit;
    Area.end = end > 0 ? static_cast<int32_t>(end) : 0;
}

void ResetTextArea(int32_t position) {
    if (position < 0) position = 0;
    if (position > kLargestEnd) position = static_cast<int32_t>(kLargestEnd);
    Area.end = position;
}

void HoldResult() { ResetTextArea(Area.end + static_cast<int32_t>(kUnit)); }

void AssignResult(TextVar& variable, int32_t saved) {
    if (saved < 0) saved = 0;
    const int32_t units = Area.end > saved ? static_cast<int32_t>((Area.end - saved) / kUnit) : 0;
    if (ResizeVariable(variable, units)) {
        if (units > 0) std::memcpy(variable, TextAt(saved), static_cast<size_t>(units * kUnit));
        variable[units] = 0;
    }
    Area.end = saved;
}

// --- Text-returning operations -----------------------------------------------

int32_t MakeSpaces(int32_t count) {
    const int32_t position = Area.end;
    if (count < 0) count = 0;
    TextUnit* target = TryReserve(count, position, 0);
    if (!target) {
        // A count the area cannot hold gives the empty text.
        target = ReserveResult(0, position);
        count = 0;
    }
    for (int32_t i = 0; i < count; ++i) target[i] = TXT(' ');
    target[count] = 0;
    return position;
}

int32_t LeftPart(const TextUnit* text, int32_t count) {
    // Reads no further than the count: the text need not be measured whole.
    int32_t units = 0;
    if (text)
        while (units < count && text[units] != 0) ++units;
    return BuildCopy(text, units);
}

int32_t AppendText(const TextUnit* text) { return BuildCopy(text, TextLength(text)); }

// --- Other operations ----------------------------------------------------------

int32_t TextLength(const TextUnit* text) {
    if (!text) return 0;
    int32_t length = 0;
    while (text[length] != 0) ++length;
    return length;
}

int32_t TextEquals(const TextUnit* a, const TextUnit* b) {
    static const TextUnit empty[1] = {0};
    if (!a) a = empty;
    if (!b) b = empty;
    while (*a != 0 && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b ? 1 : 0;
}

void AssignText(TextVar& variable, const TextUnit* text) {
    if (!text) {
        FreeText(variable);
        return;
    }
    const int32_t units = TextLength(text);
    if (variable && Within(text, variable, variable + TextLength(variable))) {
        // The source is the variable's own text or a tail of it: resizing
        // could move the block from under it. Move it to the front first; the
        // block then only shrinks, and a shrink keeps the front.
        std::memmove(variable, text, static_cast<size_t>(units * kUnit));
        variable[units] = 0;
        // A refused shrink leaves the larger block, which holds the text too.
        if (void* block = ResizeHeapBlock(Area.heap, variable, static_cast<size_t>(units * kUnit + kSpareBytes), false))
            variable = static_cast<TextUnit*>(block);
        return;
    }
    if (!ResizeVariable(variable, units)) return;
    std::memcpy(variable, text, static_cast<size_t>(units * kUnit));
    variable[units] = 0;
}

void FreeText(TextVar& variable) {
    if (variable && Area.heap) FreeHeapBlock(Area.heap, variable);
    variable = nullptr;
}
