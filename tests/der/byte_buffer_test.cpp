#include "der/byte_buffer.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

TEST(ByteBuffer, IndexOutsideTheBufferIsRefused) {
    const uint8_t bytes[] = {1, 2, 3};
    ByteBuffer buffer(bytes, 3);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(buffer[0], 1);
    for (long index : {-1L, 3L, std::numeric_limits<long>::max()}) {
        try {
            buffer[index];
            FAIL() << "index " << index << " was accepted";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "ByteBuffer::operator[]");
        }
    }
}

TEST(ByteBuffer, CopiesAreIndependent) {
    uint8_t bytes[] = {9, 8};
    ByteBuffer original(bytes, 2);
    bytes[0] = 0;
    EXPECT_EQ(original[0], 9);
    ByteBuffer copy = original;
    copy.getData()[1] = 7;
    EXPECT_EQ(original[1], 8);
    EXPECT_EQ(copy[1], 7);
}

TEST(ByteBuffer, AdoptsAVectorWithoutCopying) {
    std::vector<uint8_t> bytes = {5, 6, 7};
    const uint8_t* data = bytes.data();
    ByteBuffer adopted(std::move(bytes));
    EXPECT_EQ(adopted.getData(), data);
    EXPECT_EQ(adopted.getSize(), 3u);
    EXPECT_TRUE(ByteBuffer(size_t{0}).getSize() == 0);
}
