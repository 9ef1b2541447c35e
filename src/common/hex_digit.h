// Hexadecimal digits, as hex texts, \u escapes and \x escapes write them. Kept
// in this header alone, so that code outside the host's libraries can use it.
#pragma once

#include <cstdint>

// The value 0 to 15 of a hex digit of either case, or -1 for any other character.
inline int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The value of the four hex digits at `digits` (as a \u escape has them), or -1
// when one of them is not a hex digit. The caller makes sure all four are there.
inline int32_t hexQuadValue(const char* digits) {
    int32_t value = 0;
    for (int i = 0; i < 4; ++i) {
        int digit = hexDigitValue(digits[i]);
        if (digit < 0) {
            return -1;
        }
        value = value * 16 + digit;
    }
    return value;
}
