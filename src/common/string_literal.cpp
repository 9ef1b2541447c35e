#include "common/string_literal.h"

#include "common/byte_scan.h"

size_t findStringLiteralEnd(const char* text, size_t size, size_t start) {
    size_t pos = start;
    while (pos < size) {
        pos += findQuoteBackslashOrNul(text + pos, size - pos);
        if (pos >= size) {
            break;
        }
        if (text[pos] == '"') {
            return pos;
        }
        // A backslash takes the byte after it along; a NUL is an ordinary byte.
        pos += text[pos] == '\\' ? 2 : 1;
    }
    return size;
}

char unescapedByte(char escaped) {
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
