#include "support/pin_watch.h"

#include <cctype>
#include <filesystem>

#include "common/hex_digit.h"
#include "common/string_literal.h"
#include "support/temp_dir.h"

namespace {

const char kMask[] = "********";

bool isAlphanumeric(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}

// The text of a JSON string literal's contents with its escapes resolved far
// enough for PINs: the one-character escapes and \u of an ASCII character.
// False when it holds anything else (it is then looked for as written only).
bool decodeLiteral(const std::string& literal, std::string& text) {
    for (size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\') {
            text += literal[i];
            continue;
        }
        if (++i >= literal.size()) {
            return false;
        }
        if (literal[i] != 'u') {
            text += unescapedByte(literal[i]);
            continue;
        }
        if (i + 4 >= literal.size()) {
            return false;
        }
        int32_t code = hexQuadValue(&literal[i + 1]);
        if (code <= 0 || code >= 0x80) {
            return false;
        }
        text += static_cast<char>(code);
        i += 4;
    }
    return true;
}

// Escapes a decoded PIN the way a JSON writer would.
std::string jsonEscaped(const std::string& pin) {
    std::string out;
    for (char c : pin) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out;
}

// Whether `c` continues the word or number that `edge` (a character of the
// PIN at that side) belongs to: a letter or digit beside a letter or digit,
// or a decimal point beside a digit (replies write numbers as 4.000000).
bool joins(char c, char edge) {
    bool edgeIsDigit = std::isdigit(static_cast<unsigned char>(edge)) != 0;
    return (isAlphanumeric(c) && isAlphanumeric(edge)) || (c == '.' && edgeIsDigit);
}

bool occursBare(const std::string& text, const std::string& pin) {
    for (size_t at = text.find(pin); at != std::string::npos; at = text.find(pin, at + 1)) {
        size_t end = at + pin.size();
        bool joinedBefore = at > 0 && joins(text[at - 1], pin.front());
        bool joinedAfter = end < text.size() && joins(text[end], pin.back());
        if (!joinedBefore && !joinedAfter) {
            return true;
        }
    }
    return false;
}

}  // namespace

void PinWatch::recordRequest(const std::string& text) {
    // Lenient on purpose: a cut or malformed request still carries its PIN to
    // the host, which may log it. A plain scan rather than a regular
    // expression, whose matcher recurses once per character of a long PIN.
    static const char* const keys[] = {"pin", "oldPIN", "newPIN", "adminPIN", "tokenPIN"};
    for (const char* key : keys) {
        const std::string quotedKey = std::string("\"") + key + "\"";
        for (size_t at = text.find(quotedKey); at != std::string::npos;
             at = text.find(quotedKey, at + 1)) {
            size_t pos = text.find_first_not_of(" \t\r\n", at + quotedKey.size());
            if (pos == std::string::npos || text[pos] != ':') {
                continue;
            }
            pos = text.find_first_not_of(" \t\r\n", pos + 1);
            if (pos == std::string::npos || text[pos] != '"') {
                continue;
            }
            ++pos;
            size_t end = findStringLiteralEnd(text.data(), text.size(), pos);
            std::string literal = text.substr(pos, end - pos);
            if (literal.empty() || literal == kMask) {
                continue;
            }
            literals.insert(literal);
            std::string decoded;
            if (decodeLiteral(literal, decoded)) {
                add(decoded);
            }
        }
    }
}

void PinWatch::add(const std::string& pin) {
    if (!pin.empty() && pin != kMask) {
        known.insert(pin);
        literals.insert(jsonEscaped(pin));
    }
}

std::string PinWatch::findIn(const std::string& text) const {
    for (const std::string& literal : literals) {
        if (text.find("\"" + literal + "\"") != std::string::npos) {
            return "the PIN \"" + literal + "\" as a JSON string";
        }
    }
    for (const std::set<std::string>* forms : {&known, &literals}) {
        for (const std::string& pin : *forms) {
            if (pin.size() >= 4 && occursBare(text, pin)) {
                return "the PIN " + pin;
            }
        }
    }
    return "";
}

::testing::AssertionResult PinWatch::nothingLeaked(const std::string& folder,
                                                   const std::string& stderrText) const {
    std::string found = findIn(stderrText);
    if (!found.empty()) {
        return ::testing::AssertionFailure() << found << " on standard error";
    }
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return ::testing::AssertionSuccess();
    }
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        found = findIn(readWholeFile(entry.path().string()));
        if (!found.empty()) {
            return ::testing::AssertionFailure() << found << " in " << entry.path().string();
        }
    }
    return ::testing::AssertionSuccess();
}
