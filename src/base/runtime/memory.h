// Private heaps: the platform's own on Windows (HeapCreate and friends); on
// the native build a small stand-in that also releases every block when the
// heap is destroyed, as the platform does.
#pragma once

#include <cstddef>

using PrivateHeap = void*;

PrivateHeap CreatePrivateHeap();                              // growable, serialised; null on failure
void DestroyPrivateHeap(PrivateHeap heap);                    // frees every block still held
void* HeapBlock(PrivateHeap heap, size_t bytes, bool zeroed); // null on failure
// Resizes a block (it may move); null on failure, the old block then stays.
// New bytes of a grown block are zero when `zeroed`.
void* ResizeHeapBlock(PrivateHeap heap, void* block, size_t bytes, bool zeroed);
void FreeHeapBlock(PrivateHeap heap, void* block); // nothing for null

// The runtime's general heap, created by the program flow before any component
// starts and destroyed after the last one stops. Every runtime record comes
// from it.
extern PrivateHeap GeneralHeap;

// Ends the process at once. The one answer to memory the runtime cannot do
// without: a caller that went on would write through a null record or past
// a block that is too small, and a stop now is better than corruption later.
[[noreturn]] void StopOnExhaustedMemory();

inline void* GeneralBlock(size_t bytes) { return HeapBlock(GeneralHeap, bytes, true); }
// A zeroed runtime record (a component's state, a list node, an object of a
// registry): never null, since the process ends when there is no memory.
inline void* RuntimeRecord(size_t bytes) {
    void* block = GeneralBlock(bytes);
    if (!block) StopOnExhaustedMemory();
    return block;
}
inline void* GeneralBlockUnzeroed(size_t bytes) { return HeapBlock(GeneralHeap, bytes, false); }
inline void* ResizeGeneralBlock(void* block, size_t bytes) { return ResizeHeapBlock(GeneralHeap, block, bytes, true); }
inline void FreeGeneralBlock(void* block) { FreeHeapBlock(GeneralHeap, block); }
