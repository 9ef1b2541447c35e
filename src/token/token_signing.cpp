#include <algorithm>
#include <cstring>

#include "common/native_host_exception.h"
#include "der/base64.h"
#include "platform/platform.h"
#include "token/token.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

using token_internal::allocateOrRaise;
using token_internal::check;
using token_internal::functions;

namespace {

// The DER DigestInfo of a SHA-256 digest up to the digest's bytes (RFC 8017,
// section 9.2). CKM_RSA_PKCS over it gives the signature CKM_SHA256_RSA_PKCS
// gives over the data: RSASSA-PKCS1-v1_5 is deterministic.
const uint8_t kSha256DigestInfoPrefix[] = {0x30, 0x31, 0x30, 0x0d, 0x06, 0x09, 0x60,
                                           0x86, 0x48, 0x01, 0x65, 0x03, 0x04, 0x02,
                                           0x01, 0x05, 0x00, 0x04, 0x20};

// Large enough for any signature (RSA-8192 included), so that a C_Sign that
// only has to end the operation is not refused for want of room.
const size_t kScratchSignatureSize = 1024;

struct SigningKey {
    CK_KEY_TYPE type = 0;
    bool alwaysAuthenticate = false;
};

SigningKey readSigningKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_KEY_TYPE type = 0;
    CK_BBOOL alwaysAuthenticate = CK_FALSE;
    CK_ATTRIBUTE attributes[] = {
        {CKA_KEY_TYPE, &type, sizeof(type)},
        {CKA_ALWAYS_AUTHENTICATE, &alwaysAuthenticate, sizeof(alwaysAuthenticate)},
    };
    CK_RV rv = functions()->C_GetAttributeValue(session, key, attributes, 2);
    // Modules older than the flag do not know it: their keys need no PIN per
    // signature.
    bool onlyFlagMissing = (rv == CKR_ATTRIBUTE_TYPE_INVALID || rv == CKR_ATTRIBUTE_SENSITIVE) &&
                           attributes[0].ulValueLen != CK_UNAVAILABLE_INFORMATION &&
                           attributes[1].ulValueLen == CK_UNAVAILABLE_INFORMATION;
    if (!onlyFlagMissing) {
        check(rv, kPrivateKeyTypeUnreadable);
    }
    return {type, !onlyFlagMissing && alwaysAuthenticate != CK_FALSE};
}

// What the token is given to sign: the data itself, its SHA-256 (the host
// hashes), or the DigestInfo of its SHA-256.
enum class Input { Data, Digest, DigestInfo };

struct Method {
    CK_MECHANISM_TYPE mechanism;
    Input input;
};

Method methodFor(CK_KEY_TYPE keyType, TokenMechanisms& mechanisms) {
    if (keyType == CKK_RSA) {
        if (mechanisms.offers(CKM_SHA256_RSA_PKCS)) {
            return {CKM_SHA256_RSA_PKCS, Input::Data};
        }
        if (mechanisms.offers(CKM_RSA_PKCS)) {
            return {CKM_RSA_PKCS, Input::DigestInfo};
        }
        throw TokenException(kNoRsaSigning);
    }
    if (keyType == CKK_EC) {
        if (mechanisms.offers(CKM_ECDSA)) {
            return {CKM_ECDSA, Input::Digest};
        }
        if (mechanisms.offers(CKM_ECDSA_SHA256)) {
            return {CKM_ECDSA_SHA256, Input::Data};
        }
        throw TokenException(kNoEcdsaSigning);
    }
    throw TokenException(kKeyTypeNotSigning);
}

std::vector<uint8_t> hashedInput(const uint8_t* data, size_t length, Input input) {
    std::vector<uint8_t> prepared;
    if (input == Input::DigestInfo) {
        prepared.assign(std::begin(kSha256DigestInfoPrefix), std::end(kSha256DigestInfoPrefix));
    }
    size_t prefix = prepared.size();
    prepared.resize(prefix + platform::kSha256Size);
    if (!platform::sha256(data, length, prepared.data() + prefix)) {
        throw TokenException(kDigestFailed);
    }
    return prepared;
}

// A C_Sign with an output buffer ends the active signing operation, whatever
// it answers; the session is then free for the next search or signature.
void endSigning(CK_SESSION_HANDLE session, CK_BYTE_PTR input, CK_ULONG length) {
    std::vector<uint8_t> scratch(kScratchSignatureSize);
    CK_ULONG scratchLength = scratch.size();
    functions()->C_Sign(session, input, length, scratch.data(), &scratchLength);
}

// The key's own login, between C_SignInit and C_Sign.
void loginForSignature(CK_SESSION_HANDLE session, std::string_view pin, bool pinPad,
                       CK_BYTE_PTR input, CK_ULONG length) {
    try {
        loginContextSpecific(session, pin, keypadFor(pinPad));
    } catch (const TokenException&) {
        endSigning(session, input, length);
        throw;
    }
}

std::vector<uint8_t> sign(CK_SESSION_HANDLE session, CK_BYTE_PTR input, CK_ULONG length) {
    CK_ULONG signatureLength = 0;
    check(functions()->C_Sign(session, input, length, nullptr, &signatureLength),
          kSignatureLengthUnknown);
    if (signatureLength == 0) {
        // The module accepted a mechanism it cannot perform with this key.
        endSigning(session, input, length);
        throw TokenException(kSignatureFailed);
    }
    std::vector<uint8_t> signature;
    allocateOrRaise([&] { signature.resize(signatureLength); }, kSignatureMemory);
    check(functions()->C_Sign(session, input, length, signature.data(), &signatureLength),
          kSignatureFailed);
    signature.resize(std::min<size_t>(signatureLength, signature.size()));
    return signature;
}

}  // namespace

std::vector<uint8_t> signData(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key,
                              TokenMechanisms& mechanisms, const uint8_t* data, size_t length,
                              std::optional<std::string_view> keyPin, bool pinPad) {
    SigningKey signingKey = readSigningKey(session, key);
    // An empty PIN is one for the reader's keypad to ask for, where there is one.
    if (signingKey.alwaysAuthenticate && (!keyPin || (keyPin->empty() && !pinPad))) {
        throw TokenException(kKeyNeedsPin);
    }
    Method method = methodFor(signingKey.type, mechanisms);
    std::vector<uint8_t> hashed;
    auto input = const_cast<CK_BYTE_PTR>(data);
    CK_ULONG inputLength = length;
    if (method.input != Input::Data) {
        hashed = hashedInput(data, length, method.input);
        input = hashed.data();
        inputLength = hashed.size();
    }
    CK_MECHANISM mechanism = {method.mechanism, nullptr, 0};
    check(functions()->C_SignInit(session, &mechanism, key), kSigningNotStarted);
    if (signingKey.alwaysAuthenticate) {
        loginForSignature(session, *keyPin, pinPad, input, inputLength);
    }
    return sign(session, input, inputLength);
}

std::string signToBase64(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key,
                         TokenMechanisms& mechanisms, const std::string& text,
                         std::optional<std::string_view> keyPin, bool pinPad) {
    std::vector<uint8_t> signature =
        signData(session, key, mechanisms, reinterpret_cast<const uint8_t*>(text.data()),
                 text.size(), keyPin, pinPad);
    return base64Encode(signature.data(), signature.size());
}
