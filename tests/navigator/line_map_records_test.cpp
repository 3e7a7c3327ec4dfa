#include "navigator/line_map_records.h"
#include "support/map_records_reference.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A map as a list of reads: each gives a value and the bytes it delivered.
struct Map {
    std::vector<std::pair<int64_t, int32_t>> reads;
    size_t next = 0;
    int64_t Read(int32_t& delivered) {
        if (next >= reads.size()) {
            delivered = 0;
            ++next;
            return 0;
        }
        delivered = reads[next].second;
        return reads[next++].first;
    }
};

int64_t Translate(Map& map, int64_t typed) {
    int64_t counter = 0, mapValue = 0, line = typed;
    ReadMapRecords(counter, line, mapValue, [&](int32_t& delivered) { return map.Read(delivered); });
    return MappedLine(line, mapValue);
}

TEST(LineMapRecords, TwelveByteMap) {
    struct Case {
        int64_t typed, line;
        size_t reads;
    };
    // Records 10, 0, -5.
    const Case cases[] = {{1, 10, 1}, {2, 2, 2}, {3, -5, 3}, {4, 4, 4}, {0, 0, 0}, {-7, -7, 0}};
    for (const Case& c : cases) {
        Map map{{{10, 4}, {0, 4}, {-5, 4}}};
        EXPECT_EQ(Translate(map, c.typed), c.line) << "typed " << c.typed;
        EXPECT_EQ(map.next, c.reads) << "typed " << c.typed;
    }
}

TEST(LineMapRecords, ShortReadEndsTheLoopWithTheTypedNumber) {
    // Ten bytes: two whole records, then 0x07 0x01.
    struct Case {
        int64_t typed, line;
        size_t reads;
    };
    const Case cases[] = {{3, 0x0107, 3}, {4, 4, 3}, {1000000000, 1000000000, 3}};
    for (const Case& c : cases) {
        Map map{{{1, 4}, {2, 4}, {0x0107, 2}}};
        EXPECT_EQ(Translate(map, c.typed), c.line) << "typed " << c.typed;
        EXPECT_EQ(map.next, c.reads) << "the loop stops after the short read";
    }
}

TEST(LineMapRecords, EmptyMapKeepsEveryNumber) {
    for (int64_t typed : {int64_t{1}, int64_t{2}, int64_t{500}, INT64_MAX}) {
        Map map;
        EXPECT_EQ(Translate(map, typed), typed);
        EXPECT_EQ(map.next, 1u);
    }
}

} // namespace
