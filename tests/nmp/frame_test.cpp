#include "nmp/frame.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Written out byte by byte: every other test frames through the helper, so
// these are what pin its byte order.
TEST(FrameTest, ThePrefixIsTheLengthInLittleEndianOrder) {
    struct Case {
        const char* what;
        uint32_t length;
        std::string prefix;
    } cases[] = {
        {"empty", 0, std::string("\0\0\0\0", 4)},
        {"one byte", 1, std::string("\x01\0\0\0", 4)},
        {"300 bytes", 300, std::string("\x2c\x01\0\0", 4)},
        {"every byte distinct", 0x04030201, "\x01\x02\x03\x04"},
        {"the largest", 0xFFFFFFFF, "\xFF\xFF\xFF\xFF"},
    };
    for (const Case& c : cases) {
        auto prefix = framePrefix(c.length);
        EXPECT_EQ(std::string(prefix.data(), prefix.size()), c.prefix) << c.what;
        EXPECT_EQ(frameLength(c.prefix.data()), c.length) << c.what;
    }
}

TEST(FrameTest, AFrameIsItsPrefixThenTheTextWholeNulsIncluded) {
    std::string text("{\"a\":\"\0\"}", 9);
    EXPECT_EQ(frame(text), std::string("\x09\0\0\0", 4) + text);
    std::string joined = "kept";
    appendFrame(joined, "{}");
    EXPECT_EQ(joined, std::string("kept\x02\0\0\0{}", 10));
}

}  // namespace
