#include "support/bytes_text.h"

#include <openssl/evp.h>

#include <stdexcept>

Bytes base64Bytes(const std::string& text) {
    Bytes out(text.size());
    int length = EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(text.data()),
                                 static_cast<int>(text.size()));
    if (length < 0) {
        throw std::runtime_error("not base64: " + text);
    }
    // EVP_DecodeBlock counts the padding as zero bytes.
    size_t padding = 0;
    for (size_t i = text.size(); i > 0 && text[i - 1] == '='; --i) {
        ++padding;
    }
    out.resize(static_cast<size_t>(length) - padding);
    return out;
}

std::string base64Text(const Bytes& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), bytes.data(),
                                 static_cast<int>(bytes.size()));
    out.resize(static_cast<size_t>(length));
    return out;
}
