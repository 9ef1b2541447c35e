// Lower-case hexadecimal for serial numbers, check values and key identifiers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

std::string hexEncode(const uint8_t* data, size_t length);

// Throws EncodeException for an odd length or a character that is not a hex digit.
std::vector<uint8_t> hexDecode(const std::string& text);

// The value 0 to 15 of one hex digit of either case; throws EncodeException
// kInvalidHexDigit followed by the character for anything else (NUL included).
int hexDigit(char c);
