#include "der/ec_public_key_info.h"

#include <memory>

#include "der/der_writer.h"

const std::vector<uint8_t> kIdEcPublicKey = {0x06, 0x07, 0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01};
const std::vector<uint8_t> kCurveP256 = {0x06, 0x08, 0x2A, 0x86, 0x48,
                                         0xCE, 0x3D, 0x03, 0x01, 0x07};
const std::vector<uint8_t> kCurveP384 = {0x06, 0x05, 0x2B, 0x81, 0x04, 0x00, 0x22};
const std::vector<uint8_t> kEcdsaWithSha256 = {0x06, 0x08, 0x2A, 0x86, 0x48,
                                               0xCE, 0x3D, 0x04, 0x03, 0x02};

namespace {

const uint8_t kObjectIdentifier = 0x06;
const uint8_t kBitString = 0x03;

template <typename T>
T* childAt(const DERComposite& composite, size_t index) {
    std::vector<DERField*> fields = composite.getFields();
    return index < fields.size() ? dynamic_cast<T*>(fields[index]) : nullptr;
}

std::vector<uint8_t> encoded(DERPrimitive& primitive) {
    std::unique_ptr<ByteBuffer> bytes = encodeDer(primitive);
    return std::vector<uint8_t>(bytes->getData(), bytes->getData() + bytes->getSize());
}

DERPrimitive* objectIdentifierAt(const DERComposite& composite, size_t index) {
    DERPrimitive* primitive = childAt<DERPrimitive>(composite, index);
    return primitive != nullptr && primitive->getTag() == kObjectIdentifier ? primitive : nullptr;
}

}  // namespace

bool isEcPublicKeyInfo(const DERComposite& subjectPublicKeyInfo) {
    DERComposite* algorithm = childAt<DERComposite>(subjectPublicKeyInfo, 0);
    DERPrimitive* oid = algorithm != nullptr ? objectIdentifierAt(*algorithm, 0) : nullptr;
    return oid != nullptr && encoded(*oid) == kIdEcPublicKey;
}

std::optional<EcPublicKeyInfo> ecPublicKeyInfo(const DERComposite& subjectPublicKeyInfo) {
    if (!isEcPublicKeyInfo(subjectPublicKeyInfo)) {
        return std::nullopt;
    }
    DERPrimitive* curve = objectIdentifierAt(*childAt<DERComposite>(subjectPublicKeyInfo, 0), 1);
    DERPrimitive* bits = childAt<DERPrimitive>(subjectPublicKeyInfo, 1);
    // A point fills whole octets: the count of unused bits is 0.
    if (curve == nullptr || bits == nullptr || bits->getTag() != kBitString ||
        bits->getValue().getSize() < 2 || bits->getValue()[0] != 0) {
        return std::nullopt;
    }
    const ByteBuffer& value = bits->getValue();
    return EcPublicKeyInfo{
        encoded(*curve),
        std::vector<uint8_t>(value.getData() + 1, value.getData() + value.getSize())};
}
