#include "common/string_literal.h"

#include <cstdint>
#include <cstring>

#include "common/byte_scan.h"
#include "common/secret_string.h"

namespace {

constexpr size_t kBlock = 64;

// The closing quotes among the 64 bytes at `block`: quotes that no backslash
// escapes. `carry` as for byte_scan::escapedBytes.
uint64_t closingQuotes(const char* block, uint64_t& carry) {
    const uint64_t escaped = byte_scan::escapedBytes(byte_scan::equalMask64(block, '\\'), carry);
    return byte_scan::equalMask64(block, '"') & ~escaped;
}

}  // namespace

// Escapes are followed inside each block of 64 bytes at once, so a text dense
// with them costs no more than a plain one. A NUL is an ordinary byte.
size_t findStringLiteralEnd(const char* text, size_t size, size_t start) {
    uint64_t carry = 0;
    size_t pos = start;
    for (; pos + kBlock <= size; pos += kBlock) {
        const uint64_t closing = closingQuotes(text + pos, carry);
        if (closing != 0) {
            return pos + static_cast<size_t>(__builtin_ctzll(closing));
        }
    }
    if (pos < size) {
        // The last bytes, in a block padded with bytes that are neither quotes
        // nor backslashes.
        char last[kBlock] = {};
        std::memcpy(last, text + pos, size - pos);
        const uint64_t closing = closingQuotes(last, carry);
        wipeMemory(last, sizeof(last));
        if (closing != 0) {
            return pos + static_cast<size_t>(__builtin_ctzll(closing));
        }
    }
    return size;
}
