// libcrypto checks of what tokens produce (signatures, certification
// requests) and a small certificate authority for the certificates tests
// import. Failures to parse throw std::runtime_error; checks return false.
#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

Bytes toBytes(const std::string& text);

struct EvpPkeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct X509Free {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using EvpPkeyPtr = std::unique_ptr<EVP_PKEY, EvpPkeyFree>;
using X509Ptr = std::unique_ptr<X509, X509Free>;

EvpPkeyPtr generateRsaKey(int bits = 2048);
// An RSA public key from big-endian modulus and exponent bytes.
EvpPkeyPtr rsaPublicKey(const Bytes& modulus, const Bytes& exponent);
bool samePublicKey(EVP_PKEY* a, EVP_PKEY* b);

// RSASSA-PKCS1-v1_5 with SHA-256 over `data` (CKM_SHA256_RSA_PKCS).
bool verifyRsaSha256(EVP_PKEY* key, const Bytes& data, const Bytes& signature);
bool verifyRsaSha256(const Bytes& certificateDer, const Bytes& data, const Bytes& signature);

// An EC public key from a token's CKA_EC_PARAMS (the DER OID of a named
// curve) and CKA_EC_POINT (the uncompressed point in a DER OCTET STRING).
EvpPkeyPtr ecPublicKey(const Bytes& ecParams, const Bytes& ecPoint);
// ECDSA over the SHA-256 of `data`; the signature is raw r||s, each half as
// long as the curve's order (what CKM_ECDSA returns and Web Crypto verifies).
bool verifyEcdsaSha256(EVP_PKEY* key, const Bytes& data, const Bytes& rawSignature);

// A PKCS#12 file (the form NSS's pk12util imports) with the private key and
// its certificate under `friendlyName`, protected by `password`.
Bytes makePkcs12(EVP_PKEY* key, const Bytes& certificateDer, const std::string& friendlyName,
                 const std::string& password);

// The DER INTEGER of a serial number, as CKA_SERIAL_NUMBER holds it.
Bytes encodeSerial(const ASN1_INTEGER* serial);

// Parses DER; the whole input must be the one certificate.
X509Ptr parseCertificate(const Bytes& der);
EvpPkeyPtr certificatePublicKey(const Bytes& der);

// A name as "C=ZZ, ST=VKT, CN=Some One", attributes in their encoded order.
std::string nameText(const X509_NAME* name);

struct CertificationRequest {
    Bytes subjectDer;
    std::string subject;  // nameText of the subject
    EvpPkeyPtr publicKey;
    bool signatureValid = false;
    std::string signatureAlgorithm;  // e.g. "sha256WithRSAEncryption"
};
// Parses a DER PKCS#10 request; the whole input must be the request.
CertificationRequest parseCertificationRequest(const Bytes& der);
// A request signed with SHA-256 by `key`, subject written "/C=ZZ/CN=Name".
Bytes makeCertificationRequest(EVP_PKEY* key, const std::string& subject);

struct CertificateOptions {
    // Contents octets of the serial number INTEGER, big-endian.
    Bytes serial = {0x01};
    // 13 characters (YYMMDDHHMMSSZ) make a UTCTime, 15 (YYYYMMDDHHMMSSZ) a
    // GeneralizedTime, taken as written.
    std::string notBefore = "250101000000Z";
    std::string notAfter = "350101000000Z";
    // "/C=ZZ/O=Org/CN=Name"; empty takes the request's subject.
    std::string subject;
    // OpenSSL configuration syntax, e.g. "email:a@example.com,DNS:example.com";
    // empty: no extension.
    std::string subjectAltName;
};

// A self-signed RSA certificate authority that signs with SHA-256.
class TestCa {
  public:
    explicit TestCa(const std::string& commonName = "Vantrel Test CA");

    const Bytes& certificate() const { return caCertificate; }
    EVP_PKEY* key() const { return caKey.get(); }

    // A certificate for the request's key (the request's signature must verify).
    Bytes issue(const Bytes& requestDer, const CertificateOptions& options = {}) const;
    // A certificate for any public key, e.g. one read from a token;
    // options.subject must be given.
    Bytes issueForKey(EVP_PKEY* subjectKey, const CertificateOptions& options) const;

  private:
    EvpPkeyPtr caKey;
    Bytes caCertificate;
};
