#include "support/pkcs11_client.h"

#include <dlfcn.h>
#include <openssl/asn1.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>

#include "support/temp_dir.h"

namespace {

std::string hexCode(CK_RV rv) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%lX", rv);
    return text;
}

void check(const char* function, CK_RV rv) {
    if (rv != CKR_OK) {
        throw Pkcs11Error(function, rv);
    }
}

// The two-call list read: the count, then the items.
template <typename T, typename Call>
std::vector<T> listOf(const char* function, Call call) {
    CK_ULONG count = 0;
    check(function, call(nullptr, &count));
    std::vector<T> items(count);
    check(function, call(items.data(), &count));
    items.resize(count);
    return items;
}

template <typename T>
Bytes bytesOf(const T& value) {
    const unsigned char* start = reinterpret_cast<const unsigned char*>(&value);
    return Bytes(start, start + sizeof value);
}

Bytes encodeName(const X509_NAME* name) {
    unsigned char* encoded = nullptr;
    int length = i2d_X509_NAME(name, &encoded);
    if (length < 0) {
        throw std::runtime_error("i2d_X509_NAME");
    }
    Bytes der(encoded, encoded + length);
    OPENSSL_free(encoded);
    return der;
}

// CK_DATE: "YYYY", "MM", "DD" as characters.
Bytes tokenDate(const ASN1_TIME* time) {
    struct tm parts = {};
    if (ASN1_TIME_to_tm(time, &parts) != 1) {
        throw std::runtime_error("bad certificate time");
    }
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", (parts.tm_year + 1900) % 10000,
                  (parts.tm_mon + 1) % 100, parts.tm_mday % 100);
    return Bytes(text, text + 8);
}

}  // namespace

Pkcs11Error::Pkcs11Error(const std::string& function, CK_RV rv)
    : std::runtime_error(function + " failed (rc=" + hexCode(rv) + ")"), code(rv) {}

// ---- Attributes ------------------------------------------------------------

Attributes& Attributes::bytes(CK_ATTRIBUTE_TYPE type, const Bytes& value) {
    for (auto& entry : entries) {
        if (entry.first == type) {
            entry.second = value;
            return *this;
        }
    }
    entries.emplace_back(type, value);
    return *this;
}

Attributes& Attributes::text(CK_ATTRIBUTE_TYPE type, const std::string& value) {
    return bytes(type, toBytes(value));
}

Attributes& Attributes::flag(CK_ATTRIBUTE_TYPE type, bool value) {
    return bytes(type, Bytes{static_cast<unsigned char>(value ? CK_TRUE : CK_FALSE)});
}

Attributes& Attributes::number(CK_ATTRIBUTE_TYPE type, CK_ULONG value) {
    return bytes(type, bytesOf(value));
}

Attributes& Attributes::merge(const Attributes& other) {
    for (const auto& entry : other.entries) {
        bytes(entry.first, entry.second);
    }
    return *this;
}

CK_ATTRIBUTE* Attributes::data() {
    view.clear();
    for (auto& entry : entries) {
        view.push_back({entry.first, entry.second.empty() ? nullptr : entry.second.data(),
                        static_cast<CK_ULONG>(entry.second.size())});
    }
    return view.data();
}

// ---- Session ---------------------------------------------------------------

Pkcs11Session::Pkcs11Session(CK_FUNCTION_LIST* functionList, CK_SESSION_HANDLE handle)
    : functions(functionList), sessionHandle(handle) {}

Pkcs11Session::Pkcs11Session(Pkcs11Session&& other) noexcept
    : functions(other.functions), sessionHandle(other.sessionHandle) {
    other.sessionHandle = CK_INVALID_HANDLE;
}

Pkcs11Session::~Pkcs11Session() {
    if (sessionHandle != CK_INVALID_HANDLE) {
        functions->C_CloseSession(sessionHandle);
    }
}

void Pkcs11Session::close() {
    CK_SESSION_HANDLE handle = sessionHandle;
    sessionHandle = CK_INVALID_HANDLE;
    check("C_CloseSession", functions->C_CloseSession(handle));
}

void Pkcs11Session::login(CK_USER_TYPE user, const std::string& pin) {
    Bytes bytes = toBytes(pin);
    check("C_Login", functions->C_Login(sessionHandle, user, bytes.data(), bytes.size()));
}

void Pkcs11Session::logout() {
    check("C_Logout", functions->C_Logout(sessionHandle));
}

CK_OBJECT_HANDLE Pkcs11Session::create(Attributes& attributes) {
    CK_OBJECT_HANDLE object = CK_INVALID_HANDLE;
    check("C_CreateObject",
          functions->C_CreateObject(sessionHandle, attributes.data(), attributes.size(), &object));
    return object;
}

CK_OBJECT_HANDLE Pkcs11Session::createCertificate(const Bytes& der, const Bytes& id,
                                                  const Attributes& overrides,
                                                  CertificateDates dates) {
    X509Ptr certificate = parseCertificate(der);
    Attributes attributes;
    attributes.number(CKA_CLASS, CKO_CERTIFICATE)
        .number(CKA_CERTIFICATE_TYPE, CKC_X_509)
        .flag(CKA_TOKEN, true);
    if (dates == CertificateDates::Included) {
        attributes.bytes(CKA_START_DATE, tokenDate(X509_get0_notBefore(certificate.get())))
            .bytes(CKA_END_DATE, tokenDate(X509_get0_notAfter(certificate.get())));
    }
    attributes.bytes(CKA_SUBJECT, encodeName(X509_get_subject_name(certificate.get())))
        .bytes(CKA_ISSUER, encodeName(X509_get_issuer_name(certificate.get())))
        .bytes(CKA_SERIAL_NUMBER, encodeSerial(X509_get0_serialNumber(certificate.get())))
        .bytes(CKA_VALUE, der);
    if (!id.empty()) {
        attributes.bytes(CKA_ID, id);
    }
    attributes.merge(overrides);
    return create(attributes);
}

KeyPair Pkcs11Session::generateRsaKeyPair(const RsaKeyOptions& options) {
    Attributes publicKey;
    publicKey.number(CKA_CLASS, CKO_PUBLIC_KEY)
        .number(CKA_KEY_TYPE, CKK_RSA)
        .flag(CKA_TOKEN, true)
        .flag(CKA_PRIVATE, false)
        .flag(CKA_VERIFY, true)
        .number(CKA_MODULUS_BITS, options.bits)
        .bytes(CKA_PUBLIC_EXPONENT, {0x01, 0x00, 0x01});
    Attributes privateKey;
    privateKey.number(CKA_CLASS, CKO_PRIVATE_KEY)
        .number(CKA_KEY_TYPE, CKK_RSA)
        .flag(CKA_TOKEN, true)
        .flag(CKA_PRIVATE, true)
        .flag(CKA_SIGN, true)
        .flag(CKA_EXTRACTABLE, options.extractable)
        .flag(CKA_SENSITIVE, options.sensitive);
    for (Attributes* half : {&publicKey, &privateKey}) {
        if (!options.id.empty()) {
            half->bytes(CKA_ID, options.id);
        }
        if (!options.label.empty()) {
            half->text(CKA_LABEL, options.label);
        }
    }
    publicKey.merge(options.extraPublic);
    privateKey.merge(options.extraPrivate);
    CK_MECHANISM mechanism = {CKM_RSA_PKCS_KEY_PAIR_GEN, nullptr, 0};
    KeyPair pair;
    check("C_GenerateKeyPair",
          functions->C_GenerateKeyPair(sessionHandle, &mechanism, publicKey.data(),
                                       publicKey.size(), privateKey.data(), privateKey.size(),
                                       &pair.publicKey, &pair.privateKey));
    return pair;
}

Bytes ecCurveParams(EcCurve curve) {
    // prime256v1 (1.2.840.10045.3.1.7) and secp384r1 (1.3.132.0.34).
    if (curve == EcCurve::P384) {
        return {0x06, 0x05, 0x2B, 0x81, 0x04, 0x00, 0x22};
    }
    return {0x06, 0x08, 0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};
}

KeyPair Pkcs11Session::generateEcKeyPair(const Bytes& id, EcCurve curve,
                                         const Attributes& extraPrivate) {
    Attributes publicKey;
    publicKey.number(CKA_CLASS, CKO_PUBLIC_KEY)
        .number(CKA_KEY_TYPE, CKK_EC)
        .flag(CKA_TOKEN, true)
        .flag(CKA_PRIVATE, false)
        .bytes(CKA_EC_PARAMS, ecCurveParams(curve))
        .bytes(CKA_ID, id);
    Attributes privateKey;
    privateKey.number(CKA_CLASS, CKO_PRIVATE_KEY)
        .number(CKA_KEY_TYPE, CKK_EC)
        .flag(CKA_TOKEN, true)
        .flag(CKA_PRIVATE, true)
        .flag(CKA_SIGN, true)
        .bytes(CKA_ID, id)
        .merge(extraPrivate);
    CK_MECHANISM mechanism = {CKM_EC_KEY_PAIR_GEN, nullptr, 0};
    KeyPair pair;
    check("C_GenerateKeyPair",
          functions->C_GenerateKeyPair(sessionHandle, &mechanism, publicKey.data(),
                                       publicKey.size(), privateKey.data(), privateKey.size(),
                                       &pair.publicKey, &pair.privateKey));
    return pair;
}

void Pkcs11Session::destroy(CK_OBJECT_HANDLE object) {
    check("C_DestroyObject", functions->C_DestroyObject(sessionHandle, object));
}

std::vector<CK_OBJECT_HANDLE> Pkcs11Session::find(Attributes& match) {
    check("C_FindObjectsInit",
          functions->C_FindObjectsInit(sessionHandle, match.data(), match.size()));
    std::vector<CK_OBJECT_HANDLE> found;
    CK_RV rv;
    for (;;) {
        CK_OBJECT_HANDLE batch[16];
        CK_ULONG count = 0;
        rv = functions->C_FindObjects(sessionHandle, batch, 16, &count);
        if (rv != CKR_OK || count == 0) {
            break;
        }
        found.insert(found.end(), batch, batch + count);
    }
    CK_RV finalRv = functions->C_FindObjectsFinal(sessionHandle);
    check("C_FindObjects", rv);
    check("C_FindObjectsFinal", finalRv);
    return found;
}

std::vector<CK_OBJECT_HANDLE> Pkcs11Session::find(CK_OBJECT_CLASS objectClass) {
    Attributes match;
    match.number(CKA_CLASS, objectClass);
    return find(match);
}

std::vector<CK_OBJECT_HANDLE> Pkcs11Session::find(CK_OBJECT_CLASS objectClass, const Bytes& id) {
    Attributes match;
    match.number(CKA_CLASS, objectClass).bytes(CKA_ID, id);
    return find(match);
}

CK_RV Pkcs11Session::tryGet(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type, Bytes& value) {
    CK_ATTRIBUTE attribute = {type, nullptr, 0};
    CK_RV rv = functions->C_GetAttributeValue(sessionHandle, object, &attribute, 1);
    if (rv != CKR_OK) {
        return rv;
    }
    value.assign(attribute.ulValueLen, 0);
    attribute.pValue = value.data();
    return functions->C_GetAttributeValue(sessionHandle, object, &attribute, 1);
}

Bytes Pkcs11Session::getBytes(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type) {
    Bytes value;
    check("C_GetAttributeValue", tryGet(object, type, value));
    return value;
}

bool Pkcs11Session::getBool(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type) {
    Bytes value = getBytes(object, type);
    if (value.size() != sizeof(CK_BBOOL)) {
        throw std::runtime_error("not a CK_BBOOL attribute");
    }
    return value[0] != CK_FALSE;
}

CK_ULONG Pkcs11Session::getNumber(CK_OBJECT_HANDLE object, CK_ATTRIBUTE_TYPE type) {
    Bytes value = getBytes(object, type);
    CK_ULONG number = 0;
    if (value.size() != sizeof number) {
        throw std::runtime_error("not a CK_ULONG attribute");
    }
    std::copy(value.begin(), value.end(), reinterpret_cast<unsigned char*>(&number));
    return number;
}

void Pkcs11Session::setAttributes(CK_OBJECT_HANDLE object, Attributes& attributes) {
    check("C_SetAttributeValue", functions->C_SetAttributeValue(
                                     sessionHandle, object, attributes.data(), attributes.size()));
}

EvpPkeyPtr Pkcs11Session::publicKey(CK_OBJECT_HANDLE object) {
    return rsaPublicKey(getBytes(object, CKA_MODULUS), getBytes(object, CKA_PUBLIC_EXPONENT));
}

EvpPkeyPtr Pkcs11Session::ecPublicKey(CK_OBJECT_HANDLE object) {
    return ::ecPublicKey(getBytes(object, CKA_EC_PARAMS), getBytes(object, CKA_EC_POINT));
}

Bytes Pkcs11Session::sign(CK_OBJECT_HANDLE key, const Bytes& data, CK_MECHANISM_TYPE type,
                          const std::optional<std::string>& contextPin) {
    CK_MECHANISM mechanism = {type, nullptr, 0};
    check("C_SignInit", functions->C_SignInit(sessionHandle, &mechanism, key));
    if (contextPin) {
        login(CKU_CONTEXT_SPECIFIC, *contextPin);
    }
    Bytes input = data;
    CK_ULONG length = 0;
    check("C_Sign", functions->C_Sign(sessionHandle, input.data(), input.size(), nullptr, &length));
    Bytes signature(length);
    check("C_Sign",
          functions->C_Sign(sessionHandle, input.data(), input.size(), signature.data(), &length));
    signature.resize(length);
    return signature;
}

// ---- Client ----------------------------------------------------------------

struct Pkcs11Client::Image {
    CK_FUNCTION_LIST* list = nullptr;
    void* handle = nullptr;
    int users = 0;
};

namespace {

// The loaded copies, never unloaded: leak reports from inside a module can
// only name it while it is mapped, and SoftHSM2 keeps process-wide state.
std::map<std::string, std::unique_ptr<Pkcs11Client::Image>>& sharedImages() {
    static std::map<std::string, std::unique_ptr<Pkcs11Client::Image>> images;
    return images;
}

std::vector<std::unique_ptr<Pkcs11Client::Image>>& freshImages() {
    static std::vector<std::unique_ptr<Pkcs11Client::Image>> images;
    return images;
}

}  // namespace

namespace {

std::unique_ptr<Pkcs11Client::Image> loadCopy(const std::string& path) {
    // The copy keeps the file name, so leak suppressions that name the
    // module still match it; the file itself can go once it is mapped.
    TempDir folder;
    std::string copy = folder.file(std::filesystem::path(path).filename().string());
    std::filesystem::copy_file(path, copy);
    void* handle = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (handle == nullptr) {
        throw std::runtime_error(std::string("cannot load ") + path + ": " + dlerror());
    }
    auto getList = reinterpret_cast<CK_C_GetFunctionList>(dlsym(handle, "C_GetFunctionList"));
    if (getList == nullptr) {
        throw std::runtime_error(path + " has no C_GetFunctionList");
    }
    auto image = std::make_unique<Pkcs11Client::Image>();
    image->handle = handle;
    check("C_GetFunctionList", getList(&image->list));
    return image;
}

}  // namespace

Pkcs11Client::Pkcs11Client(const std::string& modulePath, Instance instance) {
    if (instance == Instance::Fresh) {
        freshImages().push_back(loadCopy(modulePath));
        image = freshImages().back().get();
    } else {
        auto& loaded = sharedImages()[modulePath];
        if (!loaded) {
            loaded = loadCopy(modulePath);
        }
        image = loaded.get();
    }
    list = image->list;
    if (image->users == 0) {
        check("C_Initialize", list->C_Initialize(nullptr));
    }
    ++image->users;
}

Pkcs11Client::~Pkcs11Client() {
    if (--image->users == 0) {
        list->C_Finalize(nullptr);
    }
}

void* Pkcs11Client::symbol(const char* name) const {
    return dlsym(image->handle, name);
}

std::vector<CK_SLOT_ID> Pkcs11Client::slots(bool tokenPresent) const {
    CK_BBOOL present = tokenPresent ? CK_TRUE : CK_FALSE;
    return listOf<CK_SLOT_ID>("C_GetSlotList", [&](CK_SLOT_ID* slots, CK_ULONG* count) {
        return list->C_GetSlotList(present, slots, count);
    });
}

CK_TOKEN_INFO Pkcs11Client::tokenInfo(CK_SLOT_ID slot) const {
    CK_TOKEN_INFO info;
    check("C_GetTokenInfo", list->C_GetTokenInfo(slot, &info));
    return info;
}

std::vector<CK_MECHANISM_TYPE> Pkcs11Client::mechanisms(CK_SLOT_ID slot) const {
    return listOf<CK_MECHANISM_TYPE>("C_GetMechanismList",
                                     [&](CK_MECHANISM_TYPE* types, CK_ULONG* count) {
                                         return list->C_GetMechanismList(slot, types, count);
                                     });
}

Pkcs11Session Pkcs11Client::openSession(CK_SLOT_ID slot, bool readWrite) const {
    CK_FLAGS flags = CKF_SERIAL_SESSION | (readWrite ? CKF_RW_SESSION : 0);
    CK_SESSION_HANDLE handle = CK_INVALID_HANDLE;
    check("C_OpenSession", list->C_OpenSession(slot, flags, nullptr, nullptr, &handle));
    return Pkcs11Session(list, handle);
}

std::string paddedText(const unsigned char* field, size_t width) {
    while (width > 0 && field[width - 1] == ' ') {
        --width;
    }
    return std::string(reinterpret_cast<const char*>(field), width);
}
