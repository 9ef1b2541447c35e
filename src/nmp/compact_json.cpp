#include <cstring>

#include "common/secret_string.h"
#include "common/string_literal.h"
#include "nmp/nmp.h"

namespace {

bool isJsonWhitespace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Compacts the `size` bytes at `text` in place and returns the new size.
size_t compactInPlace(char* text, size_t wholeSize) {
    const void* nul = std::memchr(text, '\0', wholeSize);
    const size_t size =
        nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - text) : wholeSize;
    size_t write = 0;
    size_t read = 0;
    // As the framing defines compaction, a backslash escapes the byte after it
    // outside string literals too: a quote after one opens no literal.
    bool escaped = false;
    while (read < size) {
        const char c = text[read];
        if (c == '"' && !escaped) {
            // A string literal, quotes included, moves as one block.
            const size_t close = findStringLiteralEnd(text, size, read + 1);
            const size_t end = close < size ? close + 1 : size;
            if (write != read) {
                std::memmove(text + write, text + read, end - read);
            }
            write += end - read;
            read = end;
            continue;
        }
        ++read;
        if (isJsonWhitespace(c)) {
            continue;
        }
        escaped = c == '\\' && !escaped;
        text[write++] = c;
    }
    // What moved forward is still there behind the new end, and so is what
    // followed a NUL.
    wipeMemory(text + write, wholeSize - write);
    return write;
}

}  // namespace

std::string& compactJson(std::string& text) {
    text.resize(compactInPlace(&text[0], text.size()));
    return text;
}

SecretString& compactJson(SecretString& text) {
    text.resize(compactInPlace(text.data(), text.size()));
    return text;
}
