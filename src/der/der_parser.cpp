#include "der/der_parser.h"

#include <cassert>

#include "common/native_host_exception.h"
#include "der/der_errors.h"

DERParser::DERParser(const ByteBuffer* buffer) : buffer(buffer) {
    assert(buffer != nullptr && "buffer");
}

bool DERParser::hasMore() const {
    return position < buffer->getSize();
}

size_t DERParser::remaining() const {
    return hasMore() ? buffer->getSize() - position : 0;
}

uint8_t DERParser::readByte() {
    if (!hasMore()) {
        throw DERException(kDerRunsPastEnd);
    }
    return (*buffer)[position++];
}

int32_t DERParser::readLength() {
    uint8_t first = readByte();
    if ((first & 0x80) == 0) {
        return first;
    }
    int count = first & 0x7F;
    if (count > 4) {
        throw DERException(kDerSizeTooLong);
    }
    if (count == 4) {
        if (!hasMore()) {
            throw DERException(kDerRunsPastEnd);
        }
        if (((*buffer)[position] & 0x80) != 0) {
            throw DERException(kDerSizeTooLong);
        }
    }
    // 0x80 is BER's indefinite form; it is read as length 0 and no
    // end-of-contents octets are looked for.
    uint32_t length = 0;
    for (int i = 0; i < count; ++i) {
        length = (length << 8) | readByte();
    }
    return static_cast<int32_t>(length);
}

bool DERParser::isConstructed(uint8_t tag) {
    return (tag & 0x20) != 0;
}

std::unique_ptr<DERField> DERParser::parseField() {
    // A tag number of 31 (high-tag-number form) is not recognised: the octets
    // that would continue it are read as the length.
    uint8_t tag = readByte();
    int32_t length = readLength();
    if (static_cast<size_t>(length) > remaining()) {
        throw DERException(kDerRunsPastEnd);
    }
    if (isConstructed(tag)) {
        if (depth >= maxDepth) {
            throw DERException(kDerNestingTooDeep);
        }
        return parseComposite(tag, length);
    }
    return parsePrimitive(tag, length);
}

std::unique_ptr<DERField> DERParser::parseComposite(uint8_t tag, int32_t length) {
    struct DepthGuard {
        explicit DepthGuard(int& depth) : depth(depth) { ++depth; }
        ~DepthGuard() { --depth; }
        int& depth;
    } guard(depth);

    auto composite = std::make_unique<DERComposite>(tag, length);
    uint32_t end = position + static_cast<uint32_t>(length);
    // Children are not required to end exactly at `end`: one that runs past it
    // is kept, and the loop stops once the position is at or beyond it.
    while (position < end) {
        composite->addField(parseField());
    }
    return composite;
}

std::unique_ptr<DERField> DERParser::parsePrimitive(uint8_t tag, int32_t length) {
    auto primitive = std::make_unique<DERPrimitive>(tag, buffer->getData(), position, length);
    position += static_cast<uint32_t>(length);
    return primitive;
}
