#include <cstring>

#include "common/byte_scan.h"
#include "nmp/nmp.h"

namespace {

bool isJsonWhitespace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

std::string& compactJson(std::string& text) {
    size_t write = 0;
    bool inString = false;
    bool escaped = false;
    size_t read = 0;
    while (read < text.size()) {
        if (inString && !escaped) {
            // Plain bytes inside a string change no state: they move as a block.
            const size_t run = findQuoteBackslashOrNul(&text[read], text.size() - read);
            if (run > 0) {
                if (write != read) {
                    std::memmove(&text[write], &text[read], run);
                }
                write += run;
                read += run;
                continue;
            }
        }
        char c = text[read++];
        if (c == '\0') {
            break;
        }
        if (!inString && isJsonWhitespace(c)) {
            continue;
        }
        if (c == '"') {
            if (!escaped) {
                inString = !inString;
            }
            escaped = false;
        } else if (c == '\\') {
            escaped = !escaped;
        } else {
            escaped = false;
        }
        text[write++] = c;
    }
    text.resize(write);
    return text;
}
