// The text encodings that carry certificates, signatures, serial numbers and
// key identifiers: arbitrary text through the decoders, arbitrary bytes
// through the encoders, and each round trip.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "common/native_host_exception.h"
#include "der/base64.h"
#include "der/hex.h"
#include "fuzz_checks.h"

namespace {

void base64RoundTrips(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<uint8_t> decoded = base64Decode(text);
    // Decoding stops at the first character outside the alphabet, so the
    // canonical text of whatever was decoded decodes to the same bytes.
    std::string canonical = base64Encode(decoded.data(), decoded.size());
    FUZZ_CHECK(base64Decode(canonical) == decoded);
    FUZZ_CHECK(decoded.size() <= size * 3 / 4 + 3);

    std::string encoded = base64Encode(data, size);
    FUZZ_CHECK(encoded.size() == (size + 2) / 3 * 4);
    FUZZ_CHECK(base64Decode(encoded) == std::vector<uint8_t>(data, data + size));
}

void hexRoundTrips(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    try {
        std::vector<uint8_t> decoded = hexDecode(text);
        FUZZ_CHECK(decoded.size() * 2 == size);
        std::string lower = text;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        FUZZ_CHECK(hexEncode(decoded.data(), decoded.size()) == lower);
    } catch (const EncodeException&) {
        bool allDigits = size % 2 == 0;
        for (char c : text) {
            allDigits = allDigits && std::isxdigit(static_cast<unsigned char>(c));
        }
        FUZZ_CHECK(!allDigits);
    }

    std::string encoded = hexEncode(data, size);
    FUZZ_CHECK(encoded.size() == size * 2);
    FUZZ_CHECK(hexDecode(encoded) == std::vector<uint8_t>(data, data + size));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    base64RoundTrips(data, size);
    hexRoundTrips(data, size);
    return 0;
}
