#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "nmp/nmp.h"

TEST(CompactJson, RemovesWhitespaceOutsideStringLiterals) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({ "action" : "login" , "mode" : "write" })", R"({"action":"login","mode":"write"})"},
        {R"({"payload":"a b" ,"port":[ 1, 2 ]})", R"({"payload":"a b","port":[1,2]})"},
        {R"({"payload":"q\"", "port":"p 1"})", R"({"payload":"q\"","port":"p 1"})"},
        {R"({"payload":"\\", "port":"p 1"})", R"({"payload":"\\","port":"p 1"})"},
        {"{\n\t\"a\"\r\n:\v\f\"b\\n c\"}", "{\"a\":\"b\\n c\"}"},
        {"{\"a\":\"line\nfeed\"}", "{\"a\":\"line\nfeed\"}"},
        {"{\"a\":\"\xC2\xA0\"} \xA0", "{\"a\":\"\xC2\xA0\"}\xA0"},
        {std::string("{\"a\" : 1}\0 {\"b\" : 2}", 20), "{\"a\":1}"},
        {"", ""},
        {"   ", ""},
    };
    for (auto c : cases) {
        std::string text = c.first;
        EXPECT_EQ(compactJson(text), c.second) << c.first;
        EXPECT_EQ(text, c.second);
    }
}

// The text moves forward as blanks go: what was behind its new end (part of a
// PIN, maybe) is zeroed, and so is what followed a NUL.
TEST(CompactJson, LeavesNothingOfTheTextBehindItsEnd) {
    for (std::string text : {std::string(R"({ "pin" : "12345678" ,  "tokenSN" : "ab" })"),
                             std::string("{\"a\":1}\0\"pin\":\"12345678\"", 23)}) {
        const size_t size = text.size();
        compactJson(text);
        EXPECT_EQ(std::string(text.data() + text.size(), size - text.size()),
                  std::string(size - text.size(), '\0'));
    }
    SecretString secret(std::string_view(R"({ "pin" : "12345678" })"));
    const size_t size = secret.size();
    compactJson(secret);
    EXPECT_EQ(secret, R"({"pin":"12345678"})");
    EXPECT_EQ(std::string(secret.data() + secret.size(), size - secret.size()),
              std::string(size - secret.size(), '\0'));
}

namespace {

// Byte by byte, as the framing defines compaction.
std::string compactByteByByte(const std::string& input) {
    std::string output;
    bool inString = false;
    bool escaped = false;
    for (char c : input) {
        if (c == '\0') {
            break;
        }
        if (!inString && (c == ' ' || (c >= '\t' && c <= '\r'))) {
            continue;
        }
        if (c == '"') {
            if (!escaped) {
                inString = !inString;
            }
            escaped = false;
        } else if (c == '\\') {
            escaped = !escaped;
        } else {
            escaped = false;
        }
        output += c;
    }
    return output;
}

}  // namespace

// Long string literals are moved in blocks; the result must be what the byte
// by byte definition gives, whatever mix of quotes, escapes, whitespace and
// NULs the text holds.
TEST(CompactJson, AgreesWithTheByteByByteDefinitionOnRandomTexts) {
    const char pieces[] = {' ', '\t', '\n', '"', '\\', 'a', 'b', '{', ':', ',', '\0', '\x80'};
    uint32_t state = 11;
    auto random = [&state] {
        state = state * 1103515245u + 12345u;
        return state >> 16;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 200, 'x');
        for (char& c : text) {
            if (random() % 4 == 0) {
                c = pieces[random() % sizeof(pieces)];
            }
        }
        const std::string expected = compactByteByByte(text);
        SCOPED_TRACE(round);
        EXPECT_EQ(compactJson(text), expected);
    }
}
