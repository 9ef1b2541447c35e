#include "support/crypto.h"

#include <openssl/asn1.h>
#include <openssl/bio.h>
#include <openssl/core_names.h>
#include <openssl/ec.h>
#include <openssl/err.h>
#include <openssl/objects.h>
#include <openssl/param_build.h>
#include <openssl/pkcs12.h>
#include <openssl/rsa.h>
#include <openssl/x509v3.h>

#include <stdexcept>

namespace {

[[noreturn]] void fail(const std::string& what) {
    unsigned long code = ERR_get_error();
    ERR_clear_error();
    std::string reason = code != 0 ? std::string(": ") + ERR_error_string(code, nullptr) : "";
    throw std::runtime_error(what + reason);
}

template <typename T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* p) const { Free(p); }
};
using X509ReqPtr = std::unique_ptr<X509_REQ, Deleter<X509_REQ, X509_REQ_free>>;
using X509NamePtr = std::unique_ptr<X509_NAME, Deleter<X509_NAME, X509_NAME_free>>;
using Asn1IntegerPtr = std::unique_ptr<ASN1_INTEGER, Deleter<ASN1_INTEGER, ASN1_INTEGER_free>>;
using Asn1TimePtr = std::unique_ptr<ASN1_TIME, Deleter<ASN1_TIME, ASN1_TIME_free>>;
using BignumPtr = std::unique_ptr<BIGNUM, Deleter<BIGNUM, BN_free>>;
using ParamBuildPtr = std::unique_ptr<OSSL_PARAM_BLD, Deleter<OSSL_PARAM_BLD, OSSL_PARAM_BLD_free>>;
using ParamPtr = std::unique_ptr<OSSL_PARAM, Deleter<OSSL_PARAM, OSSL_PARAM_free>>;
using PkeyCtxPtr = std::unique_ptr<EVP_PKEY_CTX, Deleter<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;
using MdCtxPtr = std::unique_ptr<EVP_MD_CTX, Deleter<EVP_MD_CTX, EVP_MD_CTX_free>>;
using BioPtr = std::unique_ptr<BIO, Deleter<BIO, BIO_free_all>>;
using EcdsaSigPtr = std::unique_ptr<ECDSA_SIG, Deleter<ECDSA_SIG, ECDSA_SIG_free>>;
using Asn1ObjectPtr = std::unique_ptr<ASN1_OBJECT, Deleter<ASN1_OBJECT, ASN1_OBJECT_free>>;
using OctetStringPtr =
    std::unique_ptr<ASN1_OCTET_STRING, Deleter<ASN1_OCTET_STRING, ASN1_OCTET_STRING_free>>;
using Pkcs12Ptr = std::unique_ptr<PKCS12, Deleter<PKCS12, PKCS12_free>>;
using ExtensionPtr = std::unique_ptr<X509_EXTENSION, Deleter<X509_EXTENSION, X509_EXTENSION_free>>;

// A public key of this type from the parameters pushed onto `build`.
EvpPkeyPtr publicKeyFrom(const char* type, OSSL_PARAM_BLD* build) {
    ParamPtr params(OSSL_PARAM_BLD_to_param(build));
    PkeyCtxPtr context(EVP_PKEY_CTX_new_from_name(nullptr, type, nullptr));
    EVP_PKEY* key = nullptr;
    if (!params || !context || EVP_PKEY_fromdata_init(context.get()) <= 0 ||
        EVP_PKEY_fromdata(context.get(), &key, EVP_PKEY_PUBLIC_KEY, params.get()) <= 0) {
        fail("EVP_PKEY_fromdata");
    }
    return EvpPkeyPtr(key);
}

BignumPtr bignum(const Bytes& bigEndian) {
    BignumPtr number(BN_bin2bn(bigEndian.data(), static_cast<int>(bigEndian.size()), nullptr));
    if (!number) {
        fail("BN_bin2bn");
    }
    return number;
}

X509NamePtr parseName(const std::string& text) {
    X509NamePtr name(X509_NAME_new());
    size_t at = 0;
    while (at < text.size()) {
        if (text[at] != '/') {
            throw std::runtime_error("a name is written /KEY=value/...: " + text);
        }
        size_t end = text.find('/', at + 1);
        std::string entry = text.substr(at + 1, end == std::string::npos ? end : end - at - 1);
        size_t equals = entry.find('=');
        if (equals == std::string::npos) {
            throw std::runtime_error("no '=' in " + entry);
        }
        std::string value = entry.substr(equals + 1);
        if (!X509_NAME_add_entry_by_txt(name.get(), entry.substr(0, equals).c_str(), MBSTRING_UTF8,
                                        reinterpret_cast<const unsigned char*>(value.data()),
                                        static_cast<int>(value.size()), -1, 0)) {
            fail("bad name entry " + entry);
        }
        at = end == std::string::npos ? text.size() : end;
    }
    return name;
}

Asn1TimePtr parseTime(const std::string& text) {
    Asn1TimePtr time(ASN1_TIME_new());
    int ok = 0;
    if (text.size() == 13) {
        ok = ASN1_UTCTIME_set_string(time.get(), text.c_str());
    } else if (text.size() == 15) {
        ok = ASN1_GENERALIZEDTIME_set_string(time.get(), text.c_str());
    }
    if (!ok) {
        throw std::runtime_error("bad certificate time " + text);
    }
    return time;
}

Asn1IntegerPtr parseSerial(const Bytes& contents) {
    if (contents.empty() || contents.size() > 126) {
        throw std::runtime_error("serial number of unsupported length");
    }
    Bytes der = {0x02, static_cast<unsigned char>(contents.size())};
    der.insert(der.end(), contents.begin(), contents.end());
    const unsigned char* cursor = der.data();
    Asn1IntegerPtr serial(d2i_ASN1_INTEGER(nullptr, &cursor, static_cast<long>(der.size())));
    if (!serial) {
        fail("bad serial number");
    }
    return serial;
}

Bytes encodeCertificate(X509* certificate) {
    int length = i2d_X509(certificate, nullptr);
    if (length <= 0) {
        fail("i2d_X509");
    }
    Bytes der(static_cast<size_t>(length));
    unsigned char* cursor = der.data();
    i2d_X509(certificate, &cursor);
    return der;
}

// Builds and signs a certificate; `subject` null means the issuer's name
// (a self-signed certificate).
Bytes makeCertificate(EVP_PKEY* subjectKey, const X509_NAME* subject, EVP_PKEY* issuerKey,
                      const X509_NAME* issuer, const CertificateOptions& options, bool ca) {
    X509Ptr certificate(X509_new());
    if (!certificate || !X509_set_version(certificate.get(), 2)) {
        fail("X509_new");
    }
    Asn1IntegerPtr serial = parseSerial(options.serial);
    Asn1TimePtr notBefore = parseTime(options.notBefore);
    Asn1TimePtr notAfter = parseTime(options.notAfter);
    if (!X509_set_serialNumber(certificate.get(), serial.get()) ||
        !X509_set1_notBefore(certificate.get(), notBefore.get()) ||
        !X509_set1_notAfter(certificate.get(), notAfter.get()) ||
        !X509_set_subject_name(certificate.get(), subject != nullptr ? subject : issuer) ||
        !X509_set_issuer_name(certificate.get(), issuer) ||
        !X509_set_pubkey(certificate.get(), subjectKey)) {
        fail("cannot fill the certificate");
    }
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, certificate.get(), certificate.get(), nullptr, nullptr, 0);
    auto addExtension = [&](int nid, const std::string& value) {
        ExtensionPtr extension(X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str()));
        if (!extension || !X509_add_ext(certificate.get(), extension.get(), -1)) {
            fail("bad extension " + value);
        }
    };
    if (ca) {
        addExtension(NID_basic_constraints, "critical,CA:TRUE");
    }
    if (!options.subjectAltName.empty()) {
        addExtension(NID_subject_alt_name, options.subjectAltName);
    }
    if (X509_sign(certificate.get(), issuerKey, EVP_sha256()) <= 0) {
        fail("X509_sign");
    }
    return encodeCertificate(certificate.get());
}

}  // namespace

Bytes toBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

EvpPkeyPtr generateRsaKey(int bits) {
    EvpPkeyPtr key(EVP_RSA_gen(static_cast<unsigned int>(bits)));
    if (!key) {
        fail("EVP_RSA_gen");
    }
    return key;
}

EvpPkeyPtr rsaPublicKey(const Bytes& modulus, const Bytes& exponent) {
    BignumPtr n = bignum(modulus);
    BignumPtr e = bignum(exponent);
    ParamBuildPtr build(OSSL_PARAM_BLD_new());
    if (!build || !OSSL_PARAM_BLD_push_BN(build.get(), OSSL_PKEY_PARAM_RSA_N, n.get()) ||
        !OSSL_PARAM_BLD_push_BN(build.get(), OSSL_PKEY_PARAM_RSA_E, e.get())) {
        fail("OSSL_PARAM_BLD");
    }
    return publicKeyFrom("RSA", build.get());
}

bool samePublicKey(EVP_PKEY* a, EVP_PKEY* b) {
    return a != nullptr && b != nullptr && EVP_PKEY_eq(a, b) == 1;
}

bool verifyRsaSha256(EVP_PKEY* key, const Bytes& data, const Bytes& signature) {
    MdCtxPtr context(EVP_MD_CTX_new());
    EVP_PKEY_CTX* keyContext = nullptr;
    bool valid =
        context &&
        EVP_DigestVerifyInit(context.get(), &keyContext, EVP_sha256(), nullptr, key) == 1 &&
        EVP_PKEY_CTX_set_rsa_padding(keyContext, RSA_PKCS1_PADDING) == 1 &&
        EVP_DigestVerify(context.get(), signature.data(), signature.size(), data.data(),
                         data.size()) == 1;
    ERR_clear_error();
    return valid;
}

bool verifyRsaSha256(const Bytes& certificateDer, const Bytes& data, const Bytes& signature) {
    EvpPkeyPtr key = certificatePublicKey(certificateDer);
    return verifyRsaSha256(key.get(), data, signature);
}

EvpPkeyPtr ecPublicKey(const Bytes& ecParams, const Bytes& ecPoint) {
    const unsigned char* cursor = ecParams.data();
    Asn1ObjectPtr curve(d2i_ASN1_OBJECT(nullptr, &cursor, static_cast<long>(ecParams.size())));
    const char* group = curve ? OBJ_nid2sn(OBJ_obj2nid(curve.get())) : nullptr;
    cursor = ecPoint.data();
    OctetStringPtr point(
        d2i_ASN1_OCTET_STRING(nullptr, &cursor, static_cast<long>(ecPoint.size())));
    if (group == nullptr || !point) {
        fail("not a named curve and a DER point");
    }
    ParamBuildPtr build(OSSL_PARAM_BLD_new());
    if (!build ||
        !OSSL_PARAM_BLD_push_utf8_string(build.get(), OSSL_PKEY_PARAM_GROUP_NAME, group, 0) ||
        !OSSL_PARAM_BLD_push_octet_string(build.get(), OSSL_PKEY_PARAM_PUB_KEY,
                                          ASN1_STRING_get0_data(point.get()),
                                          static_cast<size_t>(ASN1_STRING_length(point.get())))) {
        fail("OSSL_PARAM_BLD");
    }
    return publicKeyFrom("EC", build.get());
}

bool verifyEcdsaSha256(EVP_PKEY* key, const Bytes& data, const Bytes& rawSignature) {
    size_t half = rawSignature.size() / 2;
    EcdsaSigPtr signature(ECDSA_SIG_new());
    BIGNUM* r = BN_bin2bn(rawSignature.data(), static_cast<int>(half), nullptr);
    BIGNUM* s = BN_bin2bn(rawSignature.data() + half, static_cast<int>(half), nullptr);
    if (!signature || r == nullptr || s == nullptr || ECDSA_SIG_set0(signature.get(), r, s) != 1) {
        BN_free(r);
        BN_free(s);
        fail("ECDSA_SIG");
    }
    unsigned char* der = nullptr;
    int length = i2d_ECDSA_SIG(signature.get(), &der);
    MdCtxPtr context(EVP_MD_CTX_new());
    bool valid = rawSignature.size() % 2 == 0 && length > 0 && context &&
                 EVP_DigestVerifyInit(context.get(), nullptr, EVP_sha256(), nullptr, key) == 1 &&
                 EVP_DigestVerify(context.get(), der, static_cast<size_t>(length), data.data(),
                                  data.size()) == 1;
    OPENSSL_free(der);
    ERR_clear_error();
    return valid;
}

Bytes makePkcs12(EVP_PKEY* key, const Bytes& certificateDer, const std::string& friendlyName,
                 const std::string& password) {
    X509Ptr certificate = parseCertificate(certificateDer);
    Pkcs12Ptr pkcs12(PKCS12_create(password.c_str(), friendlyName.c_str(), key, certificate.get(),
                                   nullptr, 0, 0, 0, 0, 0));
    if (!pkcs12) {
        fail("PKCS12_create");
    }
    unsigned char* der = nullptr;
    int length = i2d_PKCS12(pkcs12.get(), &der);
    if (length <= 0) {
        fail("i2d_PKCS12");
    }
    Bytes bytes(der, der + length);
    OPENSSL_free(der);
    return bytes;
}

Bytes encodeSerial(const ASN1_INTEGER* serial) {
    unsigned char* encoded = nullptr;
    int length = i2d_ASN1_INTEGER(serial, &encoded);
    if (length < 0) {
        fail("i2d_ASN1_INTEGER");
    }
    Bytes der(encoded, encoded + length);
    OPENSSL_free(encoded);
    return der;
}

X509Ptr parseCertificate(const Bytes& der) {
    const unsigned char* cursor = der.data();
    X509Ptr certificate(d2i_X509(nullptr, &cursor, static_cast<long>(der.size())));
    if (!certificate) {
        fail("not a DER certificate");
    }
    if (cursor != der.data() + der.size()) {
        throw std::runtime_error("bytes after the certificate");
    }
    return certificate;
}

EvpPkeyPtr certificatePublicKey(const Bytes& der) {
    X509Ptr certificate = parseCertificate(der);
    EvpPkeyPtr key(X509_get_pubkey(certificate.get()));
    if (!key) {
        fail("certificate without a usable public key");
    }
    return key;
}

std::string nameText(const X509_NAME* name) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    // One line, "KEY=value" pairs, UTF-8 as it stands rather than escaped.
    unsigned long flags =
        (XN_FLAG_ONELINE & ~XN_FLAG_SPC_EQ & ~ASN1_STRFLGS_ESC_MSB) | ASN1_STRFLGS_UTF8_CONVERT;
    if (!bio || X509_NAME_print_ex(bio.get(), name, 0, flags) < 0) {
        fail("X509_NAME_print_ex");
    }
    char* text = nullptr;
    long length = BIO_get_mem_data(bio.get(), &text);
    return std::string(text, static_cast<size_t>(length));
}

CertificationRequest parseCertificationRequest(const Bytes& der) {
    const unsigned char* cursor = der.data();
    X509ReqPtr request(d2i_X509_REQ(nullptr, &cursor, static_cast<long>(der.size())));
    if (!request) {
        fail("not a DER certification request");
    }
    if (cursor != der.data() + der.size()) {
        throw std::runtime_error("bytes after the certification request");
    }
    CertificationRequest result;
    const X509_NAME* subject = X509_REQ_get_subject_name(request.get());
    unsigned char* encoded = nullptr;
    int length = i2d_X509_NAME(subject, &encoded);
    if (length < 0) {
        fail("i2d_X509_NAME");
    }
    result.subjectDer.assign(encoded, encoded + length);
    OPENSSL_free(encoded);
    result.subject = nameText(subject);
    result.publicKey.reset(X509_REQ_get_pubkey(request.get()));
    if (!result.publicKey) {
        fail("request without a usable public key");
    }
    result.signatureValid = X509_REQ_verify(request.get(), result.publicKey.get()) == 1;
    const X509_ALGOR* algorithm = nullptr;
    X509_REQ_get0_signature(request.get(), nullptr, &algorithm);
    const ASN1_OBJECT* oid = nullptr;
    X509_ALGOR_get0(&oid, nullptr, nullptr, algorithm);
    result.signatureAlgorithm = OBJ_nid2ln(OBJ_obj2nid(oid));
    ERR_clear_error();
    return result;
}

Bytes makeCertificationRequest(EVP_PKEY* key, const std::string& subject) {
    X509ReqPtr request(X509_REQ_new());
    X509NamePtr name = parseName(subject);
    if (!request || !X509_REQ_set_version(request.get(), 0) ||
        !X509_REQ_set_subject_name(request.get(), name.get()) ||
        !X509_REQ_set_pubkey(request.get(), key) ||
        X509_REQ_sign(request.get(), key, EVP_sha256()) <= 0) {
        fail("cannot make the request");
    }
    unsigned char* encoded = nullptr;
    int length = i2d_X509_REQ(request.get(), &encoded);
    if (length < 0) {
        fail("i2d_X509_REQ");
    }
    Bytes der(encoded, encoded + length);
    OPENSSL_free(encoded);
    return der;
}

TestCa::TestCa(const std::string& commonName) : caKey(generateRsaKey(2048)) {
    X509NamePtr name = parseName("/O=Vantrel Tests/CN=" + commonName);
    CertificateOptions options;
    options.notBefore = "20000101000000Z";
    options.notAfter = "20991231235959Z";
    caCertificate = makeCertificate(caKey.get(), nullptr, caKey.get(), name.get(), options, true);
}

Bytes TestCa::issue(const Bytes& requestDer, const CertificateOptions& options) const {
    CertificationRequest request = parseCertificationRequest(requestDer);
    if (!request.signatureValid) {
        throw std::runtime_error("the request's signature does not verify");
    }
    if (!options.subject.empty()) {
        return issueForKey(request.publicKey.get(), options);
    }
    X509Ptr ca = parseCertificate(caCertificate);
    const unsigned char* cursor = request.subjectDer.data();
    X509NamePtr subject(
        d2i_X509_NAME(nullptr, &cursor, static_cast<long>(request.subjectDer.size())));
    return makeCertificate(request.publicKey.get(), subject.get(), caKey.get(),
                           X509_get_subject_name(ca.get()), options, false);
}

Bytes TestCa::issueForKey(EVP_PKEY* subjectKey, const CertificateOptions& options) const {
    if (options.subject.empty()) {
        throw std::runtime_error("issueForKey needs a subject");
    }
    X509Ptr ca = parseCertificate(caCertificate);
    X509NamePtr subject = parseName(options.subject);
    return makeCertificate(subjectKey, subject.get(), caKey.get(), X509_get_subject_name(ca.get()),
                           options, false);
}
