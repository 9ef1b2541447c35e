// The platform's SHA-256, which signing relies on where the token does not
// hash: the published test vectors (FIPS 180-2), on every platform.
#include <gtest/gtest.h>

#include <string>

#include "der/hex.h"
#include "platform/platform.h"

namespace {

std::string sha256Hex(const std::string& data) {
    uint8_t digest[platform::kSha256Size] = {};
    EXPECT_TRUE(
        platform::sha256(reinterpret_cast<const uint8_t*>(data.data()), data.size(), digest));
    return hexEncode(digest, sizeof(digest));
}

}  // namespace

TEST(Sha256, MatchesThePublishedVectors) {
    const std::pair<std::string, const char*> vectors[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [data, digest] : vectors) {
        EXPECT_EQ(sha256Hex(data), digest) << data.size() << " bytes";
    }
}

// Payloads are byte strings: a NUL inside is hashed like any other byte.
TEST(Sha256, HashesEveryByteOfTheData) {
    EXPECT_NE(sha256Hex(std::string("a\0b", 3)), sha256Hex("a"));
    EXPECT_NE(sha256Hex(std::string("a\0b", 3)), sha256Hex(std::string("a\0c", 3)));
}
