#include <cstring>

#include "common/string_literal.h"
#include "nmp/nmp.h"

namespace {

bool isJsonWhitespace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string& compactJson(std::string& text) {
    const void* nul = std::memchr(text.data(), '\0', text.size());
    const size_t size = nul != nullptr ? static_cast<const char*>(nul) - text.data() : text.size();
    size_t write = 0;
    size_t read = 0;
    // As the framing defines compaction, a backslash escapes the byte after it
    // outside string literals too: a quote after one opens no literal.
    bool escaped = false;
    while (read < size) {
        const char c = text[read];
        if (c == '"' && !escaped) {
            // A string literal, quotes included, moves as one block.
            const size_t close = findStringLiteralEnd(text.data(), size, read + 1);
            const size_t end = close < size ? close + 1 : size;
            if (write != read) {
                std::memmove(&text[write], &text[read], end - read);
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
    text.resize(write);
    return text;
}
