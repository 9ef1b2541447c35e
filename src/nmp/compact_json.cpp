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
    for (size_t read = 0; read < text.size(); ++read) {
        char c = text[read];
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
