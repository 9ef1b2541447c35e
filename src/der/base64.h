// Base64 (RFC 4648, standard alphabet, "=" fill) for certificates, signatures
// and certification requests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::string base64Encode(const uint8_t* data, size_t length);

// Decodes up to the first "=" or the first character outside the alphabet;
// never fails.
std::vector<uint8_t> base64Decode(const std::string& text);
