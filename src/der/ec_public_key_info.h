// The EC key of a certificate's SubjectPublicKeyInfo (RFC 5480), and the
// identifiers of the named curves and of the signature enrolment uses.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "der/der_field.h"

// DER encodings of the OBJECT IDENTIFIERs, tag and length included.
extern const std::vector<uint8_t> kIdEcPublicKey;    // 1.2.840.10045.2.1
extern const std::vector<uint8_t> kCurveP256;        // 1.2.840.10045.3.1.7
extern const std::vector<uint8_t> kCurveP384;        // 1.3.132.0.34
extern const std::vector<uint8_t> kEcdsaWithSha256;  // 1.2.840.10045.4.3.2

struct EcPublicKeyInfo {
    // The curve's OBJECT IDENTIFIER as DER, the form CKA_EC_PARAMS holds.
    std::vector<uint8_t> curve;
    // The subjectPublicKey's bits: the encoded point, without a wrapper.
    std::vector<uint8_t> point;
};

// The curve and point when the key is id-ecPublicKey with a named curve;
// nothing for any other key (RSA among them) or a malformed one.
std::optional<EcPublicKeyInfo> ecPublicKeyInfo(const DERComposite& subjectPublicKeyInfo);

// Whether the key is id-ecPublicKey, whatever its parameters.
bool isEcPublicKeyInfo(const DERComposite& subjectPublicKeyInfo);
