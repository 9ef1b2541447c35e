#include "der/der_writer.h"

void DERWriter::visit(DERComposite& composite) {
    bytes.push_back(composite.getTag());
    writeLength(static_cast<uint32_t>(composite.getLength()));
    for (DERField* child : composite.getFields()) {
        child->accept(*this);
    }
}

void DERWriter::visit(DERPrimitive& primitive) {
    bytes.push_back(primitive.getTag());
    writeLength(static_cast<uint32_t>(primitive.getLength()));
    writeBytes(primitive.getValue());
}

void DERWriter::writeLength(uint32_t length) {
    if (length < 0x80) {
        bytes.push_back(static_cast<uint8_t>(length));
        return;
    }
    uint8_t octets[4];
    int count = 0;
    for (uint32_t rest = length; rest != 0; rest >>= 8) {
        octets[count++] = static_cast<uint8_t>(rest & 0xFF);
    }
    bytes.push_back(static_cast<uint8_t>(0x80 + count));
    while (count > 0) {
        bytes.push_back(octets[--count]);
    }
}

void DERWriter::writeBytes(const ByteBuffer& value) {
    bytes.insert(bytes.end(), value.getData(), value.getData() + value.getSize());
}

std::unique_ptr<ByteBuffer> DERWriter::getBuffer() const {
    return std::make_unique<ByteBuffer>(bytes);
}

std::unique_ptr<ByteBuffer> encodeDer(DERField& field) {
    DERWriter writer;
    field.accept(writer);
    return writer.getBuffer();
}

std::vector<uint8_t> encodeElement(uint8_t tag, const std::vector<uint8_t>& content) {
    DERWriter writer;
    writer.writeLength(static_cast<uint32_t>(content.size()));
    writer.writeBytes(ByteBuffer(content));
    std::unique_ptr<ByteBuffer> body = writer.getBuffer();
    std::vector<uint8_t> element;
    element.reserve(1 + body->getSize());
    element.push_back(tag);
    for (size_t i = 0; i < body->getSize(); ++i) {
        element.push_back(body->getData()[i]);
    }
    return element;
}

std::vector<uint8_t> encodeUnsignedInteger(const uint8_t* magnitude, size_t size) {
    size_t first = 0;
    while (first < size && magnitude[first] == 0) {
        ++first;
    }
    std::vector<uint8_t> content;
    if (first == size || (magnitude[first] & 0x80) != 0) {
        content.push_back(0x00);
    }
    content.insert(content.end(), magnitude + first, magnitude + size);
    return encodeElement(0x02, content);
}
