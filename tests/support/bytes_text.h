// Bytes as the tests write and read them: lowercase hex, and base64 through
// OpenSSL rather than the host's own encoders, which some of the tests test.
#pragma once

#include <cstdint>
#include <string>

#include "der/byte_buffer.h"
#include "support/crypto.h"

std::string hexOf(const uint8_t* data, size_t size);
std::string hexOf(const Bytes& bytes);
std::string hexOf(const ByteBuffer& buffer);

// Throws std::runtime_error for a text that is not base64.
Bytes base64Bytes(const std::string& text);
std::string base64Text(const Bytes& bytes);
