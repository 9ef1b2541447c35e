// A small PKCS#11 client for setting tokens up and looking at them in tests,
// independent of the host's token binding. Failures throw Pkcs11Error.
//
// Each client works on a private copy of the module file, loaded once per
// process and path and never unloaded: a host under test that loads the same
// module in the same process gets its own instance (its own C_Initialize,
// sessions and login state), as if the client ran in another process. SoftHSM2
// instances that share a token folder see each other's objects. Clients of the
// same path share that copy: the first one calls C_Initialize and the last one
// C_Finalize.
#pragma once

#include <p11-kit/pkcs11.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/crypto.h"

class Pkcs11Error : public std::runtime_error {
  public:
    Pkcs11Error(const std::string& function, CK_RV rv);
    CK_RV rv() const { return code; }

  private:
    CK_RV code;
};

// An attribute template that owns its values. Adding a type that is already
// there replaces its value, so callers can override defaults.
class Attributes {
  public:
    Attributes& bytes(CK_ATTRIBUTE_TYPE type, const Bytes& value);
    Attributes& text(CK_ATTRIBUTE_TYPE type, const std::string& value);
    Attributes& flag(CK_ATTRIBUTE_TYPE type, bool value);  // one-byte CK_BBOOL
    Attributes& number(CK_ATTRIBUTE_TYPE type, CK_ULONG value);
    Attributes& merge(const Attributes& other);

    // Valid until the next change.
    CK_ATTRIBUTE* data();
    CK_ULONG size() const { return static_cast<CK_ULONG>(entries.size()); }

  private:
    std::vector<std::pair<CK_ATTRIBUTE_TYPE, Bytes>> entries;
    std::vector<CK_ATTRIBUTE> view;
};

struct KeyPair {
    CK_OBJECT_HANDLE publicKey = CK_INVALID_HANDLE;
    CK_OBJECT_HANDLE privateKey = CK_INVALID_HANDLE;
};

struct RsaKeyOptions {
    RsaKeyOptions() = default;
    explicit RsaKeyOptions(Bytes keyId, CK_ULONG modulusBits = 2048)
        : id(std::move(keyId)), bits(modulusBits) {}

    Bytes id;  // CKA_ID of both halves; empty: none
    CK_ULONG bits = 2048;
    // The private key's CKA_EXTRACTABLE. SoftHSM2 derives CKA_NEVER_EXTRACTABLE
    // (= !extractable) and refuses it in a template; to get a key that is
    // neither, generate it extractable and clear CKA_EXTRACTABLE afterwards
    // with setAttributes.
    bool extractable = false;
    bool sensitive = true;
    std::string label;  // CKA_LABEL of both halves, as given; empty: none
    Attributes extraPublic;
    Attributes extraPrivate;
};

enum class CertificateDates { Included, Left };

// The named curves tests make EC keys on.
enum class EcCurve { P256, P384 };
// CKA_EC_PARAMS of the curve: the DER of its object identifier.
Bytes ecCurveParams(EcCurve curve);

class Pkcs11Session {
  public:
    Pkcs11Session(CK_FUNCTION_LIST* functions, CK_SESSION_HANDLE handle);
    ~Pkcs11Session();
    Pkcs11Session(Pkcs11Session&& other) noexcept;
    Pkcs11Session& operator=(Pkcs11Session&&) = delete;
    Pkcs11Session(const Pkcs11Session&) = delete;
    Pkcs11Session& operator=(const Pkcs11Session&) = delete;

    CK_SESSION_HANDLE handle() const { return sessionHandle; }
    void close();

    void login(CK_USER_TYPE user, const std::string& pin);
    void logout();

    CK_OBJECT_HANDLE create(Attributes& attributes);
    // A token certificate object. CKA_SUBJECT, CKA_ISSUER, CKA_SERIAL_NUMBER
    // (the DER INTEGER) and CKA_START_DATE/CKA_END_DATE are taken from the
    // certificate (the dates can be left out: some tokens refuse them);
    // `overrides` replaces or adds attributes.
    CK_OBJECT_HANDLE createCertificate(const Bytes& der, const Bytes& id,
                                       const Attributes& overrides = Attributes(),
                                       CertificateDates dates = CertificateDates::Included);
    KeyPair generateRsaKeyPair(const RsaKeyOptions& options = RsaKeyOptions());
    // An EC token key pair (a public key object without CKA_MODULUS);
    // `extraPrivate` replaces or adds attributes of the private half.
    KeyPair generateEcKeyPair(const Bytes& id, EcCurve curve = EcCurve::P256,
                              const Attributes& extraPrivate = Attributes());
    void destroy(CK_OBJECT_HANDLE object);

    std::vector<CK_OBJECT_HANDLE> find(Attributes& match);
    std::vector<CK_OBJECT_HANDLE> find(CK_OBJECT_CLASS objectClass);
    std::vector<CK_OBJECT_HANDLE> find(CK_OBJECT_CLASS objectClass, const Bytes& id);
    size_t count(CK_OBJECT_CLASS objectClass) { return find(objectClass).size(); }

    Bytes getBytes(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type);
    bool getBool(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type);
    CK_ULONG getNumber(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type);
    // The code of reading one attribute, for checking what a module refuses.
    CK_RV tryGet(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type, Bytes& value);
    void setAttributes(CK_OBJECT_HANDLE object, Attributes& attributes);

    // The RSA public key object's modulus and exponent as a libcrypto key.
    EvpPkeyPtr publicKey(CK_OBJECT_HANDLE object);
    // The EC public key object's curve and point as a libcrypto key.
    EvpPkeyPtr ecPublicKey(CK_OBJECT_HANDLE object);
    // With `contextPin`, the key's own login (CKU_CONTEXT_SPECIFIC) follows
    // C_SignInit, as keys with CKA_ALWAYS_AUTHENTICATE need.
    Bytes sign(CK_OBJECT_HANDLE key, const Bytes& data,
               CK_MECHANISM_TYPE mechanism = CKM_SHA256_RSA_PKCS,
               const std::optional<std::string>& contextPin = std::nullopt);

  private:
    CK_FUNCTION_LIST* functions;
    CK_SESSION_HANDLE sessionHandle;
};

class Pkcs11Client {
  public:
    enum class Instance {
        Shared,  // the copy shared by every client of this path
        Fresh,   // a copy of its own, not shared with any other client
    };

    explicit Pkcs11Client(const std::string& modulePath = SOFTHSM2_MODULE,
                          Instance instance = Instance::Shared);
    ~Pkcs11Client();
    Pkcs11Client(const Pkcs11Client&) = delete;
    Pkcs11Client& operator=(const Pkcs11Client&) = delete;

    CK_FUNCTION_LIST* functions() const { return list; }
    // A symbol of the loaded copy (e.g. the fault module's counters), or null.
    void* symbol(const char* name) const;

    std::vector<CK_SLOT_ID> slots(bool tokenPresent = true) const;
    CK_TOKEN_INFO tokenInfo(CK_SLOT_ID slot) const;
    std::vector<CK_MECHANISM_TYPE> mechanisms(CK_SLOT_ID slot) const;
    // Sessions must be gone before their client.
    Pkcs11Session openSession(CK_SLOT_ID slot, bool readWrite = true) const;

    struct Image;

  private:
    Image* image;
    CK_FUNCTION_LIST* list;
};

// A fixed-width CK_TOKEN_INFO text with its trailing blanks removed.
std::string paddedText(const unsigned char* field, size_t width);
#define PADDED_TEXT(field) paddedText(field, sizeof(field))
