#include "der/hex.h"

#include "common/hex_digit.h"
#include "common/native_host_exception.h"
#include "der/der_errors.h"

std::string hexEncode(const uint8_t* data, size_t length) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        text += kDigits[data[i] >> 4];
        text += kDigits[data[i] & 0x0F];
    }
    return text;
}

int hexDigit(char c) {
    int value = hexDigitValue(c);
    if (value < 0) {
        throw EncodeException(std::string(kInvalidHexDigit) + c);
    }
    return value;
}

std::vector<uint8_t> hexDecode(const std::string& text) {
    if (text.size() % 2 != 0) {
        throw EncodeException(kHexUnevenLength);
    }
    std::vector<uint8_t> bytes(text.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>((hexDigit(text[2 * i]) << 4) | hexDigit(text[2 * i + 1]));
    }
    return bytes;
}
