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
