// Reading JSON string literals: where one ends, and what a one-character escape
// in one stands for. The JSON parser, message compaction and PIN masking all
// ask these questions of the same text and must agree on the answers.
#pragma once

#include <cstddef>

// The index of the quote that closes the string literal whose contents start
// at `start` (just after its opening quote): the first quote that no backslash
// escapes. `size` when the text ends first. Long runs of ordinary bytes are
// skipped many at a time.
size_t findStringLiteralEnd(const char* text, size_t size, size_t start);

// The byte that the escape "\" `escaped` stands for: the control bytes of \b,
// \f, \n, \r and \t, and any other character itself (\u is the caller's).
inline char unescapedByte(char escaped) {
    switch (escaped) {
        case 'b':
            return '\b';
        case 'f':
            return '\f';
        case 'n':
            return '\n';
        case 'r':
            return '\r';
        case 't':
            return '\t';
        default:
            return escaped;
    }
}
