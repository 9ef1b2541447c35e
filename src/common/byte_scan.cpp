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

LogEscape logEscapeAt(const char* text, size_t size, size_t pos) {
    const auto byte = [text, size, pos](size_t i) {
        return pos + i < size ? static_cast<unsigned char>(text[pos + i]) : 0u;
    };
    const unsigned lead = byte(0);
    if (lead < 0x20 || lead == 0x7F) {
        return {lead, 1};
    }
    const unsigned second = byte(1);
    if (lead == 0xC2 && second >= 0x80 && second <= 0x9F) {
        return {second, 2};
    }
    if (lead == 0xD8 && second == 0x9C) {
        return {0x061C, 2};
    }
    const unsigned third = byte(2);
    if (lead != 0xE2 || (second != 0x80 && second != 0x81) || (third & 0xC0) != 0x80) {
        return {0, 0};
    }
    const uint32_t codePoint = 0x2000 | (second & 0x3F) << 6 | (third & 0x3F);
    const bool escaped = codePoint == 0x200E || codePoint == 0x200F ||
                         (codePoint >= 0x2028 && codePoint <= 0x202E) ||
                         (codePoint >= 0x2066 && codePoint <= 0x2069);
    return escaped ? LogEscape{codePoint, 3} : LogEscape{0, 0};
}

size_t findLogEscape(const char* text, size_t size) {
    size_t pos = 0;
#if defined(VANTREL_SCAN_SSE2)
    // Each byte with the two after it, so that only the few sequences that
    // are escaped are found, not the lead bytes of every character of a
    // script.
    const auto inRange = [](__m128i bytes, unsigned char low, unsigned char high) {
        const __m128i fromLow = _mm_sub_epi8(bytes, _mm_set1_epi8(static_cast<char>(low)));
        return _mm_cmpeq_epi8(_mm_min_epu8(fromLow, _mm_set1_epi8(static_cast<char>(high - low))),
                              fromLow);
    };
    const auto equal = [](__m128i bytes, unsigned char value) {
        return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(value)));
    };
    const __m128i del = _mm_set1_epi8(0x7F);
    const __m128i lastNotPlain = _mm_set1_epi8(static_cast<char>(0xA0));
    for (; pos + 18 <= size; pos += 16) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos));
        // ASCII text without controls passes with one look: counted from DEL
        // on, DEL and the bytes above it come first, those below 0x20 next.
        const __m128i fromDel = _mm_sub_epi8(first, del);
        const __m128i notPlain = _mm_cmpeq_epi8(_mm_min_epu8(fromDel, lastNotPlain), fromDel);
        const auto notPlainMask = static_cast<unsigned>(_mm_movemask_epi8(notPlain));
        if (notPlainMask == 0) {
            continue;
        }
        // Most other scripts pass with a second look: no control byte (those
        // of them without the high bit) and none of the bytes that start what
        // is escaped.
        const __m128i leads =
            _mm_or_si128(_mm_or_si128(equal(first, 0xC2), equal(first, 0xD8)), equal(first, 0xE2));
        const unsigned controlMask =
            notPlainMask & ~static_cast<unsigned>(_mm_movemask_epi8(first));
        if ((controlMask | static_cast<unsigned>(_mm_movemask_epi8(leads))) == 0) {
            continue;
        }
        const __m128i controls = _mm_or_si128(inRange(first, 0x00, 0x1F), equal(first, 0x7F));
        const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos + 1));
        const __m128i third = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + pos + 2));
        const __m128i c1 = _mm_and_si128(equal(first, 0xC2), inRange(second, 0x80, 0x9F));
        const __m128i arabicMark = _mm_and_si128(equal(first, 0xD8), equal(second, 0x9C));
        // U+200E, U+200F, U+2028 to U+202E; U+2066 to U+2069.
        const __m128i marks =
            _mm_and_si128(equal(second, 0x80),
                          _mm_or_si128(inRange(third, 0x8E, 0x8F), inRange(third, 0xA8, 0xAE)));
        const __m128i isolates = _mm_and_si128(equal(second, 0x81), inRange(third, 0xA6, 0xA9));
        const __m128i punctuation =
            _mm_and_si128(equal(first, 0xE2), _mm_or_si128(marks, isolates));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(controls, c1), _mm_or_si128(arabicMark, punctuation))));
        if (mask != 0) {
            return pos + static_cast<size_t>(__builtin_ctz(mask));
        }
    }
#else
    for (; pos + 8 <= size; pos += 8) {
        const uint64_t word = load(text + pos);
        if (!anyByteBelow(word, 0x20) && !anyByteBelow(word ^ (kEveryByte * 0x7F), 1) &&
            !anyByteBelow(word ^ (kEveryByte * 0xC2), 1) &&
            !anyByteBelow(word ^ (kEveryByte * 0xD8), 1) &&
            !anyByteBelow(word ^ (kEveryByte * 0xE2), 1)) {
            continue;
        }
        for (size_t i = 0; i < 8; ++i) {
            if (logEscapeAt(text, size, pos + i).length != 0) {
                return pos + i;
            }
        }
    }
#endif
    while (pos < size && logEscapeAt(text, size, pos).length == 0) {
        ++pos;
    }
    return pos;
}
