#include <cstring>

#include "common/native_host_exception.h"
#include "der/base64.h"
#include "token/token.h"

namespace {

// The request's SEQUENCE header: content length 685 for a 2048-bit key.
const uint8_t kHeader[] = {0x30, 0x82, 0x02, 0xAD};

// CertificationRequestInfo up to the modulus bytes: version 0, the fixed
// subject C=ZZ, ST=VKT, L=Tervin, O=JUX, OU=KW, CN=Pre-enrolled QARN User, and
// the SubjectPublicKeyInfo of an RSA key with a 256-byte modulus.
const uint8_t kInfoPrefix[] = {
    0x30, 0x82, 0x01, 0x95,  // CertificationRequestInfo
    0x02, 0x01, 0x00,        // version
    0x30, 0x68,              // subject
    0x31, 0x0B, 0x30, 0x09, 0x06, 0x03, 0x55, 0x04, 0x06, 0x13, 0x02, 'Z',  'Z',        // C
    0x31, 0x0C, 0x30, 0x0A, 0x06, 0x03, 0x55, 0x04, 0x08, 0x13, 0x03, 'V',  'K',  'T',  // ST
    0x31, 0x0F, 0x30, 0x0D, 0x06, 0x03, 0x55, 0x04, 0x07, 0x13, 0x06,                   // L
    'T',  'e',  'r',  'v',  'i',  'n',                                                  //
    0x31, 0x0C, 0x30, 0x0A, 0x06, 0x03, 0x55, 0x04, 0x0A, 0x13, 0x03, 'J',  'U',  'X',  // O
    0x31, 0x0B, 0x30, 0x09, 0x06, 0x03, 0x55, 0x04, 0x0B, 0x13, 0x02, 'K',  'W',        // OU
    0x31, 0x1F, 0x30, 0x1D, 0x06, 0x03, 0x55, 0x04, 0x03, 0x13, 0x16,                   // CN
    'P',  'r',  'e',  '-',  'e',  'n',  'r',  'o',  'l',  'l',  'e',  'd',  ' ',        //
    'Q',  'A',  'R',  'N',  ' ',  'U',  's',  'e',  'r',                                //
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

}  // namespace

std::string buildCsr(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE publicKey,
                     CK_OBJECT_HANDLE privateKey, TokenMechanisms& mechanisms) {
    std::unique_ptr<RsaPublicKey> key = readRsaPublicKey(session, publicKey);
    if (!key) {
        throw TokenException("Error extracting the RSA public key");
    }
    // Every length in the constant pieces is fixed for these sizes.
    if (key->modulus.getSize() != kModulusSize || key->exponent.getSize() != kExponentSize) {
        throw TokenException("Unsupported RSA key size for the CSR");
    }
    std::vector<uint8_t> info;
    info.reserve(sizeof(kInfoPrefix) + kModulusSize + kExponentSize + 4);
    append(info, kInfoPrefix);
    append(info, key->modulus);
    append(info, kExponentHeader);
    append(info, key->exponent);
    append(info, kEmptyAttributes);
    std::vector<uint8_t> signature =
        signData(session, privateKey, mechanisms, info.data(), info.size());
    if (signature.size() != kSignatureSize) {
        throw TokenException("Unsupported RSA key size for the CSR");
    }
    std::vector<uint8_t> request;
    request.reserve(sizeof(kHeader) + info.size() + sizeof(kTrailer) + signature.size());
    append(request, kHeader);
    request.insert(request.end(), info.begin(), info.end());
    append(request, kTrailer);
    request.insert(request.end(), signature.begin(), signature.end());
    return base64Encode(request.data(), request.size());
}
