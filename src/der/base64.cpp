#include "der/base64.h"

namespace {

const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextetOf(unsigned char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

}  // namespace

std::string base64Encode(const uint8_t* data, size_t length) {
    std::string text;
    text.reserve((length + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= length; i += 3) {
        uint32_t group = (uint32_t{data[i]} << 16) | (uint32_t{data[i + 1]} << 8) | data[i + 2];
        text += kAlphabet[(group >> 18) & 0x3F];
        text += kAlphabet[(group >> 12) & 0x3F];
        text += kAlphabet[(group >> 6) & 0x3F];
        text += kAlphabet[group & 0x3F];
    }
    size_t remaining = length - i;
    if (remaining > 0) {
        uint32_t group = uint32_t{data[i]} << 16;
        if (remaining == 2) {
            group |= uint32_t{data[i + 1]} << 8;
        }
        for (size_t k = 0; k <= remaining; ++k) {
            text += kAlphabet[(group >> (18 - 6 * k)) & 0x3F];
        }
        text.append(3 - remaining, '=');
    }
    return text;
}

std::vector<uint8_t> base64Decode(const std::string& text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3 + 2);
    uint32_t group = 0;
    int collected = 0;
    for (unsigned char c : text) {
        int sextet = sextetOf(c);
        if (sextet < 0) {
            break;
        }
        group = (group << 6) | static_cast<uint32_t>(sextet);
        if (++collected == 4) {
            bytes.push_back(static_cast<uint8_t>(group >> 16));
            bytes.push_back(static_cast<uint8_t>(group >> 8));
            bytes.push_back(static_cast<uint8_t>(group));
            group = 0;
            collected = 0;
        }
    }
    // k characters left over give k - 1 bytes.
    if (collected >= 2) {
        group <<= 6 * (4 - collected);
        bytes.push_back(static_cast<uint8_t>(group >> 16));
        if (collected == 3) {
            bytes.push_back(static_cast<uint8_t>(group >> 8));
        }
    }
    return bytes;
}
