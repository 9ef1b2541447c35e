#include <cstring>

#include "common/native_host_exception.h"
#include "der/base64.h"
#include "der/der_writer.h"
#include "der/ec_public_key_info.h"
#include "token/token.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

namespace {

// The request's SEQUENCE header: content length 685 for a 2048-bit key.
const uint8_t kHeader[] = {0x30, 0x82, 0x02, 0xAD};

// The CertificationRequestInfo's SEQUENCE header (content length 405 for a
// 2048-bit key) and version 0.
const uint8_t kRsaInfoStart[] = {0x30, 0x82, 0x01, 0x95, 0x02, 0x01, 0x00};
const uint8_t kVersion[] = {0x02, 0x01, 0x00};

// The fixed subject C=ZZ, ST=VKT, L=Tervin, O=JUX, OU=KW, CN=Pre-enrolled QARN User.
const uint8_t kSubject[] = {
    0x30, 0x68,                                                                       //
    0x31, 0x0B, 0x30, 0x09, 0x06, 0x03, 0x55, 0x04, 0x06, 0x13, 0x02, 'Z', 'Z',       // C
    0x31, 0x0C, 0x30, 0x0A, 0x06, 0x03, 0x55, 0x04, 0x08, 0x13, 0x03, 'V', 'K', 'T',  // ST
    0x31, 0x0F, 0x30, 0x0D, 0x06, 0x03, 0x55, 0x04, 0x07, 0x13, 0x06,                 // L
    'T',  'e',  'r',  'v',  'i',  'n',                                                //
    0x31, 0x0C, 0x30, 0x0A, 0x06, 0x03, 0x55, 0x04, 0x0A, 0x13, 0x03, 'J', 'U', 'X',  // O
    0x31, 0x0B, 0x30, 0x09, 0x06, 0x03, 0x55, 0x04, 0x0B, 0x13, 0x02, 'K', 'W',       // OU
    0x31, 0x1F, 0x30, 0x1D, 0x06, 0x03, 0x55, 0x04, 0x03, 0x13, 0x16,                 // CN
    'P',  'r',  'e',  '-',  'e',  'n',  'r',  'o',  'l',  'l',  'e',  'd', ' ',       //
    'Q',  'A',  'R',  'N',  ' ',  'U',  's',  'e',  'r',                              //
};

// The SubjectPublicKeyInfo of an RSA key with a 256-byte modulus, up to the
// modulus bytes.
const uint8_t kRsaKeyInfoStart[] = {
    0x30, 0x82, 0x01, 0x22,  // SubjectPublicKeyInfo
    0x30, 0x0D, 0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01, 0x05,
    0x00,                          // rsaEncryption
    0x03, 0x82, 0x01, 0x0F, 0x00,  // BIT STRING
    0x30, 0x82, 0x01, 0x0A,        // RSAPublicKey
    0x02, 0x82, 0x01, 0x01, 0x00,  // modulus INTEGER
};
const uint8_t kExponentHeader[] = {0x02, 0x03};
const uint8_t kEmptyAttributes[] = {0xA0, 0x00};
// sha256WithRSAEncryption and the signature BIT STRING header.
const uint8_t kTrailer[] = {0x30, 0x0D, 0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D,
                            0x01, 0x01, 0x0B, 0x05, 0x00, 0x03, 0x82, 0x01, 0x01, 0x00};

const size_t kModulusSize = 256;
const size_t kExponentSize = 3;
const size_t kSignatureSize = 256;

template <size_t N>
void append(std::vector<uint8_t>& out, const uint8_t (&bytes)[N]) {
    out.insert(out.end(), bytes, bytes + N);
}

void append(std::vector<uint8_t>& out, const ByteBuffer& bytes) {
    out.insert(out.end(), bytes.getData(), bytes.getData() + bytes.getSize());
}

void append(std::vector<uint8_t>& out, const std::vector<uint8_t>& bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

const uint8_t kSequence = 0x30;
const uint8_t kBitString = 0x03;
const uint8_t kOctetString = 0x04;
const uint8_t kUncompressedPoint = 0x04;

// A BIT STRING of whole octets.
std::vector<uint8_t> bitString(const std::vector<uint8_t>& octets) {
    std::vector<uint8_t> content{0x00};
    append(content, octets);
    return encodeElement(kBitString, content);
}

struct Curve {
    const std::vector<uint8_t>& parameters;
    size_t coordinateSize;
};

Curve curveOf(KeyAlgorithm algorithm) {
    return algorithm == KeyAlgorithm::EcP384 ? Curve{kCurveP384, 48} : Curve{kCurveP256, 32};
}

// The uncompressed point of the public key. PKCS#11 stores it as a DER OCTET
// STRING, some modules bare: the point's known size tells the two apart.
std::vector<uint8_t> readEcPoint(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE publicKey,
                                 const Curve& curve) {
    CK_ATTRIBUTE attributes[] = {{CKA_EC_POINT, nullptr, 0}};
    token_internal::AttributeRead read(session, publicKey, attributes, 1,
                                       kPublicKeyAttributesUnreadable,
                                       kPublicKeyAttributesUnreadable);
    std::vector<uint8_t> stored = read.bytes(0);
    const size_t pointSize = 1 + 2 * curve.coordinateSize;
    if (stored.size() == pointSize + 2 && stored[0] == kOctetString && stored[1] == pointSize) {
        stored.erase(stored.begin(), stored.begin() + 2);
    }
    if (stored.size() != pointSize || stored[0] != kUncompressedPoint) {
        throw TokenException(kCsrEcKeyUnsupported);
    }
    return stored;
}

// The token's raw r||s as the DER Ecdsa-Sig-Value (RFC 5480) a request carries.
std::vector<uint8_t> ecdsaSignatureValue(const std::vector<uint8_t>& raw, const Curve& curve) {
    if (raw.size() != 2 * curve.coordinateSize) {
        throw TokenException(kCsrEcSignatureUnsupported);
    }
    std::vector<uint8_t> integers = encodeUnsignedInteger(raw.data(), curve.coordinateSize);
    append(integers,
           encodeUnsignedInteger(raw.data() + curve.coordinateSize, curve.coordinateSize));
    return encodeElement(kSequence, integers);
}

std::string buildEcCsr(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE publicKey,
                       CK_OBJECT_HANDLE privateKey, TokenMechanisms& mechanisms,
                       const Curve& curve) {
    std::vector<uint8_t> algorithm = kIdEcPublicKey;
    append(algorithm, curve.parameters);
    std::vector<uint8_t> keyInfo = encodeElement(kSequence, algorithm);
    append(keyInfo, bitString(readEcPoint(session, publicKey, curve)));
    std::vector<uint8_t> infoContent;
    append(infoContent, kVersion);
    append(infoContent, kSubject);
    append(infoContent, encodeElement(kSequence, keyInfo));
    append(infoContent, kEmptyAttributes);
    std::vector<uint8_t> info = encodeElement(kSequence, infoContent);
    std::vector<uint8_t> raw = signData(session, privateKey, mechanisms, info.data(), info.size());
    std::vector<uint8_t> requestContent = info;
    append(requestContent, encodeElement(kSequence, kEcdsaWithSha256));
    append(requestContent, bitString(ecdsaSignatureValue(raw, curve)));
    std::vector<uint8_t> request = encodeElement(kSequence, requestContent);
    return base64Encode(request.data(), request.size());
}

std::string buildRsaCsr(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE publicKey,
                        CK_OBJECT_HANDLE privateKey, TokenMechanisms& mechanisms) {
    std::unique_ptr<RsaPublicKey> key = readRsaPublicKey(session, publicKey);
    if (!key) {
        throw TokenException(kRsaPublicKeyUnreadable);
    }
    // Every length in the constant pieces is fixed for these sizes.
    if (key->modulus.getSize() != kModulusSize || key->exponent.getSize() != kExponentSize) {
        throw TokenException(kCsrRsaSizeUnsupported);
    }
    std::vector<uint8_t> info;
    append(info, kRsaInfoStart);
    append(info, kSubject);
    append(info, kRsaKeyInfoStart);
    append(info, key->modulus);
    append(info, kExponentHeader);
    append(info, key->exponent);
    append(info, kEmptyAttributes);
    std::vector<uint8_t> signature =
        signData(session, privateKey, mechanisms, info.data(), info.size());
    if (signature.size() != kSignatureSize) {
        throw TokenException(kCsrRsaSizeUnsupported);
    }
    std::vector<uint8_t> request;
    request.reserve(sizeof(kHeader) + info.size() + sizeof(kTrailer) + signature.size());
    append(request, kHeader);
    request.insert(request.end(), info.begin(), info.end());
    append(request, kTrailer);
    request.insert(request.end(), signature.begin(), signature.end());
    return base64Encode(request.data(), request.size());
}

}  // namespace

std::string buildCsr(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE publicKey,
                     CK_OBJECT_HANDLE privateKey, TokenMechanisms& mechanisms,
                     KeyAlgorithm algorithm) {
    if (algorithm == KeyAlgorithm::Rsa2048) {
        return buildRsaCsr(session, publicKey, privateKey, mechanisms);
    }
    return buildEcCsr(session, publicKey, privateKey, mechanisms, curveOf(algorithm));
}
