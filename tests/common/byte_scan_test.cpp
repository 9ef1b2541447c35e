#include "common/byte_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

size_t naiveFind(const std::string& text, bool (*stops)(unsigned char)) {
    size_t pos = 0;
    while (pos < text.size() && !stops(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    return pos;
}

bool quoteBackslashOrNul(unsigned char c) {
    return c == '"' || c == '\\' || c == 0;
}

bool quoteBackslashOrShortEscape(unsigned char c) {
    return c == '"' || c == '\\' || c == '\b' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

void expectBothAgreeWithNaive(const std::string& text) {
    EXPECT_EQ(findQuoteBackslashOrNul(text.data(), text.size()),
              naiveFind(text, quoteBackslashOrNul));
    EXPECT_EQ(findQuoteBackslashOrShortEscape(text.data(), text.size()),
              naiveFind(text, quoteBackslashOrShortEscape));
}

}  // namespace

// Every byte value at every position of texts up to three blocks long, so the
// block loops, their ends and the byte tails all meet every byte.
TEST(ByteScan, FindsTheFirstStopOfEveryByteValueAtEveryPosition) {
    for (size_t length = 0; length <= 40; ++length) {
        for (size_t position = 0; position < length; ++position) {
            for (int value = 0; value < 256; ++value) {
                std::string text(length, 'a');
                text[position] = static_cast<char>(value);
                SCOPED_TRACE(testing::Message() << length << " " << position << " " << value);
                expectBothAgreeWithNaive(text);
            }
        }
        expectBothAgreeWithNaive(std::string(length, 'a'));
    }
}

// Control bytes, high bytes and lone NULs that are candidates for one scan
// but not stops must not end the run early.
TEST(ByteScan, SkipsBytesThatOnlyResembleStops) {
    std::string text;
    for (int i = 0; i < 64; ++i) {
        text += "\x01\x0b\x0e\x1f\x7f\x80\xff\xc3\xa9 ";
    }
    EXPECT_EQ(findQuoteBackslashOrShortEscape(text.data(), text.size()), text.size());
    text += std::string("\0x", 2);
    EXPECT_EQ(findQuoteBackslashOrShortEscape(text.data(), text.size()), text.size());
    EXPECT_EQ(findQuoteBackslashOrNul(text.data(), text.size()), text.size() - 2);
}

TEST(ByteScan, AgreesWithTheNaiveScanOnRandomTexts) {
    uint32_t state = 7;
    auto random = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    };
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 300, '\0');
        for (char& c : text) {
            // Mostly plain text; now and then any byte.
            c = random() % 64 == 0 ? static_cast<char>(random() % 256)
                                   : static_cast<char>('A' + random() % 26);
        }
        SCOPED_TRACE(round);
        expectBothAgreeWithNaive(text);
    }
}
