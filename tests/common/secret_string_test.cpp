#include "common/secret_string.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

// Whether the `count` bytes at `data` are all zero.
bool allZero(const char* data, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (data[i] != '\0') {
            return false;
        }
    }
    return true;
}

}  // namespace

TEST(WipeString, ZeroesWhatTheStringHeldWhereverItLies) {
    // Short texts lie inside the string object, long ones on the heap; the
    // bytes past the end were part of the text before it shrank.
    for (const std::string& pin : {std::string("12345678"), std::string(40, 'p')}) {
        std::string text = pin + "-and-more";
        text.resize(pin.size());
        const char* storage = text.data();
        const size_t capacity = text.capacity();
        wipeString(text);
        EXPECT_TRUE(text.empty());
        EXPECT_EQ(text.data(), storage) << "the storage was replaced rather than wiped";
        EXPECT_TRUE(allZero(storage, capacity)) << pin;
    }
}

TEST(WipeMemory, ZeroesTheBytes) {
    char bytes[] = "secret";
    wipeMemory(bytes, 3);
    EXPECT_EQ(std::string(bytes, 6), std::string("\0\0\0ret", 6));
    wipeMemory(bytes, 0);
}

TEST(SecretString, HoldsTextAndComparesWithIt) {
    SecretString pin(std::string_view("1234"));
    EXPECT_EQ(pin, "1234");
    EXPECT_NE(pin, "12345");
    EXPECT_EQ(pin.view(), "1234");
    EXPECT_EQ(SecretString("a\0b", 3), std::string("a\0b", 3));
    SecretString built;
    built.append("ab", 2);
    built.push_back('c');
    EXPECT_EQ(built, "abc");
    built.release();
    EXPECT_TRUE(built.empty());
}

// A std::string moves short texts by copying them, and the copy it leaves is
// freed with the object, unwiped. A SecretString hands its block over.
TEST(SecretString, AMoveHandsTheBlockOverAndLeavesNothingBehind) {
    SecretString pin(std::string_view("12345678"));
    const char* block = pin.data();
    SecretString moved(std::move(pin));
    EXPECT_EQ(moved.data(), block);
    EXPECT_TRUE(pin.empty());  // NOLINT(bugprone-use-after-move)
    SecretString assigned;
    assigned = std::move(moved);
    EXPECT_EQ(assigned.data(), block);
    EXPECT_EQ(assigned, "12345678");
}

// A buffer kept for the next text holds nothing of the last one: clearing
// and shrinking wipe what they drop, and the block stays for reuse.
TEST(SecretString, ClearingAndShrinkingWipeWhatTheyDropAndKeepTheBlock) {
    SecretString text(std::string_view("12345678"));
    const char* block = text.data();
    text.resize(3);
    EXPECT_EQ(text, "123");
    EXPECT_TRUE(allZero(block + 3, 5));
    text.resize(5);
    EXPECT_EQ(text, std::string("123\0\0", 5));
    text.clear();
    EXPECT_TRUE(text.empty());
    EXPECT_GE(text.capacity(), 8u);
    EXPECT_TRUE(allZero(block, 8));
    text.append("abcd", 4);
    EXPECT_EQ(text.data(), block);
    text.resizeForOverwrite(6);
    text[4] = 'e';
    text[5] = 'f';
    EXPECT_EQ(text, "abcdef");
    EXPECT_EQ(text.data(), block);
}

TEST(SecretString, CopiesAreTheirOwnAndGrowingKeepsTheText) {
    SecretString original(std::string_view("pin"));
    SecretString copy(original);
    copy.push_back('!');
    EXPECT_EQ(original, "pin");
    EXPECT_EQ(copy, "pin!");
    original = copy;
    EXPECT_EQ(original, "pin!");
    EXPECT_NE(original.data(), copy.data());
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        original.push_back(static_cast<char>('a' + i % 26));
        expected += static_cast<char>('a' + i % 26);
    }
    EXPECT_EQ(original, "pin!" + expected);
}
