#include "der/parsed_certificate.h"

#include <algorithm>
#include <cassert>

ParsedCertificate::ParsedCertificate(
    std::unique_ptr<ByteBuffer> der, std::unique_ptr<DERPrimitive> serialNumber,
    std::unique_ptr<DERPrimitive> notBefore, std::unique_ptr<DERPrimitive> notAfter,
    std::unique_ptr<DERComposite> issuer, std::unique_ptr<DERComposite> subject,
    std::unique_ptr<DERPrimitive> subjectAltName, std::unique_ptr<DERComposite> publicKeyInfo)
    : der(std::move(der)),
      serialNumber(std::move(serialNumber)),
      notBefore(std::move(notBefore)),
      notAfter(std::move(notAfter)),
      issuer(std::move(issuer)),
      subject(std::move(subject)),
      subjectAltName(std::move(subjectAltName)),
      publicKeyInfo(std::move(publicKeyInfo)) {
    assert(this->der && "der");
    assert(this->serialNumber && "serialNumber");
    assert(this->notBefore && "notBefore");
    assert(this->notAfter && "notAfter");
    assert(this->issuer && "issuer");
    assert(this->subject && "subject");
}

bool ParsedCertificate::containsModulus(const ByteBuffer& modulus) const {
    if (modulus.getSize() == 0 || der->getSize() < modulus.getSize()) {
        return false;
    }
    const uint8_t* begin = der->getData();
    const uint8_t* end = begin + der->getSize();
    return std::search(begin, end, modulus.getData(), modulus.getData() + modulus.getSize()) != end;
}
