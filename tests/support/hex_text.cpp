#include "support/hex_text.h"

std::string hexOf(const uint8_t* data, size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * size);
    for (size_t i = 0; i < size; ++i) {
        text += digits[data[i] >> 4];
        text += digits[data[i] & 0x0F];
    }
    return text;
}

std::string hexOf(const std::vector<unsigned char>& bytes) {
    return hexOf(bytes.data(), bytes.size());
}

std::string hexOf(const ByteBuffer& buffer) {
    return hexOf(buffer.getData(), buffer.getSize());
}
