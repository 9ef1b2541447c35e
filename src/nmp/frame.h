// One native messaging frame: the text's length as a 32-bit little-endian
// number, then the text. The host, its client, the tests and the benchmarks
// all frame through here, so they cannot come to disagree.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

constexpr size_t kFramePrefixSize = 4;

// The prefix that announces `length` bytes of text.
inline std::array<char, kFramePrefixSize> framePrefix(uint32_t length) {
    return {static_cast<char>(length & 0xFF), static_cast<char>((length >> 8) & 0xFF),
            static_cast<char>((length >> 16) & 0xFF), static_cast<char>((length >> 24) & 0xFF)};
}

// The length a prefix announces, from its kFramePrefixSize bytes.
inline uint32_t frameLength(const char* prefix) {
    uint32_t length = 0;
    for (size_t i = 0; i < kFramePrefixSize; ++i) {
        length |= uint32_t{static_cast<unsigned char>(prefix[i])} << (8 * i);
    }
    return length;
}

// Appends the text as one frame (a text longer than 4 GiB cannot be one).
inline void appendFrame(std::string& out, std::string_view text) {
    std::array<char, kFramePrefixSize> prefix = framePrefix(static_cast<uint32_t>(text.size()));
    out.append(prefix.data(), prefix.size());
    out.append(text.data(), text.size());
}

inline std::string frame(std::string_view text) {
    std::string out;
    out.reserve(kFramePrefixSize + text.size());
    appendFrame(out, text);
    return out;
}
