#include "common/hex_digit.h"

#include <gtest/gtest.h>

#include <string>

TEST(HexDigit, ValuesOfEitherCaseAndNothingElse) {
    const std::string lower = "0123456789abcdef";
    const std::string upper = "0123456789ABCDEF";
    for (int value = 0; value < 256; ++value) {
        char c = static_cast<char>(value);
        int expected = -1;
        if (lower.find(c) != std::string::npos) {
            expected = static_cast<int>(lower.find(c));
        } else if (upper.find(c) != std::string::npos) {
            expected = static_cast<int>(upper.find(c));
        }
        EXPECT_EQ(hexDigitValue(c), expected) << value;
    }
}

TEST(HexDigit, FourDigitsMakeOneValue) {
    const struct {
        std::string digits;
        int32_t value;
    } cases[] = {
        {"0000", 0},
        {"007F", 0x7F},
        {"007f", 0x7F},
        {"FfFf", 0xFFFF},
        {"d83D", 0xD83D},
        {"12G4", -1},
        {"-123", -1},
        {"+123", -1},
        {" 123", -1},
        {"123 ", -1},
        {std::string("12\0"
                     "4",
                     4),
         -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hexQuadValue(c.digits.data()), c.value) << c.digits;
    }
}
