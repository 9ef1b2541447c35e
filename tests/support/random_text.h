// Text that occurs nowhere by chance: letters and digits from the system's
// random device, for a PIN or a marker a test looks for.
#pragma once

#include <random>
#include <string>

inline std::string randomText(size_t length) {
    // Without look-alikes, so that a failure message reads unambiguously.
    static const char letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789";
    std::random_device device;
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        text += letters[device() % (sizeof(letters) - 1)];
    }
    return text;
}
