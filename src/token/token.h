// The token binding: free functions over the process-wide PKCS#11 module.
// Failures are raised as TokenException, which keeps a refusing module's
// PKCS#11 code (or HandlerException for a module that is not ready).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/secret_string.h"
#include "der/byte_buffer.h"
#include "token/certificate_info.h"
#include "token/orphan_key.h"
#include "token/pkcs11.h"
#include "token/rsa_public_key.h"
#include "token/token_info.h"
#include "token/token_mechanisms.h"

class ParsedCertificate;

// ---- Module loading -------------------------------------------------------

// Loads and initialises the module (the platform default when the name is
// empty). Logs and returns false on failure, and a module that was found but
// cannot be used is released again; never raises.
bool loadTokenLibrary(const std::string& libraryName = "");
void unloadTokenLibrary();
// True while a usable module is loaded.
bool isTokenLibraryLoaded();
// The module's file name without its directory, or "None" when none is loaded.
std::string tokenLibraryDriverName();
// Raises HandlerException kModuleNotLoaded unless the module is
// loaded and its function list was obtained.
void requireTokenLibrary();

// ---- Slots, sessions, login -------------------------------------------------

// A fixed-width, blank-padded token field without its trailing white space.
std::string trimPadded(const CK_UTF8CHAR* field, size_t width);

std::vector<CK_SLOT_ID> getTokenSlots();
// The slot of the token with that serial number, and whether the token takes
// its PINs on its reader's keypad (CKF_PROTECTED_AUTHENTICATION_PATH).
struct FoundToken {
    CK_SLOT_ID slot = 0;
    bool pinPad = false;
};
FoundToken findToken(const std::string& serial);
CK_SLOT_ID findTokenSlot(const std::string& serial);
std::unique_ptr<TokenInfo> getTokenInfo(CK_SLOT_ID slot);
CK_SESSION_HANDLE openSession(CK_SLOT_ID slot, bool readWrite);
void closeSession(CK_SESSION_HANDLE session);
// How a PIN reaches a token: a token without a keypad gets it as it is; a
// token whose reader has a keypad (`pinPad`) takes an empty PIN on the keypad
// (the module gets no PIN at all) when `KeypadEntry::EmptyPin` says so, and
// on such a token a cancel on the reader (CKR_FUNCTION_CANCELED) is reported
// as such.
enum class KeypadEntry { Never, EmptyPin };
struct PinPath {
    bool pinPad = false;
    KeypadEntry entry = KeypadEntry::Never;

    bool onKeypad(std::string_view pin) const {
        return pinPad && entry == KeypadEntry::EmptyPin && pin.empty();
    }
};
// An empty PIN on a token with a keypad is entered there.
inline PinPath keypadFor(bool pinPad) {
    return {pinPad, KeypadEntry::EmptyPin};
}

// PINs are passed as views, so that no copy of one is made on the way.
void loginUser(CK_SESSION_HANDLE session, std::string_view pin, PinPath path = {});
void loginSecurityOfficer(CK_SESSION_HANDLE session, std::string_view pin);
// The login of one key for one signature (CKU_CONTEXT_SPECIFIC), after
// C_SignInit; it fails with the messages of loginUser. A PIN entry the user
// cancels on a reader's keypad fails with kPinEntryCancelled.
void loginContextSpecific(CK_SESSION_HANDLE session, std::string_view pin, PinPath path = {});
void logout(CK_SESSION_HANDLE session);

// ---- Object queries ---------------------------------------------------------

std::vector<CK_OBJECT_HANDLE> findObjects(CK_SESSION_HANDLE session, CK_OBJECT_CLASS objectClass);
std::vector<CK_OBJECT_HANDLE> findCertificates(CK_SESSION_HANDLE session);
std::vector<CK_OBJECT_HANDLE> findPublicKeys(CK_SESSION_HANDLE session);
std::vector<CK_OBJECT_HANDLE> findPrivateKeys(CK_SESSION_HANDLE session);
CK_OBJECT_HANDLE findCertificate(CK_SESSION_HANDLE session, const std::string& serialHex);
CK_OBJECT_HANDLE findCertificateKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate,
                                    bool privateKey);
CK_OBJECT_HANDLE findCertificatePrivateKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate);
CK_OBJECT_HANDLE findCertificatePublicKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate);
// Attributes the module withholds give empty fields; null when it withholds
// the certificate's value itself.
std::unique_ptr<CertificateInfo> readCertificateInfo(CK_SESSION_HANDLE session,
                                                     CK_OBJECT_HANDLE certificate);
std::string readCertificateValue(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate);
bool isKeyExtractable(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key);
bool isOrphanKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key);
std::unique_ptr<OrphanKey> readOrphanKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key);
std::unique_ptr<RsaPublicKey> readRsaPublicKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key);
// The public key object the certificate certifies, or CK_INVALID_HANDLE: for an
// EC certificate the EC key with its curve and point, for any other the
// first RSA key whose modulus occurs in the certificate.
CK_OBJECT_HANDLE findPublicKeyForCertificate(CK_SESSION_HANDLE session,
                                             const ParsedCertificate& certificate);
std::unique_ptr<ByteBuffer> readKeyId(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key);
// DD/MM/YYYY.
std::string formatTokenDate(const CK_DATE& date);

// ---- Signing ----------------------------------------------------------------

// Signs the SHA-256 of the data with a private key: RSASSA-PKCS1-v1_5 for an
// RSA key, ECDSA (raw r||s) for an EC key, with the mechanism the token
// offers for it (hashed on the token when it can, else by the host). A key
// that needs its PIN for every signature (CKA_ALWAYS_AUTHENTICATE) signs
// only with `keyPin`; on a token with a keypad (`pinPad`) an empty `keyPin`
// is entered on the reader.
std::vector<uint8_t> signData(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key,
                              TokenMechanisms& mechanisms, const uint8_t* data, size_t length,
                              std::optional<std::string_view> keyPin = std::nullopt,
                              bool pinPad = false);
std::string signToBase64(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key,
                         TokenMechanisms& mechanisms, const std::string& text,
                         std::optional<std::string_view> keyPin = std::nullopt,
                         bool pinPad = false);

// ---- Write operations -------------------------------------------------------

// Eight bytes from the operating system's secure generator.
std::unique_ptr<ByteBuffer> generateKeyId();

// The key pairs enrolment makes.
enum class KeyAlgorithm { Rsa2048, EcP256, EcP384 };

struct KeyPairResult {
    CK_OBJECT_HANDLE publicKey = CK_INVALID_HANDLE;
    CK_OBJECT_HANDLE privateKey = CK_INVALID_HANDLE;
};
// A token key pair with a fresh shared CKA_ID, the private half sensitive
// and never extractable.
KeyPairResult generateKeyPair(CK_SESSION_HANDLE session,
                              KeyAlgorithm algorithm = KeyAlgorithm::Rsa2048);

// Stores the certificate under the CKA_ID of its public key object.
void importCertificate(CK_SESSION_HANDLE session, const ParsedCertificate& certificate,
                       CK_OBJECT_HANDLE publicKey);
// The CK_DATE of a certificate validity time (UTCTime or GeneralizedTime).
CK_DATE certificateTimeToDate(const class DERPrimitive& time);
// `length` capital letters from the operating system's secure generator.
SecretString randomPin(size_t length);
void initToken(CK_SLOT_ID slot, std::string_view securityOfficerPin);
void initUserPin(CK_SESSION_HANDLE session, std::string_view pin);
// On a token whose reader has a keypad (`pinPad`) a cancel there fails with
// kPinEntryCancelled.
void setUserPin(CK_SESSION_HANDLE session, std::string_view oldPin, std::string_view newPin,
                bool pinPad = false);
// C_SetPIN with no PINs at all: the reader's keypad asks for both.
void setUserPinOnKeypad(CK_SESSION_HANDLE session);
// Fails with `failure` and the token's code.
void destroyObject(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object, const char* failure);

// ---- Certification request --------------------------------------------------

// Base64 of the PKCS#10 request for a freshly generated pair, signed on the
// token with its private key: sha256WithRSAEncryption for a 2048-bit RSA
// pair, ecdsa-with-SHA256 for an EC pair on P-256 or P-384.
std::string buildCsr(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE publicKey,
                     CK_OBJECT_HANDLE privateKey, TokenMechanisms& mechanisms,
                     KeyAlgorithm algorithm = KeyAlgorithm::Rsa2048);
