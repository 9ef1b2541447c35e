// Checks shared by the fuzz targets. A failed check aborts, which libFuzzer and
// the corpus replay both report as a finding with the input that caused it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)

namespace fuzz {

// Well-formed UTF-8 as the Unicode Standard defines it (no overlong forms, no
// surrogates, nothing above U+10FFFF). Written independently of the host's own
// check so that one cannot hide a mistake of the other.
inline bool isValidUtf8(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size()) {
        auto byte = [&](size_t k) { return static_cast<unsigned char>(text[pos + k]); };
        unsigned char lead = byte(0);
        size_t length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead == 0xE0) {
            length = 3;
            low = 0xA0;
        } else if (lead == 0xED) {
            length = 3;
            high = 0x9F;
        } else if (lead >= 0xE1 && lead <= 0xEF) {
            length = 3;
        } else if (lead == 0xF0) {
            length = 4;
            low = 0x90;
        } else if (lead >= 0xF1 && lead <= 0xF3) {
            length = 4;
        } else if (lead == 0xF4) {
            length = 4;
            high = 0x8F;
        } else {
            return false;
        }
        if (pos + length > text.size()) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            if (byte(k) < low || byte(k) > high) {
                return false;
            }
            low = 0x80;
            high = 0xBF;
        }
        pos += length;
    }
    return true;
}

}  // namespace fuzz
