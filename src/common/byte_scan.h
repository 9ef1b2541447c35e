// Finding the bytes that matter in long texts. Request payloads run to many
// MiB and are scanned more than once (compaction, then the string parser), so
// the scans look at sixteen bytes at a time where the processor has SSE2 and
// at eight bytes at a time elsewhere, and answer for a whole block at once:
// the callers follow escapes inside a block instead of starting a scan afresh
// at each of them. The functions the scanners call per block are defined here,
// so that they are compiled into their callers' loops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__) && defined(__GNUC__)
#include <emmintrin.h>
#define VANTREL_SCAN_SSE2 1
#endif

namespace byte_scan {

#if defined(VANTREL_SCAN_SSE2)
// Bit i set where byte i of the sixteen at `text` is `c`.
inline uint64_t equalMask16(const char* text, char c) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(c))));
}
#else
constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
constexpr uint64_t kEveryByte = 0x0101010101010101u;

// 0x80 in each zero byte of `word` and nothing elsewhere.
inline uint64_t zeroBytes(uint64_t word) {
    return ~(((word & kLow7) + kLow7) | word | kLow7);
}

// The high bits of the eight bytes, gathered into bits 0 to 7.
inline uint64_t gatherHighBits(uint64_t highBits) {
    return ((highBits >> 7) * 0x0102040810204080u) >> 56;
}

inline uint64_t equalMask8(const char* text, char c) {
    uint64_t word;
    std::memcpy(&word, text, sizeof(word));
    // The order of the bytes in the word is that of memory on little-endian
    // processors, the only ones the host is built for.
    return gatherHighBits(zeroBytes(word ^ (kEveryByte * static_cast<unsigned char>(c))));
}
#endif

// Bit i set where byte i of the 64 at `text` is `c`.
inline uint64_t equalMask64(const char* text, char c) {
#if defined(VANTREL_SCAN_SSE2)
    return equalMask16(text, c) | equalMask16(text + 16, c) << 16 |
           equalMask16(text + 32, c) << 32 | equalMask16(text + 48, c) << 48;
#else
    uint64_t mask = 0;
    for (int i = 0; i < 8; ++i) {
        mask |= equalMask8(text + 8 * i, c) << (8 * i);
    }
    return mask;
#endif
}

// The bytes that a backslash escapes, among 64 whose backslashes are the bits
// of `backslashes`: each byte after an odd-length run of backslashes, and
// every second backslash of a run. `carry` says whether the first byte is
// escaped by the run that ended the block before, and receives whether the
// first byte of the next block is.
//
// A run that starts at an even position escapes the bytes at odd positions
// up to the byte after it, and one that starts at an odd position those at
// even positions. Adding a run's lowest bit to the run clears it and carries
// into the byte after it; done for the runs that start at odd positions, what
// remains shifted by one flips the even-position pattern where it is wrong.
inline uint64_t escapedBytes(uint64_t backslashes, uint64_t& carry) {
    constexpr uint64_t kEvenPositions = 0x5555555555555555u;
    backslashes &= ~carry;
    const uint64_t afterBackslash = backslashes << 1 | carry;
    const uint64_t oddRunStarts = backslashes & ~kEvenPositions & ~afterBackslash;
    const uint64_t sum = oddRunStarts + backslashes;
    carry = sum < backslashes ? 1 : 0;
    return (kEvenPositions ^ sum << 1) & afterBackslash;
}

}  // namespace byte_scan

// Index of the first '"', '\\' or raw control byte that JSON text must escape
// with a short escape (\b \t \n \f \r), or `size` when there is none.
size_t findQuoteBackslashOrShortEscape(const char* text, size_t size);

// What a log file shows escaped, so that viewing it can neither forge or
// break a line nor move a terminal's cursor nor reorder what is shown: a byte
// below 0x20 or DEL (length 1, the byte itself as code point), and the UTF-8
// of the C1 controls (U+0080 to U+009F), U+061C, U+200E, U+200F, U+2028 to
// U+202E and U+2066 to U+2069 (length 2 or 3). Length 0 for anything else.
struct LogEscape {
    uint32_t codePoint;
    size_t length;
};
LogEscape logEscapeAt(const char* text, size_t size, size_t pos);

// Index of the first byte where logEscapeAt finds something, or `size` when
// there is none. UTF-8 text of any script costs about what ASCII does.
size_t findLogEscape(const char* text, size_t size);

// Copies the bytes at `in` to `out` up to the first '\\' or short-escape
// control byte (see above) or `count` bytes, whichever comes first, and
// returns how many it copied. It may read up to 16 bytes from `in` when
// `readable` (at least `count`) says they are there, and may write up to 16
// bytes more than it copies.
inline size_t copyPlainRun(const char* in, size_t count, size_t readable, char* out) {
    size_t done = 0;
#if defined(VANTREL_SCAN_SSE2)
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i eight = _mm_set1_epi8(8);
    const __m128i five = _mm_set1_epi8(5);
    const __m128i verticalTab = _mm_set1_epi8('\v');
    while (done < count && readable - done >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), bytes);
        // \b \t \n \f \r are 0x08 to 0x0D without 0x0B.
        const __m128i fromEight = _mm_sub_epi8(bytes, eight);
        const __m128i controls =
            _mm_andnot_si128(_mm_cmpeq_epi8(bytes, verticalTab),
                             _mm_cmpeq_epi8(_mm_min_epu8(fromEight, five), fromEight));
        const auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, backslash), controls)));
        if (mask != 0) {
            const size_t run = done + static_cast<size_t>(__builtin_ctz(mask));
            return run < count ? run : count;
        }
        done += 16;
    }
    if (done >= count) {
        return count;
    }
#else
    (void)readable;
#endif
    for (; done < count; ++done) {
        const char c = in[done];
        if (c == '\\' || (c >= '\b' && c <= '\r' && c != '\v')) {
            break;
        }
        out[done] = c;
    }
    return done;
}
