// Writes an element tree back as DER bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "der/byte_buffer.h"
#include "der/der_field.h"

// Lengths are taken from the elements, not computed from their contents, so a
// tree from DERParser comes out with the lengths it was read with (always in
// the shortest form).
class DERWriter : public DERFieldVisitor {
  public:
    void visit(DERComposite& composite) override;
    void visit(DERPrimitive& primitive) override;

    // Shortest form: one octet below 128, else 0x80 + count and the big-endian
    // octets without leading zeros.
    void writeLength(uint32_t length);
    void writeBytes(const ByteBuffer& value);

    // A copy of everything written so far; the caller owns it.
    std::unique_ptr<ByteBuffer> getBuffer() const;

  private:
    std::vector<uint8_t> bytes;
};

std::unique_ptr<ByteBuffer> encodeDer(DERField& field);

// One element: the identifier octet, the shortest-form length and `content`.
std::vector<uint8_t> encodeElement(uint8_t tag, const std::vector<uint8_t>& content);
// An INTEGER holding the unsigned big-endian number `magnitude`: leading zero
// octets dropped, one zero octet put back when the top bit would read as a sign.
std::vector<uint8_t> encodeUnsignedInteger(const uint8_t* magnitude, size_t size);
