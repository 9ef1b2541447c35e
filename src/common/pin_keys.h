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
