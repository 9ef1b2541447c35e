// Reads DER bytes into an element tree. Only the first element of the input is
// read; whatever follows it is ignored.
#pragma once

#include <cstdint>
#include <memory>

#include "der/byte_buffer.h"
#include "der/der_field.h"

class DERParser {
  public:
    // Constructed elements may nest this deep, the outermost counting as 1.
    // Certificates need fewer than ten levels; the bound keeps a few kilobytes of
    // hostile input from exhausting the stack.
    static constexpr int maxDepth = 32;

    // `buffer` is borrowed and must outlive the parser.
    explicit DERParser(const ByteBuffer* buffer);

    bool hasMore() const;
    // Throws DERException kDerRunsPastEnd when the
    // input ends first.
    uint8_t readByte();
    // Throws DERException kDerSizeTooLong for a length of 2^31 or more.
    int32_t readLength();
    static bool isConstructed(uint8_t tag);

    // One whole element with everything inside it. Every declared length must
    // fit in what is left of the input; a child may still run past the end of
    // its parent.
    std::unique_ptr<DERField> parseField();

  private:
    std::unique_ptr<DERField> parseComposite(uint8_t tag, int32_t length);
    std::unique_ptr<DERField> parsePrimitive(uint8_t tag, int32_t length);
    size_t remaining() const;

    const ByteBuffer* buffer;
    uint32_t position = 0;
    int depth = 0;
};
