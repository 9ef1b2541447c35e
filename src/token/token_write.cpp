#include <algorithm>
#include <cstring>
#include <vector>

#include "common/native_host_exception.h"
#include "der/der_errors.h"
#include "der/der_field.h"
#include "der/der_writer.h"
#include "der/ec_public_key_info.h"
#include "der/parsed_certificate.h"
#include "platform/platform.h"
#include "token/token.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

using token_internal::check;
using token_internal::functions;

namespace {

const CK_ULONG kModulusBits = 2048;
const CK_BYTE kPublicExponent[] = {0x01, 0x00, 0x01};
// Labels are written with their terminating NUL.
const char kPublicKeyLabel[] = "QARN PK";
const char kPrivateKeyLabel[] = "QARN SK";
const char kTokenLabel[] = "QARN Token";
const size_t kKeyIdLength = 8;

CK_UTF8CHAR_PTR utf8(std::string_view text) {
    return reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(text.data()));
}

template <typename T>
CK_ATTRIBUTE attribute(CK_ATTRIBUTE_TYPE type, T& value) {
    return {type, &value, sizeof(value)};
}

CK_ATTRIBUTE bytesAttribute(CK_ATTRIBUTE_TYPE type, const void* data, size_t length) {
    // CK_ULONG is 32 bits on Windows, also in 64-bit builds; no value the host
    // stores comes near that.
    return {type, const_cast<void*>(data), static_cast<CK_ULONG>(length)};
}

bool allDigits(const ByteBuffer& text, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (text[static_cast<long>(i)] < '0' || text[static_cast<long>(i)] > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

std::unique_ptr<ByteBuffer> generateKeyId() {
    auto id = std::make_unique<ByteBuffer>(kKeyIdLength);
    if (!platform::secureRandom(id->getData(), id->getSize())) {
        throw TokenException(kKeyIdNotGenerated);
    }
    return id;
}

SecretString randomPin(size_t length) {
    SecretString pin;
    while (pin.size() < length) {
        uint8_t value = 0;
        if (!platform::secureRandom(&value, 1)) {
            throw TokenException(kRandomPinNotGenerated);
        }
        // 234 is the largest multiple of 26 below 256: drawing again above it
        // keeps every letter equally likely.
        if (value < 234) {
            pin.push_back(static_cast<char>('A' + value % 26));
        }
    }
    return pin;
}

KeyPairResult generateKeyPair(CK_SESSION_HANDLE session, KeyAlgorithm algorithm) {
    std::unique_ptr<ByteBuffer> id = generateKeyId();
    bool rsa = algorithm == KeyAlgorithm::Rsa2048;
    const std::vector<uint8_t>& curve = algorithm == KeyAlgorithm::EcP384 ? kCurveP384 : kCurveP256;
    CK_OBJECT_CLASS publicClass = CKO_PUBLIC_KEY;
    CK_OBJECT_CLASS privateClass = CKO_PRIVATE_KEY;
    CK_KEY_TYPE keyType = rsa ? CKK_RSA : CKK_EC;
    CK_BBOOL yes = CK_TRUE;
    CK_BBOOL no = CK_FALSE;
    CK_ULONG modulusBits = kModulusBits;
    std::vector<CK_ATTRIBUTE> publicTemplate = {
        attribute(CKA_CLASS, publicClass),
        bytesAttribute(CKA_LABEL, kPublicKeyLabel, sizeof(kPublicKeyLabel)),
        bytesAttribute(CKA_ID, id->getData(), id->getSize()),
        attribute(CKA_KEY_TYPE, keyType),
        attribute(CKA_TOKEN, yes),
        attribute(CKA_PRIVATE, no),
    };
    if (rsa) {
        publicTemplate.push_back(attribute(CKA_MODULUS_BITS, modulusBits));
        publicTemplate.push_back(
            bytesAttribute(CKA_PUBLIC_EXPONENT, kPublicExponent, sizeof(kPublicExponent)));
    } else {
        publicTemplate.push_back(bytesAttribute(CKA_EC_PARAMS, curve.data(), curve.size()));
    }
    CK_ATTRIBUTE privateTemplate[] = {
        attribute(CKA_CLASS, privateClass),
        bytesAttribute(CKA_LABEL, kPrivateKeyLabel, sizeof(kPrivateKeyLabel)),
        bytesAttribute(CKA_ID, id->getData(), id->getSize()),
        attribute(CKA_KEY_TYPE, keyType),
        attribute(CKA_TOKEN, yes),
        attribute(CKA_PRIVATE, yes),
        attribute(CKA_EXTRACTABLE, no),
        // Tokens whose default is false would reveal the private key.
        attribute(CKA_SENSITIVE, yes),
    };
    CK_MECHANISM mechanism = {rsa ? CKM_RSA_PKCS_KEY_PAIR_GEN : CKM_EC_KEY_PAIR_GEN, nullptr, 0};
    KeyPairResult result;
    check(functions()->C_GenerateKeyPair(session, &mechanism, publicTemplate.data(),
                                         static_cast<CK_ULONG>(publicTemplate.size()),
                                         privateTemplate, 8, &result.publicKey, &result.privateKey),
          kKeyPairNotGenerated);
    return result;
}

CK_DATE certificateTimeToDate(const DERPrimitive& time) {
    const ByteBuffer& text = time.getValue();
    bool utcTime = time.getTag() == 0x17;
    bool generalizedTime = time.getTag() == 0x18;
    size_t yearDigits = utcTime ? 2 : 4;
    size_t needed = yearDigits + 4;
    if ((!utcTime && !generalizedTime) || text.getSize() < needed || !allDigits(text, needed)) {
        throw CertificateException(kCertificateUnparsable);
    }
    CK_DATE date;
    const char* characters = reinterpret_cast<const char*>(text.getData());
    if (utcTime) {
        // Two-digit years from 50 on are in the twentieth century.
        const char* century = characters[0] >= '5' ? "19" : "20";
        std::memcpy(date.year, century, 2);
        std::memcpy(date.year + 2, characters, 2);
    } else {
        std::memcpy(date.year, characters, 4);
    }
    std::memcpy(date.month, characters + yearDigits, 2);
    std::memcpy(date.day, characters + yearDigits + 2, 2);
    return date;
}

void importCertificate(CK_SESSION_HANDLE session, const ParsedCertificate& certificate,
                       CK_OBJECT_HANDLE publicKey) {
    std::unique_ptr<ByteBuffer> id = readKeyId(session, publicKey);
    std::unique_ptr<ByteBuffer> subject = encodeDer(*certificate.getSubject());
    std::unique_ptr<ByteBuffer> issuer = encodeDer(*certificate.getIssuer());
    std::unique_ptr<ByteBuffer> serialNumber = encodeDer(*certificate.getSerialNumber());
    CK_DATE notBefore = certificateTimeToDate(*certificate.getNotBefore());
    CK_DATE notAfter = certificateTimeToDate(*certificate.getNotAfter());
    CK_OBJECT_CLASS objectClass = CKO_CERTIFICATE;
    CK_CERTIFICATE_TYPE certificateType = CKC_X_509;
    CK_BBOOL yes = CK_TRUE;
    const ByteBuffer* der = certificate.getDer();
    CK_ATTRIBUTE attributes[] = {
        attribute(CKA_CLASS, objectClass),
        attribute(CKA_CERTIFICATE_TYPE, certificateType),
        attribute(CKA_TOKEN, yes),
        attribute(CKA_START_DATE, notBefore),
        attribute(CKA_END_DATE, notAfter),
        bytesAttribute(CKA_SUBJECT, subject->getData(), subject->getSize()),
        bytesAttribute(CKA_ISSUER, issuer->getData(), issuer->getSize()),
        bytesAttribute(CKA_SERIAL_NUMBER, serialNumber->getData(), serialNumber->getSize()),
        bytesAttribute(CKA_ID, id->getData(), id->getSize()),
        bytesAttribute(CKA_VALUE, der->getData(), der->getSize()),
    };
    CK_OBJECT_HANDLE created = CK_INVALID_HANDLE;
    CK_RV rv = functions()->C_CreateObject(session, attributes, 10, &created);
    if (rv == CKR_TEMPLATE_INCONSISTENT || rv == CKR_ATTRIBUTE_TYPE_INVALID) {
        // Some tokens refuse validity dates on certificate objects; the
        // certificate itself still carries them.
        CK_ATTRIBUTE withoutDates[8];
        std::remove_copy_if(std::begin(attributes), std::end(attributes), withoutDates,
                            [](const CK_ATTRIBUTE& entry) {
                                return entry.type == CKA_START_DATE || entry.type == CKA_END_DATE;
                            });
        rv = functions()->C_CreateObject(session, withoutDates, 8, &created);
    }
    check(rv, kCertificateNotImported);
}

void initToken(CK_SLOT_ID slot, std::string_view securityOfficerPin) {
    CK_UTF8CHAR label[32];
    std::memset(label, ' ', sizeof(label));
    std::memcpy(label, kTokenLabel, std::strlen(kTokenLabel));
    check(
        functions()->C_InitToken(slot, utf8(securityOfficerPin), securityOfficerPin.size(), label),
        kTokenNotFormatted);
}

void initUserPin(CK_SESSION_HANDLE session, std::string_view pin) {
    check(functions()->C_InitPIN(session, utf8(pin), pin.size()), kPinNotSet);
}

void setUserPin(CK_SESSION_HANDLE session, std::string_view oldPin, std::string_view newPin,
                bool pinPad) {
    check(functions()->C_SetPIN(session, utf8(oldPin), oldPin.size(), utf8(newPin), newPin.size()),
          kPinNotSet, {token_internal::cancelOnKeypad(pinPad)});
}

void setUserPinOnKeypad(CK_SESSION_HANDLE session) {
    check(functions()->C_SetPIN(session, nullptr, 0, nullptr, 0), kPinNotSet,
          {token_internal::cancelOnKeypad(true)});
}

void destroyObject(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object, const char* failure) {
    check(functions()->C_DestroyObject(session, object), failure);
}
