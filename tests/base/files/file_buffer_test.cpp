#include "base/files/file_buffer.h"

#include "map_records_bytes.h"
#include "support/memory_file.h"

#include <gtest/gtest.h>

#include <vector>

LINENAV_MEMORY_FILE_SEAM

namespace {

struct OpenFile {
    MemoryFile file;
    std::vector<uint8_t> buffer;
    FileEntry entry = {};

    OpenFile(std::vector<uint8_t> bytes, int32_t capacity = 4096) {
        file.bytes = std::move(bytes);
        buffer.resize(static_cast<size_t>(capacity));
        entry.handle = &file;
        entry.buffer = capacity ? buffer.data() : nullptr;
        entry.capacity = capacity;
        entry.clean = 1;
    }
};

TEST(FileBuffer, TenByteFileReadAsFourRecords) {
    for (int32_t capacity : {4096, 0}) { // buffered and unbuffered alike
        SCOPED_TRACE(capacity ? "buffered" : "unbuffered");
        std::vector<uint8_t> bytes = Int32Records({10, -5});
        bytes.push_back(0x07);
        bytes.push_back(0x01);
        OpenFile open(bytes, capacity);
        struct Read {
            int64_t value;
            int32_t delivered;
        };
        const Read expected[] = {{10, 4}, {-5, 4}, {0x0107, 2}, {0, 0}, {0, 0}};
        for (const Read& read : expected) {
            int32_t delivered = -1;
            EXPECT_EQ(ReadOneRecord(&open.entry, &delivered), read.value);
            EXPECT_EQ(delivered, read.delivered);
        }
    }
}

TEST(FileBuffer, ValuesAreSignedLittleEndian) {
    OpenFile open({0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00, 0x00, 0x80, 0xFE, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), INT32_MAX);
    EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), INT32_MIN);
    EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), -2);
}

TEST(FileBuffer, OneRefillServesAThousandAndTwentyFourRecords) {
    std::vector<uint8_t> bytes(4 * 3000, 0);
    for (size_t i = 0; i < bytes.size(); i += 4) bytes[i] = static_cast<uint8_t>(i / 4);
    OpenFile open(bytes);
    for (int record = 0; record < 1024; ++record)
        ASSERT_EQ(ReadOneRecord(&open.entry, nullptr), static_cast<uint8_t>(record));
    EXPECT_EQ(open.file.reads, 1);
    ReadOneRecord(&open.entry, nullptr);
    EXPECT_EQ(open.file.reads, 2);
    EXPECT_EQ(open.file.requested, (std::vector<int32_t>{4096, 4096}));
}

TEST(FileBuffer, RecordsStraddlingARefillStayWhole) {
    // A 6-byte buffer: the second record's bytes come from two refills.
    OpenFile open(Int32Records({0x11223344, 0x55667788, 0x0A0B0C0D}), 6);
    EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), 0x11223344);
    EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), 0x55667788);
    EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), 0x0A0B0C0D);
}

TEST(FileBuffer, LargeRequestsBypassTheBuffer) {
    std::vector<uint8_t> bytes(100);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i);
    OpenFile open(bytes, 8);
    uint8_t head[3];
    ASSERT_EQ(BufferedRead(&open.entry, head, 3), 3); // refill of 8, 5 left
    uint8_t big[20];
    ASSERT_EQ(BufferedRead(&open.entry, big, 20), 20); // 5 from the buffer, 15 straight from the file
    for (int i = 0; i < 20; ++i) EXPECT_EQ(big[i], 3 + i);
    EXPECT_EQ(open.file.requested, (std::vector<int32_t>{8, 15}));
    EXPECT_EQ(open.entry.count, 0);
    uint8_t next;
    ASSERT_EQ(BufferedRead(&open.entry, &next, 1), 1);
    EXPECT_EQ(next, 23);
}

// A failed read delivers nothing, as the end of the file does; only the entry
// tells the two apart.
TEST(FileBuffer, FailingReadsDeliverNothingAndAreToldFromTheEnd) {
    for (int32_t capacity : {4096, 4, 0}) {
        for (bool failing : {true, false}) {
            SCOPED_TRACE(testing::Message() << "capacity " << capacity << (failing ? ", failing" : ", at the end"));
            OpenFile open(failing ? Int32Records({42}) : std::vector<uint8_t>{}, capacity);
            open.file.failing = failing;
            int32_t delivered = -1;
            EXPECT_EQ(ReadOneRecord(&open.entry, &delivered), 0);
            EXPECT_EQ(delivered, 0);
            EXPECT_EQ(open.entry.failed, failing ? 1 : 0);
        }
    }
}

TEST(FileBuffer, RunOfNoRecordsReadsNothing) {
    for (int32_t capacity : {8, 0})
        for (int64_t wanted : {int64_t{0}, int64_t{-1}, INT64_MIN}) {
            SCOPED_TRACE(testing::Message() << "capacity " << capacity << ", wanted " << wanted);
            OpenFile open(Int32Records({5, 6, 7}), capacity);
            // A buffer just refilled: the unread records start at its first byte.
            if (capacity) open.entry.filled = open.entry.count = ReadFromFile(&open.file, open.buffer.data(), capacity);
            const size_t position = open.file.position;
            int64_t read = -1;
            int32_t delivered = -1;
            EXPECT_EQ(ReadEntryInt32Run(&open.entry, wanted, &read, &delivered), 0);
            EXPECT_EQ(read, 0);
            EXPECT_EQ(delivered, 0);
            EXPECT_EQ(open.file.position, position);
            EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), 5) << "the first record is still next";
        }
}

TEST(FileBuffer, UnwrittenDataIsFlushedBeforeReading) {
    OpenFile open(Int32Records({7}), 8);
    // Three bytes waiting to be written: 8 capacity, 5 free.
    open.entry.clean = 0;
    open.entry.count = 5;
    open.buffer[0] = 'a';
    open.buffer[1] = 'b';
    open.buffer[2] = 'c';
    EXPECT_EQ(ReadOneRecord(&open.entry, nullptr), 7);
    EXPECT_EQ(open.file.written, (std::vector<uint8_t>{'a', 'b', 'c'}));
    EXPECT_EQ(open.entry.clean, 1);
    EXPECT_EQ(FlushFileEntry(&open.entry), 0) << "a clean buffer writes nothing";
}

} // namespace
