#include "common/string_literal.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// The definition, one byte at a time.
size_t naiveLiteralEnd(const std::string& text, size_t start) {
    size_t pos = start;
    while (pos < text.size() && text[pos] != '"') {
        pos += text[pos] == '\\' ? 2 : 1;
    }
    return std::min(pos, text.size());
}

size_t literalEnd(const std::string& text, size_t start = 0) {
    return findStringLiteralEnd(text.data(), text.size(), start);
}

}  // namespace

TEST(StringLiteral, EndsAtTheFirstQuoteNoBackslashEscapes) {
    const std::string longRun(40, 'x');
    const struct {
        std::string contents;
        size_t end;
    } cases[] = {
        {"abc\"rest", 3},
        {"\"", 0},
        {"a\\\"b\"", 4},
        {"a\\\\\"b", 3},
        {"a\\\\\\\"b\"", 6},
        {std::string("a\0b\"", 4), 3},
        {longRun + "\\\"" + longRun + "\"", 82},
        // The text ends first: its length.
        {"", 0},
        {"abc", 3},
        {"abc\\", 4},
        {"abc\\\"", 5},
        {longRun + "\\", 41},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(literalEnd(c.contents), c.end) << c.contents;
    }
    EXPECT_EQ(literalEnd("\"pin\":\"1\\\"2\"", 1), 4u);
    EXPECT_EQ(literalEnd("\"pin\":\"1\\\"2\"", 7), 11u);
}

TEST(StringLiteral, AgreesWithTheByteByByteDefinitionOnRandomTexts) {
    std::mt19937 random(20240611);
    const char alphabet[] = {'"', '\\', '\0', 'x', ' '};
    for (int round = 0; round < 2000; ++round) {
        std::string text(random() % 100, 'x');
        for (char& c : text) {
            // Mostly plain bytes, so that runs are long enough to be skipped in blocks.
            c = random() % 4 == 0 ? alphabet[random() % sizeof(alphabet)] : 'y';
        }
        size_t start = text.empty() ? 0 : random() % text.size();
        ASSERT_EQ(literalEnd(text, start), naiveLiteralEnd(text, start)) << text << " " << start;
    }
}

TEST(StringLiteral, OneCharacterEscapesStandForTheirBytes) {
    const std::string controls = "bfnrt";
    const std::string bytes = "\b\f\n\r\t";
    for (int value = 0; value < 256; ++value) {
        char escaped = static_cast<char>(value);
        size_t control = controls.find(escaped);
        char expected = control == std::string::npos ? escaped : bytes[control];
        EXPECT_EQ(unescapedByte(escaped), expected) << value;
    }
}
