#include "common/pin_masking.h"

#include "common/hex_digit.h"
#include "common/pin_keys.h"
#include "common/string_literal.h"

namespace {

const char kMask[] = "********";
// No escaped spelling of a PIN key is longer than this.
const size_t kLongestKeyLiteral = 64;

// Position of the quote that closes the string literal whose opening quote is
// at `open`. npos when the text ends first, or when `limit` characters after
// `open` hold none.
size_t closingQuote(std::string_view text, size_t open, size_t limit = std::string_view::npos) {
    size_t end = limit < text.size() - open ? open + 1 + limit : text.size();
    size_t close = findStringLiteralEnd(text.data(), end, open + 1);
    return close < end ? close : std::string_view::npos;
}

// The last quote that can close a string literal (one after an even number of
// backslashes, which a quote further left cannot change), or npos.
size_t lastClosingQuote(std::string_view text) {
    for (size_t pos = text.rfind('"'); pos != std::string_view::npos;
         pos = pos > 0 ? text.rfind('"', pos - 1) : std::string_view::npos) {
        size_t backslashes = 0;
        while (backslashes < pos && text[pos - 1 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 0) {
            return pos;
        }
    }
    return std::string_view::npos;
}

// Whether a key literal, escapes resolved as the JSON parser resolves them,
// spells `key` (plain ASCII, letters of either case). Compared as it is
// decoded: a literal that is no key may be part of a PIN, and is copied
// nowhere.
bool spells(std::string_view literal, std::string_view key) {
    size_t matched = 0;
    for (size_t pos = 0; pos < literal.size(); ++pos) {
        char c = literal[pos];
        if (c == '\\') {
            if (++pos >= literal.size()) {
                return false;
            }
            c = unescapedByte(literal[pos]);
            if (literal[pos] == 'u') {
                if (pos + 4 >= literal.size()) {
                    return false;
                }
                int32_t code = hexQuadValue(&literal[pos + 1]);
                if (code < 0 || code >= 0x80) {
                    return false;
                }
                c = static_cast<char>(code);
                pos += 4;
            }
        }
        if (matched == key.size() || asciiLower(key[matched]) != asciiLower(c)) {
            return false;
        }
        ++matched;
    }
    return matched == key.size();
}

bool isPinKeyLiteral(std::string_view literal) {
    if (literal.size() > kLongestKeyLiteral) {
        return false;
    }
    for (std::string_view key : kPinKeys) {
        if (spells(literal, key)) {
            return true;
        }
    }
    return false;
}

// Where a list or object that opens at `open` ends: just after the bracket
// that closes it, or the end of the text. Strings are skipped whole, so their
// brackets do not count.
size_t containerEnd(std::string_view text, size_t open) {
    size_t depth = 0;
    for (size_t pos = open; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            pos = findStringLiteralEnd(text.data(), text.size(), pos + 1);
        } else if (c == '{' || c == '[') {
            ++depth;
        } else if ((c == '}' || c == ']') && --depth == 0) {
            return pos + 1;
        }
    }
    return text.size();
}

// Where a member value starting at `start` is masked ([maskStart, maskEnd);
// nothing when they are equal) and where the search goes on after it.
struct ValueSpan {
    size_t maskStart;
    size_t maskEnd;
    size_t resume;
};

ValueSpan locateValue(std::string_view text, size_t start) {
    if (start >= text.size()) {
        return {start, start, text.size()};
    }
    char first = text[start];
    if (first == '{' || first == '[') {
        size_t end = containerEnd(text, start);
        return {start, end, end};
    }
    if (first == '"') {
        size_t close = closingQuote(text, start);
        if (close == std::string_view::npos) {
            return {start + 1, text.size(), text.size()};
        }
        return {start + 1, close, close + 1};
    }
    size_t end = text.find_first_of(",}]", start);
    if (end == std::string_view::npos) {
        end = text.size();
    }
    return {start, end, end};
}

// The quote of the first '"' ':' pair after `from`, or npos. Only such a
// quote can close a key.
size_t nextKeyClose(std::string_view text, size_t from) {
    for (size_t colon = text.find(':', from + 1); colon != std::string_view::npos;
         colon = text.find(':', colon + 1)) {
        if (text[colon - 1] == '"' && colon - 1 > from) {
            return colon - 1;
        }
    }
    return std::string_view::npos;
}

}  // namespace

void writeMaskedPins(std::string_view text, const std::function<void(std::string_view)>& write) {
    size_t copied = 0;
    // Every quote is tried as the opening quote of a key, so that a key is
    // found also in text that is not well-formed JSON. Only a closing quote
    // close enough for a key literal is looked for: looking further, from
    // each of many escaped quotes in one long string, would take time in
    // proportion to the square of the text.
    // Nor is every quote tried: one whose literal could close only further
    // away than a key literal reaches, at no quote followed by ':', opens no
    // key, so the search leaps to the quotes near the next such pair. Text
    // dense with quotes then costs about what plain text does.
    size_t lastClose = lastClosingQuote(text);
    size_t keyClose = std::string_view::npos;
    size_t pos = text.find('"');
    while (pos != std::string_view::npos && lastClose != std::string_view::npos &&
           pos < lastClose) {
        if (keyClose == std::string_view::npos || keyClose <= pos) {
            keyClose = nextKeyClose(text, pos);
            if (keyClose == std::string_view::npos) {
                break;
            }
        }
        if (keyClose - pos > kLongestKeyLiteral + 1) {
            pos = text.find('"', keyClose - kLongestKeyLiteral - 1);
            continue;
        }
        size_t close = closingQuote(text, pos, kLongestKeyLiteral + 1);
        bool isKey =
            close != std::string_view::npos && close + 1 < text.size() && text[close + 1] == ':';
        if (!isKey || !isPinKeyLiteral(text.substr(pos + 1, close - pos - 1))) {
            pos = text.find('"', pos + 1);
            continue;
        }
        ValueSpan value = locateValue(text, close + 2);
        if (value.maskEnd > value.maskStart) {
            write(text.substr(copied, value.maskStart - copied));
            write(std::string_view(kMask, sizeof(kMask) - 1));
            copied = value.maskEnd;
        }
        pos = text.find('"', value.resume);
    }
    write(text.substr(copied));
}

std::string maskPins(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    writeMaskedPins(text, [&result](std::string_view piece) { result += piece; });
    return result;
}

namespace {

// Where the first of the PIN keys' names stands in `text`, in any context and
// letters of either case, or npos.
size_t firstPinKeyName(std::string_view text) {
    for (size_t pos = 0; pos < text.size(); ++pos) {
        for (std::string_view key : kPinKeys) {
            if (startsWithKeyIgnoringCase(text, pos, key)) {
                return pos;
            }
        }
    }
    return std::string_view::npos;
}

}  // namespace

void writeMaskedPinsOfUnparsable(std::string_view text,
                                 const std::function<void(std::string_view)>& write) {
    // The masked text comes in pieces of the text with a mask between each
    // two, so no name runs from one piece into the next.
    bool cut = false;
    writeMaskedPins(text, [&cut, &write](std::string_view piece) {
        if (cut) {
            return;
        }
        size_t name = firstPinKeyName(piece);
        if (name == std::string_view::npos) {
            write(piece);
            return;
        }
        write(piece.substr(0, name));
        write(std::string_view(kMask, sizeof(kMask) - 1));
        cut = true;
    });
}

std::string maskPinsOfUnparsable(std::string_view text) {
    std::string result;
    writeMaskedPinsOfUnparsable(text, [&result](std::string_view piece) { result += piece; });
    return result;
}
