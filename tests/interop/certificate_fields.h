// What a certificate listing should say about a certificate, read with
// libcrypto from the certificate's DER: the independent view tests compare
// the host's replies with.
#pragma once

#include <string>

#include "support/crypto.h"
#include "support/pkcs11_client.h"

namespace interop {

struct CertificateFields {
    // Names as the host writes them: the last attribute first, "CN=Holder,
    // O=Org, C=ZZ".
    std::string subjectDN;
    std::string issuerDN;
    // Whether both names hold only CN, C, O, OU and E (the e-mail address)
    // attributes in UTF8String, PrintableString or IA5String; other
    // attributes are written here as "?=value", which is not what the
    // host writes for them.
    bool plainNames = true;
    // The serial's contents octets in hex, as listed.
    std::string serialNumber;
    // The whole DER INTEGER of the serial in hex, as sign and getCertificate
    // requests name the certificate.
    std::string certificateSN;
    // DD/MM/YYYY, from the certificate itself (a token may not offer its
    // own CKA_START_DATE/CKA_END_DATE).
    std::string validFrom;
    std::string validUntil;
    // The first three bytes of the certificate's SHA-1, in hex: what PKCS#11
    // defines as a certificate's CKA_CHECK_VALUE.
    std::string activationCode;
};

CertificateFields readCertificateFields(const Bytes& der);

// The fields a listing should show for a module's certificate object: names
// and serial read from its CKA_VALUE as above, the dates and the check value
// as the module keeps them (empty where it withholds them).
CertificateFields listedFields(Pkcs11Session& session, CK_OBJECT_HANDLE object);

// A certificate a set-up put on a token, with the key it belongs to.
struct TokenCertificate {
    Bytes der;
    Bytes id;  // CKA_ID of the certificate and its keys
    CertificateFields fields;
};

}  // namespace interop
