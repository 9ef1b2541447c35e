#include "der/base64.h"

#include <gtest/gtest.h>

namespace {
std::string encode(const std::string& bytes) {
    return base64Encode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
std::string decode(const std::string& text) {
    std::vector<uint8_t> bytes = base64Decode(text);
    return std::string(bytes.begin(), bytes.end());
}
}  // namespace

TEST(Base64, Rfc4648TestVectorsRoundTrip) {
    const std::pair<const char*, const char*> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& v : vectors) {
        EXPECT_EQ(encode(v.first), v.second);
        EXPECT_EQ(decode(v.second), v.first);
    }
}

TEST(Base64, EncodesEveryByteValue) {
    std::string all;
    for (int i = 0; i < 256; ++i) {
        all += static_cast<char>(i);
    }
    std::string text = encode(all);
    EXPECT_EQ(text.substr(0, 8), "AAECAwQF");
    EXPECT_EQ(text.substr(text.size() - 8), "/P3+/w==");
    EXPECT_EQ(decode(text), all);
}

TEST(Base64, DecodingStopsAtTheFirstCharacterOutsideTheAlphabet) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string(64, 'A') + "\nQUJD", std::string(48, '\0')},  // a line break ends the text
        {"QUJD=QUJD", "ABC"},                                      // so does a fill character
        {"QUJD QUJD", "ABC"},
        {"-----BEGIN", ""},
        {"QUJDR", "ABC"},    // one character over is ignored
        {"QUJDRA", "ABCD"},  // two give one byte
        {"QUJDREU", "ABCDE"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decode(c.first), c.second) << c.first;
    }
}
