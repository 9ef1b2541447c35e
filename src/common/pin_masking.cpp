#include "common/pin_masking.h"

#include "common/hex_digit.h"
#include "common/string_literal.h"

namespace {

const char kMask[] = "********";
const char* const kPinKeys[] = {"pin", "oldPIN", "newPIN", "adminPIN", "tokenPIN"};
// No escaped spelling of a PIN key is longer than this.
const size_t kLongestKeyLiteral = 64;

// Position of the quote that closes the string literal whose opening quote is
// at `open`. npos when the text ends first, or when `limit` characters after
// `open` hold none.
size_t closingQuote(const std::string& text, size_t open, size_t limit = std::string::npos) {
    size_t end = limit < text.size() - open ? open + 1 + limit : text.size();
    size_t close = findStringLiteralEnd(text.data(), end, open + 1);
    return close < end ? close : std::string::npos;
}

// The last quote that can close a string literal (one after an even number of
// backslashes, which a quote further left cannot change), or npos.
size_t lastClosingQuote(const std::string& text) {
    for (size_t pos = text.rfind('"'); pos != std::string::npos;
         pos = pos > 0 ? text.rfind('"', pos - 1) : std::string::npos) {
        size_t backslashes = 0;
        while (backslashes < pos && text[pos - 1 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 0) {
            return pos;
        }
    }
    return std::string::npos;
}

// Decodes the escapes of a short key literal far enough to compare it with the
// PIN keys (which are plain ASCII): "\uXXXX" of an ASCII code point and the
// one-character escapes. Anything else makes it no PIN key.
bool decodeKey(const std::string& literal, std::string& key) {
    for (size_t pos = 0; pos < literal.size(); ++pos) {
        char c = literal[pos];
        if (c != '\\') {
            key += c;
            continue;
        }
        if (++pos >= literal.size()) {
            return false;
        }
        if (literal[pos] != 'u') {
            key += literal[pos];
            continue;
        }
        if (pos + 4 >= literal.size()) {
            return false;
        }
        int32_t code = hexQuadValue(&literal[pos + 1]);
        if (code < 0 || code >= 0x80) {
            return false;
        }
        key += static_cast<char>(code);
        pos += 4;
    }
    return true;
}

bool isPinKey(const std::string& literal) {
    if (literal.size() > kLongestKeyLiteral) {
        return false;
    }
    std::string key;
    if (!decodeKey(literal, key)) {
        return false;
    }
    for (const char* pinKey : kPinKeys) {
        if (key == pinKey) {
            return true;
        }
    }
    return false;
}

// Where a member value starting at `start` is masked ([maskStart, maskEnd);
// nothing when they are equal) and where the search goes on after it.
struct ValueSpan {
    size_t maskStart;
    size_t maskEnd;
    size_t resume;
};

ValueSpan locateValue(const std::string& text, size_t start) {
    if (start >= text.size()) {
        return {start, start, text.size()};
    }
    char first = text[start];
    if (first == '{' || first == '[') {
        // Left as it is: PIN keys inside are masked in their own right.
        return {start, start, start};
    }
    if (first == '"') {
        size_t close = closingQuote(text, start);
        if (close == std::string::npos) {
            return {start + 1, text.size(), text.size()};
        }
        return {start + 1, close, close + 1};
    }
    size_t end = text.find_first_of(",}]", start);
    if (end == std::string::npos) {
        end = text.size();
    }
    return {start, end, end};
}

}  // namespace

std::string maskPins(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    size_t copied = 0;
    // Every quote is tried as the opening quote of a key, so that a key is
    // found also in text that is not well-formed JSON. Only a closing quote
    // close enough for a key literal is looked for: looking further, from
    // each of many escaped quotes in one long string, would take time in
    // proportion to the square of the text.
    size_t lastClose = lastClosingQuote(text);
    size_t pos = text.find('"');
    while (pos != std::string::npos && lastClose != std::string::npos && pos < lastClose) {
        size_t close = closingQuote(text, pos, kLongestKeyLiteral + 1);
        bool isKey =
            close != std::string::npos && close + 1 < text.size() && text[close + 1] == ':';
        if (!isKey || !isPinKey(text.substr(pos + 1, close - pos - 1))) {
            pos = text.find('"', pos + 1);
            continue;
        }
        ValueSpan value = locateValue(text, close + 2);
        if (value.maskEnd > value.maskStart) {
            result.append(text, copied, value.maskStart - copied);
            result += kMask;
            copied = value.maskEnd;
        }
        pos = text.find('"', value.resume);
    }
    result.append(text, copied, std::string::npos);
    return result;
}
