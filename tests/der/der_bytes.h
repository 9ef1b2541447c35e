// Builders for DER test inputs, written independently of the DERWriter under
// test.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace derbytes {

using Bytes = std::vector<uint8_t>;

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Tag, shortest-form length and contents.
inline Bytes tlv(uint8_t tag, const Bytes& content) {
    Bytes out{tag};
    size_t size = content.size();
    if (size < 0x80) {
        out.push_back(static_cast<uint8_t>(size));
    } else {
        Bytes octets;
        for (size_t rest = size; rest != 0; rest >>= 8) {
            octets.insert(octets.begin(), static_cast<uint8_t>(rest));
        }
        out.push_back(static_cast<uint8_t>(0x80 | octets.size()));
        out.insert(out.end(), octets.begin(), octets.end());
    }
    out.insert(out.end(), content.begin(), content.end());
    return out;
}

inline Bytes tlv(uint8_t tag, const std::string& text) {
    return tlv(tag, Bytes(text.begin(), text.end()));
}

inline Bytes seq(std::initializer_list<Bytes> children) {
    return tlv(0x30, concat(children));
}

// `inner` wrapped in `levels` SEQUENCEs with definite lengths.
inline Bytes nested(int levels, Bytes inner) {
    for (int i = 0; i < levels; ++i) {
        inner = tlv(0x30, inner);
    }
    return inner;
}

// One attribute of a Name: SET { SEQUENCE { OID, value } }.
inline Bytes attribute(const Bytes& oid, uint8_t valueTag, const Bytes& value) {
    return tlv(0x31, seq({tlv(0x06, oid), tlv(valueTag, value)}));
}

inline Bytes attribute(const Bytes& oid, uint8_t valueTag, const std::string& value) {
    return attribute(oid, valueTag, Bytes(value.begin(), value.end()));
}

inline Bytes attributeOid(uint8_t last) {
    return {0x55, 0x04, last};
}

}  // namespace derbytes
