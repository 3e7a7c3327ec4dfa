#include "base/runtime/memory.h"

#ifdef _MSC_VER
#include <intrin.h>
#endif

PrivateHeap GeneralHeap;

void StopOnExhaustedMemory() {
#if defined(_MSC_VER) && !defined(__clang__)
    __fastfail(7); // FAST_FAIL_FATAL_APP_EXIT
#else
    __builtin_trap();
#endif
}

#ifdef _WIN32

#include <windows.h>

// Flags 0: access is serialised by the platform; 4096 bytes to begin with, no
// maximum.
PrivateHeap CreatePrivateHeap() { return HeapCreate(0, 4096, 0); }

void DestroyPrivateHeap(PrivateHeap heap) {
    // No owner (a portable file): a heap ends at its fixed step, the general heap's just before ExitProcess.
    if (heap) HeapDestroy(heap);
}

void* HeapBlock(PrivateHeap heap, size_t bytes, bool zeroed) {
    return HeapAlloc(heap, zeroed ? HEAP_ZERO_MEMORY : 0, bytes);
}

void* ResizeHeapBlock(PrivateHeap heap, void* block, size_t bytes, bool zeroed) {
    if (!block) return HeapBlock(heap, bytes, zeroed);
    return HeapReAlloc(heap, zeroed ? HEAP_ZERO_MEMORY : 0, block, bytes);
}

void FreeHeapBlock(PrivateHeap heap, void* block) {
    if (block) HeapFree(heap, 0, block);
}

#else

#include <cstdlib>
#include <cstring>

// Every block carries a header that links it into its heap, so destroying the
// heap can release what is still held, as HeapDestroy does.
namespace {
struct BlockHeader {
    BlockHeader* previous;
    BlockHeader* next;
    size_t bytes;
    size_t padding; // keeps the payload 16-byte aligned
};
struct HostHeap {
    BlockHeader* blocks;
};

void Link(HostHeap* heap, BlockHeader* header) {
    header->previous = nullptr;
    header->next = heap->blocks;
    if (heap->blocks) heap->blocks->previous = header;
    heap->blocks = header;
}

void Unlink(HostHeap* heap, BlockHeader* header) {
    if (header->previous) header->previous->next = header->next;
    else heap->blocks = header->next;
    if (header->next) header->next->previous = header->previous;
}
} // namespace

PrivateHeap CreatePrivateHeap() { return std::calloc(1, sizeof(HostHeap)); }

void DestroyPrivateHeap(PrivateHeap heap) {
    if (!heap) return;
    auto* host = static_cast<HostHeap*>(heap);
    while (host->blocks) {
        BlockHeader* header = host->blocks;
        host->blocks = header->next;
        std::free(header);
    }
    std::free(host);
}

void* HeapBlock(PrivateHeap heap, size_t bytes, bool zeroed) {
    auto* header = static_cast<BlockHeader*>(zeroed ? std::calloc(1, sizeof(BlockHeader) + bytes)
                                                    : std::malloc(sizeof(BlockHeader) + bytes));
    if (!header) return nullptr;
    header->bytes = bytes;
    Link(static_cast<HostHeap*>(heap), header);
    return header + 1;
}

void* ResizeHeapBlock(PrivateHeap heap, void* block, size_t bytes, bool zeroed) {
    if (!block) return HeapBlock(heap, bytes, zeroed);
    auto* host = static_cast<HostHeap*>(heap);
    BlockHeader* old = static_cast<BlockHeader*>(block) - 1;
    const size_t oldBytes = old->bytes;
    Unlink(host, old);
    auto* header = static_cast<BlockHeader*>(std::realloc(old, sizeof(BlockHeader) + bytes));
    if (!header) {
        Link(host, old);
        return nullptr;
    }
    if (zeroed && bytes > oldBytes) std::memset(reinterpret_cast<char*>(header + 1) + oldBytes, 0, bytes - oldBytes);
    header->bytes = bytes;
    Link(host, header);
    return header + 1;
}

void FreeHeapBlock(PrivateHeap heap, void* block) {
    if (!block) return;
    BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
    Unlink(static_cast<HostHeap*>(heap), header);
    std::free(header);
}

#endif
