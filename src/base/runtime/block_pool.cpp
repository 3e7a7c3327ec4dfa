#include "base/runtime/block_pool.h"

#include "base/runtime/memory.h"
#include "base/runtime/once.h"

#include <cstring>

#include <new>

#ifdef _WIN32
#include "base/platform/handles.h"
#else
#include <pthread.h>
#endif

// Each record is preceded by the address of its chunk, so a released record
// finds its way back without a search.
struct PoolChunk {
    PoolChunk* next;
    PoolChunk* previous;
    void* freeRecords; // singly linked through the records' first bytes
    int32_t records;
    int32_t freeCount;
};

namespace {

constexpr size_t HEADER = 16; // chunk address, padded to keep records 16-byte aligned

size_t SlotSize(const BlockPool* pool) {
    size_t size = HEADER + static_cast<size_t>(pool->recordSize);
    if (size < HEADER + sizeof(void*)) size = HEADER + sizeof(void*);
    return (size + 15) & ~static_cast<size_t>(15);
}

void Unlink(BlockPool* pool, PoolChunk* chunk) {
    if (chunk->previous) chunk->previous->next = chunk->next;
    else pool->chunks = chunk->next;
    if (chunk->next) chunk->next->previous = chunk->previous;
}

void LinkFirst(BlockPool* pool, PoolChunk* chunk) {
    chunk->previous = nullptr;
    chunk->next = pool->chunks;
    if (pool->chunks) pool->chunks->previous = chunk;
    pool->chunks = chunk;
}

PoolChunk* MakeChunk(BlockPool* pool, int32_t records) {
    const size_t slot = SlotSize(pool);
    auto* chunk = static_cast<PoolChunk*>(GeneralBlockUnzeroed(((sizeof(PoolChunk) + 15) & ~static_cast<size_t>(15)) +
                                                               slot * static_cast<size_t>(records)));
    if (!chunk) return nullptr;
    chunk->records = chunk->freeCount = records;
    char* first = reinterpret_cast<char*>(chunk) + ((sizeof(PoolChunk) + 15) & ~static_cast<size_t>(15));
    chunk->freeRecords = nullptr;
    for (int32_t i = records - 1; i >= 0; --i) {
        char* at = first + slot * static_cast<size_t>(i);
        *reinterpret_cast<PoolChunk**>(at) = chunk;
        *reinterpret_cast<void**>(at + HEADER) = chunk->freeRecords;
        chunk->freeRecords = at + HEADER;
    }
    pool->room += records;
    LinkFirst(pool, chunk);
    return chunk;
}

} // namespace

void InitBlockPool(BlockPool* pool, int32_t recordSize, int32_t minimum, int32_t maximum) {
    std::memset(pool, 0, sizeof *pool);
    pool->recordSize = recordSize;
    pool->minimum = minimum > 0 ? minimum : 1;
    pool->maximum = maximum >= pool->minimum ? maximum : pool->minimum;
}

int32_t NextChunkRecords(const BlockPool* pool) {
    int64_t records = (pool->room / 16) & ~static_cast<int64_t>(15);
    if (records < pool->minimum) records = pool->minimum;
    if (records > pool->maximum) records = pool->maximum;
    return static_cast<int32_t>(records);
}

void* PoolRecord(BlockPool* pool) {
    // Chunks with free records are kept in front.
    PoolChunk* chunk = pool->chunks;
    if (!chunk || chunk->freeCount == 0) {
        chunk = MakeChunk(pool, NextChunkRecords(pool));
        if (!chunk) chunk = MakeChunk(pool, 1);
        if (!chunk) StopOnExhaustedMemory();
    }
    void* record = chunk->freeRecords;
    chunk->freeRecords = *static_cast<void**>(record);
    if (--chunk->freeCount == 0 && chunk->next && chunk->next->freeCount) {
        Unlink(pool, chunk); // full: behind the chunks that still have room
        PoolChunk* last = pool->chunks;
        while (last->next) last = last->next;
        last->next = chunk;
        chunk->previous = last;
        chunk->next = nullptr;
    }
    std::memset(record, 0, static_cast<size_t>(pool->recordSize));
    return record;
}

void ReleasePoolRecord(BlockPool* pool, void* record) {
    if (!record) return;
    PoolChunk* chunk = *reinterpret_cast<PoolChunk**>(static_cast<char*>(record) - HEADER);
    *static_cast<void**>(record) = chunk->freeRecords;
    chunk->freeRecords = record;
    ++chunk->freeCount;
    Unlink(pool, chunk);
    if (chunk->freeCount == chunk->records) {
        pool->room -= chunk->records;
        FreeGeneralBlock(chunk);
        return;
    }
    LinkFirst(pool, chunk);
}

// --- Shared pools --------------------------------------------------------------

namespace {

// The lock is made exactly once, by the first thread that needs it, and
// kept for the life of the process: a pool may be given up until its end.
#ifdef _WIN32
alignas(CriticalSection) unsigned char sharedLockRoom[sizeof(CriticalSection)];
CriticalSection* sharedLock;
void CreateSharedLock(void*) { sharedLock = new (sharedLockRoom) CriticalSection; }
void EnterShared() { EnterCriticalSection(sharedLock->get()); }
void LeaveShared() { LeaveCriticalSection(sharedLock->get()); }
#else
pthread_mutex_t sharedLock;
void CreateSharedLock(void*) { pthread_mutex_init(&sharedLock, nullptr); }
void EnterShared() { pthread_mutex_lock(&sharedLock); }
void LeaveShared() { pthread_mutex_unlock(&sharedLock); }
#endif

OnceRecord sharedLockOnce;
BlockPool* sharedPools;
PrivateHeap sharedPoolsHeap; // the shared pools live in this general heap, and die with it

// A list left from a general heap that has since been destroyed (a runtime
// started again, as the tests do) names freed memory: forget it.
void ForgetPoolsOfAnotherHeap() {
    if (sharedPoolsHeap != GeneralHeap) {
        sharedPools = nullptr;
        sharedPoolsHeap = GeneralHeap;
    }
}

constexpr int32_t SHARED_MINIMUM = 16;
constexpr int32_t SHARED_MAXIMUM = 65536;

} // namespace

BlockPool* SharedBlockPool(int32_t recordSize) {
    RunOnce(&sharedLockOnce, CreateSharedLock, nullptr);
    EnterShared();
    ForgetPoolsOfAnotherHeap();
    BlockPool* pool = sharedPools;
    while (pool && pool->recordSize != recordSize) pool = pool->nextShared;
    if (!pool) {
        pool = static_cast<BlockPool*>(RuntimeRecord(sizeof(BlockPool)));
        if (pool) {
            InitBlockPool(pool, recordSize, SHARED_MINIMUM, SHARED_MAXIMUM);
            pool->nextShared = sharedPools;
            sharedPools = pool;
        }
    }
    if (pool) ++pool->users;
    LeaveShared();
    return pool;
}

void ReleaseSharedBlockPool(BlockPool* pool) {
    if (!pool) return;
    RunOnce(&sharedLockOnce, CreateSharedLock, nullptr);
    EnterShared();
    ForgetPoolsOfAnotherHeap();
    if (--pool->users == 0) {
        for (BlockPool** link = &sharedPools; *link; link = &(*link)->nextShared)
            if (*link == pool) {
                *link = pool->nextShared;
                break;
            }
        while (PoolChunk* chunk = pool->chunks) {
            Unlink(pool, chunk);
            FreeGeneralBlock(chunk);
        }
        FreeGeneralBlock(pool);
    }
    LeaveShared();
}
