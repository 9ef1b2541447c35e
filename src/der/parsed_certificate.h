// The parts of an X.509 certificate that importCertificate and the certificate
// listing need, with the DER bytes they came from.
#pragma once

#include <memory>

#include "der/byte_buffer.h"
#include "der/der_field.h"

class ParsedCertificate {
  public:
    // `subjectAltName` (no such extension) and `publicKeyInfo` (a certificate
    // cut short after its subject) may be null; the others may not.
    ParsedCertificate(std::unique_ptr<ByteBuffer> der, std::unique_ptr<DERPrimitive> serialNumber,
                      std::unique_ptr<DERPrimitive> notBefore,
                      std::unique_ptr<DERPrimitive> notAfter, std::unique_ptr<DERComposite> issuer,
                      std::unique_ptr<DERComposite> subject,
                      std::unique_ptr<DERPrimitive> subjectAltName,
                      std::unique_ptr<DERComposite> publicKeyInfo = nullptr);
    ParsedCertificate(const ParsedCertificate&) = delete;
    ParsedCertificate& operator=(const ParsedCertificate&) = delete;

    const ByteBuffer* getDer() const { return der.get(); }
    DERPrimitive* getSerialNumber() const { return serialNumber.get(); }
    DERPrimitive* getNotBefore() const { return notBefore.get(); }
    DERPrimitive* getNotAfter() const { return notAfter.get(); }
    DERComposite* getIssuer() const { return issuer.get(); }
    DERComposite* getSubject() const { return subject.get(); }
    // The subjectAltName extension's OCTET STRING, or null when there is none.
    DERPrimitive* getSubjectAltName() const { return subjectAltName.get(); }
    // The SubjectPublicKeyInfo SEQUENCE, or null.
    DERComposite* getPublicKeyInfo() const { return publicKeyInfo.get(); }

    // True when the modulus occurs as one contiguous run somewhere in the DER
    // bytes. An empty modulus never matches: a key object without modulus bytes
    // must not be tied to every certificate.
    bool containsModulus(const ByteBuffer& modulus) const;

  private:
    std::unique_ptr<ByteBuffer> der;
    std::unique_ptr<DERPrimitive> serialNumber;
    std::unique_ptr<DERPrimitive> notBefore;
    std::unique_ptr<DERPrimitive> notAfter;
    std::unique_ptr<DERComposite> issuer;
    std::unique_ptr<DERComposite> subject;
    std::unique_ptr<DERPrimitive> subjectAltName;
    std::unique_ptr<DERComposite> publicKeyInfo;
};
