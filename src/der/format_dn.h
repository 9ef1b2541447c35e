// Display text of a DER Name or of DER GeneralNames, for the certificate listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Walks the bytes as a flat run of elements, entering SEQUENCE, SET and [0],
// and builds "label=value" items for UTF8String, PrintableString and
// IA5String values, last attribute first, separated by ", ". Labels come from
// the OID's length and last byte only; an OID without a label is logged.
// The walk stops before the first element that would run past the end and
// returns what it has so far.
std::string formatDn(const uint8_t* data, size_t length);
