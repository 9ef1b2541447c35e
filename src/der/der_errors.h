// The error texts of byte buffers, hex and DER reading that reach a reply.
//
// Each text reaches the page in a reply's "error" member, and pages match on
// it, so its spelling (typos included) is frozen: change a text only together
// with every page that reads it. Some are the start or the end of a longer
// text, a name or a number going between.
// Each text is written once in src/, here (tests/wire_texts checks that).
#pragma once

inline constexpr char kDerRunsPastEnd[] = "DER field runs past the end of the data";
inline constexpr char kDerSizeTooLong[] = "DER filed size too long";
inline constexpr char kDerNestingTooDeep[] = "DER nesting too deep";
inline constexpr char kCertificateUnparsable[] = "Failed to parse certificate";
inline constexpr char kInvalidHexDigit[] = "Invalid hex digit ";
inline constexpr char kHexUnevenLength[] = "Invalid hex encoded data - uneven length";
inline constexpr char kByteOutsideBuffer[] = "ByteBuffer::operator[]";
