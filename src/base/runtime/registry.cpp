#include "base/runtime/registry.h"

#include "base/runtime/memory.h"

#include <cstring>

struct GeneratedObject {
    GeneratedObject* newer;
    GeneratedObject* older;
    // 16 bytes: the object that follows keeps the heap's alignment.
};

namespace {

bool InUse(const void* object) { return object && *static_cast<void* const*>(object) != nullptr; }

void* ObjectOf(GeneratedObject* node) { return node + 1; }

int64_t NumberOf(GeneratedObject* node) { return static_cast<int64_t>(reinterpret_cast<uintptr_t>(ObjectOf(node))); }

GeneratedObject* FindGenerated(const Registry* registry, int64_t number) {
    for (GeneratedObject* node = registry->generated; node; node = node->older)
        if (NumberOf(node) == number) return node;
    return nullptr;
}

bool InSlotRange(const Registry* registry, int64_t number) { return number >= 0 && number < registry->capacity; }

bool Grow(Registry* registry, int64_t number) {
    // Checked before adding: number + growth overflows for numbers near
    // INT64_MAX. The slot array's byte size must stay representable too.
    const int64_t largest = INT64_MAX / static_cast<int64_t>(sizeof(void*));
    if (registry->growth <= 0 || number > largest - registry->growth) return false;
    const int64_t capacity = number + registry->growth;
    void* slots = ResizeGeneralBlock(registry->slots, static_cast<size_t>(capacity) * sizeof(void*));
    if (!slots) return false;
    registry->slots = static_cast<void**>(slots);
    registry->capacity = capacity;
    return true;
}

} // namespace

Registry* CreateRegistry(int32_t growth, int32_t objectSize, ReleaseOperation release) {
    auto* registry = static_cast<Registry*>(RuntimeRecord(sizeof(Registry)));
    registry->growth = growth > 0 ? growth : 1;
    registry->objectSize = objectSize;
    registry->release = release;
    registry->slots = static_cast<void**>(RuntimeRecord(static_cast<size_t>(registry->growth) * sizeof(void*)));
    registry->capacity = registry->growth;
    return registry;
}

void* ObtainObject(Registry* registry, int64_t number, int64_t* generated) {
    if (!registry) return nullptr;
    if (number == NEW_OBJECT) {
        auto* node = static_cast<GeneratedObject*>(
            RuntimeRecord(sizeof(GeneratedObject) + static_cast<size_t>(registry->objectSize)));
        node->older = registry->generated;
        if (registry->generated) registry->generated->newer = node;
        registry->generated = node;
        if (generated) *generated = NumberOf(node);
        return ObjectOf(node);
    }
    if (number < 0) return nullptr;
    if (number >= registry->capacity && !Grow(registry, number)) return nullptr;

    void*& slot = registry->slots[number];
    if (slot) {
        // The number was used before: release whatever it still holds. Every
        // kind's release does nothing for a number not in use.
        if (registry->release) registry->release(number);
        // A release that does not end in ReleaseObject must not leave a
        // half-closed object behind under a reused number.
        std::memset(registry->slots[number], 0, static_cast<size_t>(registry->objectSize));
        return registry->slots[number];
    }
    slot = RuntimeRecord(static_cast<size_t>(registry->objectSize));
    return slot;
}

void* LookupObject(const Registry* registry, int64_t number) {
    if (!registry) return nullptr;
    if (InSlotRange(registry, number)) {
        void* object = registry->slots[number];
        return InUse(object) ? object : nullptr;
    }
    GeneratedObject* node = FindGenerated(registry, number);
    return node && InUse(ObjectOf(node)) ? ObjectOf(node) : nullptr;
}

void* ObjectExists(const Registry* registry, int64_t number) { return LookupObject(registry, number); }

void ReleaseObject(Registry* registry, int64_t number) {
    if (!registry) return;
    if (InSlotRange(registry, number)) {
        if (void* object = registry->slots[number]) std::memset(object, 0, static_cast<size_t>(registry->objectSize));
        return;
    }
    GeneratedObject* node = FindGenerated(registry, number);
    if (!node) return;
    if (node->newer) node->newer->older = node->older;
    else registry->generated = node->older;
    if (node->older) node->older->newer = node->newer;
    if (registry->walkCursor == node) registry->walkCursor = node->newer;
    FreeGeneralBlock(node);
}

void ReleaseAllObjects(Registry* registry) {
    if (!registry || !registry->release) return;
    for (int64_t number = 0; number < registry->capacity; ++number)
        if (InUse(registry->slots[number])) registry->release(number);
    while (GeneratedObject* newest = registry->generated) {
        const int64_t number = NumberOf(newest);
        if (InUse(ObjectOf(newest))) registry->release(number);
        // Each pass must remove the newest object, whether or not the kind's
        // release got as far as freeing it.
        if (registry->generated == newest) ReleaseObject(registry, number);
    }
}

void WalkObjects(Registry* registry) {
    if (!registry) return;
    registry->walkPosition = 0;
    registry->walkCursor = nullptr;
}

void* NextWalkObject(Registry* registry, int64_t* number) {
    if (!registry) return nullptr;
    while (registry->walkPosition < registry->capacity) {
        const int64_t at = registry->walkPosition++;
        if (InUse(registry->slots[at])) {
            if (number) *number = at;
            return registry->slots[at];
        }
    }
    // The generated part runs oldest first: start from the list's tail.
    if (registry->walkPosition == registry->capacity) {
        ++registry->walkPosition;
        GeneratedObject* oldest = registry->generated;
        while (oldest && oldest->older) oldest = oldest->older;
        registry->walkCursor = oldest;
    }
    while (GeneratedObject* node = registry->walkCursor) {
        registry->walkCursor = node->newer;
        if (InUse(ObjectOf(node))) {
            if (number) *number = NumberOf(node);
            return ObjectOf(node);
        }
    }
    return nullptr;
}
