#include "der/certificate_builder.h"

#include <cstring>

#include "common/native_host_exception.h"
#include "der/der_errors.h"
#include "der/der_parser.h"

namespace {

const uint8_t subjectAltNameOid[] = {0x55, 0x1D, 0x11};

bool isSubjectAltNameOid(const DERPrimitive& primitive) {
    const ByteBuffer& value = primitive.getValue();
    return primitive.getTag() == 0x06 && primitive.getLength() == 3 && value.getSize() == 3 &&
           std::memcmp(value.getData(), subjectAltNameOid, 3) == 0;
}

}  // namespace

CertificateBuilder::CertificateBuilder(std::unique_ptr<ByteBuffer> der) {
    {
        DERParser parser(der.get());
        if (parser.hasMore()) {
            std::unique_ptr<DERField> tree = parser.parseField();
            tree->accept(*this);
        }
    }
    if (state != doneState && state != altNameOidState) {
        throw CertificateException(kCertificateUnparsable);
    }
    certificate = std::make_unique<ParsedCertificate>(
        std::move(der), std::move(serialNumber), std::move(notBefore), std::move(notAfter),
        std::move(issuer), std::move(subject), std::move(subjectAltName), std::move(publicKeyInfo));
}

std::unique_ptr<ParsedCertificate> CertificateBuilder::getCertificate() {
    return std::move(certificate);
}

void CertificateBuilder::visit(DERComposite& composite) {
    ++depth;
    // The element of TBSCertificate right after the subject.
    if (state == altNameOidState && depth == 3 && !publicKeyInfo) {
        publicKeyInfo = std::make_unique<DERComposite>(composite);
    }
    switch (state) {
        case signatureState:
            state = issuerState;
            break;
        case issuerState:
            issuer = std::make_unique<DERComposite>(composite);
            state = notBeforeState;
            break;
        case subjectState:
            subject = std::make_unique<DERComposite>(composite);
            state = altNameOidState;
            break;
        default:
            for (DERField* child : composite.getFields()) {
                child->accept(*this);
            }
            break;
    }
    --depth;
}

void CertificateBuilder::visit(DERPrimitive& primitive) {
    switch (state) {
        case serialNumberState:
            // The version INTEGER inside the explicit [0] sits at depth 3.
            if (primitive.getTag() == 0x02 && depth == 2) {
                serialNumber = std::make_unique<DERPrimitive>(primitive);
                state = signatureState;
            }
            break;
        case notBeforeState:
            notBefore = std::make_unique<DERPrimitive>(primitive);
            state = notAfterState;
            break;
        case notAfterState:
            notAfter = std::make_unique<DERPrimitive>(primitive);
            state = subjectState;
            break;
        case altNameOidState:
            if (isSubjectAltNameOid(primitive)) {
                state = altNameValueState;
            }
            break;
        case altNameValueState:
            // An extension's criticality BOOLEAN comes between the OID and the value.
            if (primitive.getTag() == 0x04) {
                subjectAltName = std::make_unique<DERPrimitive>(primitive);
                state = doneState;
            }
            break;
        default:
            break;
    }
}
