#include "der/hex.h"

#include <gtest/gtest.h>

#include "common/native_host_exception.h"

TEST(Hex, EncodesLowerCaseHighNibbleFirst) {
    const uint8_t bytes[] = {0xAB, 0x00, 0x0F, 0xF0};
    EXPECT_EQ(hexEncode(bytes, 1), "ab");
    EXPECT_EQ(hexEncode(bytes, 4), "ab000ff0");
    EXPECT_EQ(hexEncode(bytes, 0), "");
}

TEST(Hex, DecodesEitherCase) {
    EXPECT_EQ(hexDecode("0A"), std::vector<uint8_t>{0x0A});
    EXPECT_EQ(hexDecode("0a"), std::vector<uint8_t>{0x0A});
    EXPECT_EQ(hexDecode("00fFaB"), (std::vector<uint8_t>{0x00, 0xFF, 0xAB}));
    EXPECT_TRUE(hexDecode("").empty());
}

TEST(Hex, MalformedTextIsRefused) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc", "Invalid hex encoded data - uneven length"},
        {"0g", "Invalid hex digit g"},
        {"g0", "Invalid hex digit g"},
        {"0 ", "Invalid hex digit  "},
        {std::string("0\0", 2), std::string("Invalid hex digit \0", 19)},
        {"\xC3\xA9", "Invalid hex digit \xC3"},
    };
    for (const auto& c : cases) {
        try {
            hexDecode(c.first);
            FAIL() << c.first << " was accepted";
        } catch (const EncodeException& e) {
            EXPECT_EQ(e.getMessage(), c.second);
        }
    }
}
