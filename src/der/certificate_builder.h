// Picks the serial number, validity, issuer, subject, subjectPublicKeyInfo and
// subjectAltName out of a DER certificate. It is a position-driven walk over the element tree in
// the field order of RFC 5280's TBSCertificate, not a schema-checking decoder.
#pragma once

#include <cstdint>
#include <memory>

#include "der/byte_buffer.h"
#include "der/der_field.h"
#include "der/parsed_certificate.h"

class CertificateBuilder : public DERFieldVisitor {
  public:
    // Does all the work. Throws CertificateException "Failed to parse
    // certificate" when the walk does not find the fields; DERException from
    // the reader passes through.
    explicit CertificateBuilder(std::unique_ptr<ByteBuffer> der);

    // The result, which owns the DER bytes; null on a second call.
    std::unique_ptr<ParsedCertificate> getCertificate();

    void visit(DERComposite& composite) override;
    void visit(DERPrimitive& primitive) override;

  private:
    // What the walk waits for next.
    enum State : int32_t {
        serialNumberState = 0,  // an INTEGER at depth 2
        signatureState = 1,     // the signature AlgorithmIdentifier
        issuerState = 2,
        notBeforeState = 3,
        notAfterState = 4,
        subjectState = 5,
        altNameOidState = 6,    // the OID 2.5.29.17
        altNameValueState = 7,  // the OCTET STRING after it
        doneState = 8,
    };

    std::unique_ptr<ParsedCertificate> certificate;
    std::unique_ptr<DERPrimitive> serialNumber;
    std::unique_ptr<DERPrimitive> notBefore;
    std::unique_ptr<DERPrimitive> notAfter;
    std::unique_ptr<DERComposite> issuer;
    std::unique_ptr<DERComposite> subject;
    std::unique_ptr<DERPrimitive> subjectAltName;
    std::unique_ptr<DERComposite> publicKeyInfo;
    int32_t state = serialNumberState;
    // Composites being visited at the moment: Certificate is 1, TBSCertificate 2.
    int32_t depth = 0;
};
