#include "base/runtime/block_pool.h"

#include "support/runtime_fixture.h"

#include <set>
#include <vector>

namespace {

using BlockPools = RuntimeTest;

TEST_F(BlockPools, ChunkSizingFollowsTheRoomAlreadyThere) {
    BlockPool pool;
    InitBlockPool(&pool, 40, 16, 256);
    struct Step {
        int64_t room;
        int32_t next;
    };
    // room / 16, cut down to a multiple of 16, between the minimum and maximum.
    const Step steps[] = {{0, 16}, {255, 16}, {256, 16}, {511, 16}, {512, 32}, {1000, 48}, {4096, 256}, {100000, 256}};
    for (const Step& step : steps) {
        pool.room = step.room;
        EXPECT_EQ(NextChunkRecords(&pool), step.next) << "room " << step.room;
    }
}

TEST_F(BlockPools, RecordsAreDistinctZeroedAndComeBack) {
    BlockPool pool;
    InitBlockPool(&pool, 24, 16, 256);
    std::vector<void*> records;
    std::set<void*> distinct;
    for (int i = 0; i < 100; ++i) {
        auto* record = static_cast<unsigned char*>(PoolRecord(&pool));
        ASSERT_TRUE(record);
        for (int b = 0; b < 24; ++b) ASSERT_EQ(record[b], 0);
        std::fill(record, record + 24, 0xAB); // the whole record is usable
        records.push_back(record);
        distinct.insert(record);
    }
    EXPECT_EQ(distinct.size(), 100u);
    EXPECT_EQ(pool.room, 112) << "seven chunks of 16";
    for (void* record : records) ReleasePoolRecord(&pool, record);
    EXPECT_EQ(pool.room, 0) << "chunks whose records are all free go back to the heap";
    EXPECT_EQ(pool.chunks, nullptr);
}

TEST_F(BlockPools, AReleasedRecordIsReusedBeforeANewChunkIsMade) {
    BlockPool pool;
    InitBlockPool(&pool, 16, 16, 256);
    std::vector<void*> records;
    for (int i = 0; i < 16; ++i) records.push_back(PoolRecord(&pool));
    ReleasePoolRecord(&pool, records[5]);
    EXPECT_EQ(PoolRecord(&pool), records[5]);
    EXPECT_EQ(pool.room, 16);
    for (void* record : records) ReleasePoolRecord(&pool, record);
}

TEST_F(BlockPools, SharedPoolsAreSharedBySizeAndFreedWithTheirLastUser) {
    BlockPool* a = SharedBlockPool(48);
    BlockPool* b = SharedBlockPool(48);
    BlockPool* c = SharedBlockPool(64);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    EXPECT_EQ(a->minimum, 16);
    EXPECT_EQ(a->maximum, 65536);
    void* record = PoolRecord(a);
    ReleasePoolRecord(b, record);
    ReleaseSharedBlockPool(a);
    ReleaseSharedBlockPool(b);
    ReleaseSharedBlockPool(c);
    BlockPool* again = SharedBlockPool(48);
    EXPECT_EQ(again->users, 1);
    ReleaseSharedBlockPool(again);
}

} // namespace

namespace {

TEST(BlockPoolsAcrossHeaps, ARuntimeStartedAgainGetsFreshSharedPools) {
    for (int round = 0; round < 3; ++round) {
        GeneralHeap = CreatePrivateHeap();
        BlockPool* pool = SharedBlockPool(40);
        ASSERT_TRUE(pool);
        EXPECT_EQ(pool->users, 1) << "round " << round;
        ReleasePoolRecord(pool, PoolRecord(pool));
        DestroyPrivateHeap(GeneralHeap); // the pools die with their heap, unreleased
        GeneralHeap = nullptr;
    }
}

} // namespace
