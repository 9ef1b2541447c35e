#include "common/byte_scan.h"

namespace {

bool isQuoteBackslashOrShortEscape(char c) {
    return c == '"' || c == '\\' || c == '\b' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

#if !defined(VANTREL_SCAN_SSE2)
constexpr uint64_t kEveryByte = 0x0101010101010101u;
constexpr uint64_t kHighBits = 0x8080808080808080u;

// Non-zero when a byte of `word` is below `limit` (at most 0x80).
uint64_t anyByteBelow(uint64_t word, uint8_t limit) {
    return (word - kEveryByte * limit) & ~word & kHighBits;
}

uint64_t load(const char* text) {
    uint64_t word;
    std::memcpy(&word, text, sizeof(word));
    return word;
}
#endif

}  // namespace

size_t findQuoteBackslashOrShortEscape(const char* text, size_t size) {
    size_t pos = 0;
#if defined(VANTREL_SCAN_SSE2)
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i lastControl = _mm_set1_epi8('\r');
    for (; pos + 16 <= size; pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
        // Bytes up to '\r' are candidates; only some of them stop the run.
        const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes);
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quote), _mm_cmpeq_epi8(bytes, backslash)), controls);
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits));
        while (mask != 0) {
            const size_t candidate = pos + static_cast<size_t>(__builtin_ctz(mask));
            if (isQuoteBackslashOrShortEscape(text[candidate])) {
                return candidate;
            }
            mask &= mask - 1;
        }
    }
#else
    for (; pos + 8 <= size; pos += 8) {
        const uint64_t word = load(text + pos);
        if (anyByteBelow(word ^ (kEveryByte * '"'), 1) ||
            anyByteBelow(word ^ (kEveryByte * '\\'), 1) || anyByteBelow(word, '\r' + 1)) {
            for (size_t i = 0; i < 8; ++i) {
                if (isQuoteBackslashOrShortEscape(text[pos + i])) {
                    return pos + i;
                }
            }
        }
    }
#endif
    while (pos < size && !isQuoteBackslashOrShortEscape(text[pos])) {
        ++pos;
    }
    return pos;
}

namespace {

bool isLogEscapeCandidate(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == 0xC2 || c == 0xD8 || c == 0xE2;
}

}  // namespace

size_t findLogEscapeCandidate(const char* text, size_t size) {
    size_t pos = 0;
#if defined(VANTREL_SCAN_SSE2)
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    const __m128i del = _mm_set1_epi8(0x7F);
    const __m128i c2 = _mm_set1_epi8(static_cast<char>(0xC2));
    const __m128i d8 = _mm_set1_epi8(static_cast<char>(0xD8));
    const __m128i e2 = _mm_set1_epi8(static_cast<char>(0xE2));
    for (; pos + 16 <= size; pos += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
        const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes);
        const __m128i leads =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, c2), _mm_cmpeq_epi8(bytes, d8)),
                         _mm_or_si128(_mm_cmpeq_epi8(bytes, e2), _mm_cmpeq_epi8(bytes, del)));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(controls, leads)));
        if (mask != 0) {
            return pos + static_cast<size_t>(__builtin_ctz(mask));
        }
    }
#else
    for (; pos + 8 <= size; pos += 8) {
        const uint64_t word = load(text + pos);
        if (anyByteBelow(word, 0x20) || anyByteBelow(word ^ (kEveryByte * 0x7F), 1) ||
            anyByteBelow(word ^ (kEveryByte * 0xC2), 1) ||
            anyByteBelow(word ^ (kEveryByte * 0xD8), 1) ||
            anyByteBelow(word ^ (kEveryByte * 0xE2), 1)) {
            break;
        }
    }
#endif
    while (pos < size && !isLogEscapeCandidate(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    return pos;
}
