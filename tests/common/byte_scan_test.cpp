#include "common/byte_scan.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

namespace {

size_t naiveFind(const std::string& text, bool (*stops)(unsigned char)) {
    size_t pos = 0;
    while (pos < text.size() && !stops(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    return pos;
}

bool quoteBackslashOrShortEscape(unsigned char c) {
    return c == '"' || c == '\\' || c == '\b' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

bool backslashOrShortEscape(unsigned char c) {
    return c != '"' && quoteBackslashOrShortEscape(c);
}

// The run copyPlainRun must copy out of `text`, read as a whole or, where the
// text is long enough, in blocks, and that it leaves the bytes after the run
// in `out` alone as far as it promises to.
void expectPlainRunAsNaive(const std::string& text) {
    const size_t expected = naiveFind(text, backslashOrShortEscape);
    for (size_t readable : {text.size(), text.size() + 16}) {
        std::string padded = text + std::string(16, 'z');
        std::string out(text.size() + 32, '#');
        const size_t copied = copyPlainRun(padded.data(), text.size(), readable, &out[0]);
        ASSERT_EQ(copied, expected) << readable;
        EXPECT_EQ(out.substr(0, copied), text.substr(0, copied));
        // At most 16 bytes written past the run.
        EXPECT_EQ(out.substr(copied + 16), std::string(out.size() - copied - 16, '#'));
    }
}

bool isLogEscapedCodePoint(uint32_t c) {
    return c < 0x20 || c == 0x7F || (c >= 0x80 && c <= 0x9F) || c == 0x061C || c == 0x200E ||
           c == 0x200F || (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

// By the definition: a byte below 0x80, or a well-formed two- or three-byte
// UTF-8 sequence, whose code point a log file shows escaped.
size_t naiveLogEscape(const std::string& text) {
    auto at = [&text](size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    };
    auto continues = [&at](size_t i) { return (at(i) & 0xC0) == 0x80; };
    for (size_t pos = 0; pos < text.size(); ++pos) {
        const unsigned lead = at(pos);
        uint32_t code = 0xFFFFFFFF;
        if (lead < 0x80) {
            code = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF && continues(pos + 1)) {
            code = (lead & 0x1F) << 6 | (at(pos + 1) & 0x3F);
        } else if (lead >= 0xE0 && lead <= 0xEF && continues(pos + 1) && continues(pos + 2)) {
            code = (lead & 0x0F) << 12 | (at(pos + 1) & 0x3F) << 6 | (at(pos + 2) & 0x3F);
        }
        if (isLogEscapedCodePoint(code)) {
            return pos;
        }
    }
    return text.size();
}

void expectAllAgreeWithNaive(const std::string& text) {
    EXPECT_EQ(findQuoteBackslashOrShortEscape(text.data(), text.size()),
              naiveFind(text, quoteBackslashOrShortEscape));
    EXPECT_EQ(findLogEscape(text.data(), text.size()), naiveLogEscape(text));
    expectPlainRunAsNaive(text);
}

// Bits of the bytes equal to `c` among the 64 at `block`, one at a time.
uint64_t naiveMask(const std::string& block, char c) {
    uint64_t mask = 0;
    for (size_t i = 0; i < 64; ++i) {
        if (block[i] == c) {
            mask |= uint64_t{1} << i;
        }
    }
    return mask;
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
                expectAllAgreeWithNaive(text);
            }
        }
        expectAllAgreeWithNaive(std::string(length, 'a'));
    }
}

std::string utf8(uint32_t code) {
    std::string bytes;
    if (code < 0x800) {
        bytes += static_cast<char>(0xC0 | code >> 6);
    } else {
        bytes += static_cast<char>(0xE0 | code >> 12);
        bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    }
    bytes += static_cast<char>(0x80 | (code & 0x3F));
    return bytes;
}

// Every two- and three-byte character up to U+2FFF at every position of a
// text three blocks long, whole and cut short after its first byte, so that
// the pairs of bytes the blocks look at meet every lead and every border.
TEST(ByteScan, FindsTheCharactersALogEscapesAtEveryPosition) {
    for (uint32_t code = 0x80; code < 0x3000; ++code) {
        const std::string character = utf8(code);
        for (size_t position = 0; position + character.size() <= 40; ++position) {
            for (size_t kept : {character.size(), size_t{1}}) {
                std::string text(40, 'a');
                text.replace(position, kept, character.substr(0, kept));
                const size_t expected = naiveLogEscape(text);
                ASSERT_EQ(findLogEscape(text.data(), text.size()), expected)
                    << std::hex << code << " " << std::dec << position << " " << kept;
                if (expected < text.size()) {
                    const LogEscape escape = logEscapeAt(text.data(), text.size(), expected);
                    EXPECT_EQ(escape.codePoint, code);
                    EXPECT_EQ(escape.length, character.size());
                }
            }
        }
    }
}

// Control bytes, high bytes and NULs that are candidates for a scan but not
// stops must not end the run early.
TEST(ByteScan, SkipsBytesThatOnlyResembleStops) {
    std::string text;
    for (int i = 0; i < 64; ++i) {
        text += "\x01\x0b\x0e\x1f\x7f\x80\xff\xc3\xa9 ";
    }
    EXPECT_EQ(findQuoteBackslashOrShortEscape(text.data(), text.size()), text.size());
    text += std::string("\0x", 2);
    EXPECT_EQ(findQuoteBackslashOrShortEscape(text.data(), text.size()), text.size());
    std::string out(text.size() + 16, '\0');
    EXPECT_EQ(copyPlainRun(text.data(), text.size(), text.size(), &out[0]), text.size());
    EXPECT_EQ(out.substr(0, text.size()), text);
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
        expectAllAgreeWithNaive(text);
    }
}

TEST(ByteScan, BlockMasksHaveABitForEveryMatchingByte) {
    for (size_t position = 0; position < 64; ++position) {
        for (int value = 0; value < 256; ++value) {
            std::string block(64, 'a');
            block[position] = static_cast<char>(value);
            block[63 - position] = '"';
            for (char c : {'"', '\\', 'a', '\0', '\xff'}) {
                ASSERT_EQ(byte_scan::equalMask64(block.data(), c), naiveMask(block, c))
                    << position << " " << value << " " << c;
            }
        }
    }
}

// Runs of backslashes of every length at every position, and across the
// border of two blocks, against reading the bytes one at a time.
TEST(ByteScan, EscapedBytesFollowRunsOfBackslashesAcrossBlocks) {
    std::mt19937 random(20241210);
    auto check = [](const std::string& text) {
        // Byte by byte: a backslash that is not escaped escapes the next byte.
        std::string expected(text.size(), '.');
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\' && expected[i] != 'e' && i + 1 < text.size()) {
                expected[i + 1] = 'e';
            }
        }
        uint64_t carry = 0;
        std::string found(text.size(), '.');
        for (size_t block = 0; block < text.size(); block += 64) {
            uint64_t bits =
                byte_scan::escapedBytes(byte_scan::equalMask64(text.data() + block, '\\'), carry);
            for (size_t i = 0; i < 64; ++i) {
                if (bits >> i & 1) {
                    found[block + i] = 'e';
                }
            }
        }
        ASSERT_EQ(found, expected) << text;
    };
    for (size_t start = 0; start < 128; ++start) {
        for (size_t length = 1; start + length <= 128; ++length) {
            std::string text(128, 'x');
            text.replace(start, length, std::string(length, '\\'));
            check(text);
        }
    }
    for (int round = 0; round < 2000; ++round) {
        std::string text(192, 'x');
        for (char& c : text) {
            c = random() % 3 == 0 ? 'x' : '\\';
        }
        check(text);
    }
}
