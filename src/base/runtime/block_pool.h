// Pools of small fixed-size records that are made and released often (queued
// events, hash-table entries): records come from chunks, so most requests make
// no heap call. A chunk whose records are all free again goes back to the heap.
#pragma once

#include <cstdint>

struct PoolChunk;

struct BlockPool {
    int32_t recordSize; // bytes handed out per record
    int32_t minimum;    // records in the smallest chunk
    int32_t maximum;    // records in the largest chunk
    int64_t room;       // records the pool's chunks hold in all
    PoolChunk* chunks;  // every chunk of the pool; those with free records first
    // Shared pools only:
    BlockPool* nextShared;
    int32_t users;
};

void InitBlockPool(BlockPool* pool, int32_t recordSize, int32_t minimum, int32_t maximum);
// A zeroed record, never null: the process ends when the heap cannot give
// even a one-record chunk.
void* PoolRecord(BlockPool* pool);
// Gives a record back to its chunk (nothing for null).
void ReleasePoolRecord(BlockPool* pool, void* record);
// Records a new chunk would hold, by the sizing rule.
int32_t NextChunkRecords(const BlockPool* pool);

// The pool shared by every hash table whose entries have `recordSize` bytes
// (chunks of 16 to 65536 records), made on first need. The list of shared
// pools is guarded by a lock created exactly once.
BlockPool* SharedBlockPool(int32_t recordSize);
// Gives up one use of a shared pool; the last use frees it.
void ReleaseSharedBlockPool(BlockPool* pool);
