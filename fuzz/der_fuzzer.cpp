// Arbitrary bytes as a certificate: the DER reader, the certificate walk, the
// re-encoding of its names and serial number that importCertificate stores,
// the validity dates and the display names of the certificate listing.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/native_host_exception.h"
#include "der/byte_buffer.h"
#include "der/certificate_builder.h"
#include "der/der_parser.h"
#include "der/der_writer.h"
#include "der/format_dn.h"
#include "der/parsed_certificate.h"
#include "fuzz_checks.h"
#include "token/token.h"

namespace {

// Any element tree the reader accepts can be written back and read again.
void readAndWriteBack(const uint8_t* data, size_t size) {
    ByteBuffer input(data, size);
    DERParser parser(&input);
    if (!parser.hasMore()) {
        return;
    }
    std::unique_ptr<DERField> tree;
    try {
        tree = parser.parseField();
    } catch (const DERException&) {
        return;
    }
    std::unique_ptr<ByteBuffer> encoded = encodeDer(*tree);
    FUZZ_CHECK(encoded->getSize() >= 2);
    FUZZ_CHECK((*encoded)[0] == tree->getTag());
}

void readAsCertificate(const uint8_t* data, size_t size) {
    std::unique_ptr<ParsedCertificate> certificate;
    try {
        certificate = CertificateBuilder(std::make_unique<ByteBuffer>(data, size)).getCertificate();
    } catch (const NativeHostException&) {
        return;
    }
    FUZZ_CHECK(certificate != nullptr);
    FUZZ_CHECK(certificate->getDer()->getSize() == size);
    std::unique_ptr<ByteBuffer> subject = encodeDer(*certificate->getSubject());
    std::unique_ptr<ByteBuffer> issuer = encodeDer(*certificate->getIssuer());
    std::unique_ptr<ByteBuffer> serial = encodeDer(*certificate->getSerialNumber());
    formatDn(subject->getData(), subject->getSize());
    formatDn(issuer->getData(), issuer->getSize());
    if (const DERPrimitive* altName = certificate->getSubjectAltName()) {
        formatDn(altName->getValue().getData(), altName->getValue().getSize());
    }
    for (const DERPrimitive* time : {certificate->getNotBefore(), certificate->getNotAfter()}) {
        try {
            certificateTimeToDate(*time);
        } catch (const CertificateException&) {
        }
    }
    // Any run of the certificate's own bytes is found in it; nothing empty is.
    size_t tail = size < 16 ? size : 16;
    FUZZ_CHECK(certificate->containsModulus(ByteBuffer(data + size - tail, tail)) == (tail > 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    readAndWriteBack(data, size);
    readAsCertificate(data, size);
    formatDn(data, size);
    return 0;
}
