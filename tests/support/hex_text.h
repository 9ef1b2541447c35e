// Bytes as the tests write them in hex: lowercase, two digits a byte. Apart
// from base64 (bytes_text.h) because the Windows tests use it too, and they
// have no OpenSSL.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "der/byte_buffer.h"

std::string hexOf(const uint8_t* data, size_t size);
std::string hexOf(const std::vector<unsigned char>& bytes);
std::string hexOf(const ByteBuffer& buffer);
