// The members whose values are PINs, in every request that has them.
#pragma once

#include <string_view>

inline constexpr std::string_view kPinKeys[] = {"pin", "oldPIN", "newPIN", "adminPIN", "tokenPIN"};

inline bool isPinKey(std::string_view name) {
    for (std::string_view key : kPinKeys) {
        if (name == key) {
            return true;
        }
    }
    return false;
}

inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` at `pos` starts with `key`, ASCII letters of either case.
// Masking matches keys this way: a person who types "PIN" means a PIN too.
inline bool startsWithKeyIgnoringCase(std::string_view text, size_t pos, std::string_view key) {
    if (pos > text.size() || text.size() - pos < key.size()) {
        return false;
    }
    for (size_t i = 0; i < key.size(); ++i) {
        if (asciiLower(text[pos + i]) != asciiLower(key[i])) {
            return false;
        }
    }
    return true;
}
