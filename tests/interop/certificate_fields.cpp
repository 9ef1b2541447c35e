#include "interop/certificate_fields.h"

#include <openssl/asn1.h>
#include <openssl/evp.h>
#include <openssl/objects.h>
#include <openssl/x509.h>

#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "e2e/host_fixture.h"

namespace interop {

namespace {

std::string label(const X509_NAME_ENTRY* entry, bool& plain) {
    int type = ASN1_STRING_type(X509_NAME_ENTRY_get_data(entry));
    plain = plain && (type == V_ASN1_UTF8STRING || type == V_ASN1_PRINTABLESTRING ||
                      type == V_ASN1_IA5STRING);
    switch (OBJ_obj2nid(X509_NAME_ENTRY_get_object(entry))) {
        case NID_commonName:
            return "CN=";
        case NID_countryName:
            return "C=";
        case NID_organizationName:
            return "O=";
        case NID_organizationalUnitName:
            return "OU=";
        case NID_pkcs9_emailAddress:
            return "E=";
        default:
            plain = false;
            return "?=";
    }
}

std::string listedName(const X509_NAME* name, bool& plain) {
    std::string text;
    for (int i = X509_NAME_entry_count(name) - 1; i >= 0; --i) {
        const X509_NAME_ENTRY* entry = X509_NAME_get_entry(name, i);
        const ASN1_STRING* value = X509_NAME_ENTRY_get_data(entry);
        text += (text.empty() ? "" : ", ") + label(entry, plain) +
                std::string(reinterpret_cast<const char*>(ASN1_STRING_get0_data(value)),
                            static_cast<size_t>(ASN1_STRING_length(value)));
    }
    return text;
}

std::string listedDate(const ASN1_TIME* time) {
    struct tm parts = {};
    if (ASN1_TIME_to_tm(time, &parts) != 1) {
        throw std::runtime_error("bad certificate time");
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d", parts.tm_mday % 100,
                  (parts.tm_mon + 1) % 100, (parts.tm_year + 1900) % 10000);
    return text;
}

}  // namespace

CertificateFields readCertificateFields(const Bytes& der) {
    X509Ptr certificate = parseCertificate(der);
    CertificateFields fields;
    fields.subjectDN = listedName(X509_get_subject_name(certificate.get()), fields.plainNames);
    fields.issuerDN = listedName(X509_get_issuer_name(certificate.get()), fields.plainNames);
    Bytes serial = encodeSerial(X509_get0_serialNumber(certificate.get()));
    fields.certificateSN = hexOf(serial);
    // Serials under 128 bytes: a tag and one length byte.
    fields.serialNumber = hexOf(Bytes(serial.begin() + 2, serial.end()));
    fields.validFrom = listedDate(X509_get0_notBefore(certificate.get()));
    fields.validUntil = listedDate(X509_get0_notAfter(certificate.get()));
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int digestLength = 0;
    if (EVP_Digest(der.data(), der.size(), digest, &digestLength, EVP_sha1(), nullptr) != 1) {
        throw std::runtime_error("SHA-1 failed");
    }
    fields.activationCode = hexOf(Bytes(digest, digest + 3));
    return fields;
}

CertificateFields listedFields(Pkcs11Session& session, CK_OBJECT_HANDLE object) {
    CertificateFields fields = readCertificateFields(session.getBytes(object, CKA_VALUE));
    auto attribute = [&](CK_ATTRIBUTE_TYPE type) {
        Bytes value;
        return session.tryGet(object, type, value) == CKR_OK ? value : Bytes();
    };
    auto date = [&](CK_ATTRIBUTE_TYPE type) {
        Bytes value = attribute(type);
        std::string text(value.begin(), value.end());
        return text.size() == 8
                   ? text.substr(6, 2) + "/" + text.substr(4, 2) + "/" + text.substr(0, 4)
                   : std::string();
    };
    fields.validFrom = date(CKA_START_DATE);
    fields.validUntil = date(CKA_END_DATE);
    fields.activationCode = hexOf(attribute(CKA_CHECK_VALUE));
    return fields;
}

}  // namespace interop
