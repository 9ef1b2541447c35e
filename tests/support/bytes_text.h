// Bytes as the tests write and read them: lowercase hex (hex_text.h), and
// base64 through OpenSSL rather than the host's own encoders, which some of
// the tests test.
#pragma once

#include <cstdint>
#include <string>

#include "support/crypto.h"
#include "support/hex_text.h"

// Throws std::runtime_error for a text that is not base64.
Bytes base64Bytes(const std::string& text);
std::string base64Text(const Bytes& bytes);
