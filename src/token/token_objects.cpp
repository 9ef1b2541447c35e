#include <optional>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "der/base64.h"
#include "der/certificate_builder.h"
#include "der/der_writer.h"
#include "der/ec_public_key_info.h"
#include "der/format_dn.h"
#include "der/hex.h"
#include "der/parsed_certificate.h"
#include "token/token.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

using token_internal::AttributeRead;
using token_internal::check;
using token_internal::ObjectSearch;
using token_internal::Unavailable;

namespace {

CK_ATTRIBUTE fixed(CK_ATTRIBUTE_TYPE type, void* storage, CK_ULONG size) {
    return {type, storage, size};
}
CK_ATTRIBUTE variable(CK_ATTRIBUTE_TYPE type) {
    return {type, nullptr, 0};
}

std::string formatDnOf(const std::vector<uint8_t>& value) {
    return formatDn(value.data(), value.size());
}

std::string dateText(const AttributeRead& read, CK_ULONG index, const CK_DATE& date) {
    // A token that reports a shorter date leaves the date unknown.
    return read.length(index) >= sizeof(CK_DATE) ? formatTokenDate(date) : std::string();
}

std::string subjectAltNameOf(std::vector<uint8_t> der) {
    CertificateBuilder builder(std::make_unique<ByteBuffer>(std::move(der)));
    std::unique_ptr<ParsedCertificate> certificate = builder.getCertificate();
    const DERPrimitive* subjectAltName = certificate->getSubjectAltName();
    if (subjectAltName == nullptr) {
        return "";
    }
    const ByteBuffer& value = subjectAltName->getValue();
    return formatDn(value.getData(), value.getSize());
}

CK_KEY_TYPE readKeyType(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_KEY_TYPE keyType = 0;
    CK_ATTRIBUTE attributes[] = {fixed(CKA_KEY_TYPE, &keyType, sizeof(keyType))};
    check(token_internal::functions()->C_GetAttributeValue(session, key, attributes, 1),
          kPublicKeyAttributesUnreadable);
    return keyType;
}

// Modules store CKA_EC_POINT either as the DER OCTET STRING that PKCS#11 asks
// for or as the bare point.
bool isSamePoint(const std::vector<uint8_t>& stored, const std::vector<uint8_t>& point) {
    return stored == point || stored == encodeElement(0x04, point);
}

CK_OBJECT_HANDLE findEcPublicKey(CK_SESSION_HANDLE session, const EcPublicKeyInfo& wanted) {
    for (CK_OBJECT_HANDLE handle : findPublicKeys(session)) {
        if (readKeyType(session, handle) != CKK_EC) {
            continue;
        }
        CK_ATTRIBUTE attributes[] = {variable(CKA_EC_PARAMS), variable(CKA_EC_POINT)};
        AttributeRead read(session, handle, attributes, 2, kPublicKeyAttributesUnreadable,
                           kPublicKeyAttributesUnreadable);
        if (read.bytes(0) == wanted.curve && isSamePoint(read.bytes(1), wanted.point)) {
            return handle;
        }
    }
    return CK_INVALID_HANDLE;
}

}  // namespace

std::vector<CK_OBJECT_HANDLE> findObjects(CK_SESSION_HANDLE session, CK_OBJECT_CLASS objectClass) {
    CK_ATTRIBUTE attributes[] = {fixed(CKA_CLASS, &objectClass, sizeof(objectClass))};
    ObjectSearch search(session, attributes, 1, kCertificateQueryNotStarted);
    std::vector<CK_OBJECT_HANDLE> handles;
    for (;;) {
        CK_OBJECT_HANDLE handle = CK_INVALID_HANDLE;
        bool found = false;
        check(search.next(handle, found), kCertificateQueryFailed);
        if (!found) {
            break;
        }
        handles.push_back(handle);
    }
    check(search.finish(), kPublicKeysQueryNotFinished);
    return handles;
}

std::vector<CK_OBJECT_HANDLE> findCertificates(CK_SESSION_HANDLE session) {
    return findObjects(session, CKO_CERTIFICATE);
}

std::vector<CK_OBJECT_HANDLE> findPublicKeys(CK_SESSION_HANDLE session) {
    return findObjects(session, CKO_PUBLIC_KEY);
}

std::vector<CK_OBJECT_HANDLE> findPrivateKeys(CK_SESSION_HANDLE session) {
    return findObjects(session, CKO_PRIVATE_KEY);
}

CK_OBJECT_HANDLE findCertificate(CK_SESSION_HANDLE session, const std::string& serialHex) {
    std::vector<uint8_t> serial = hexDecode(serialHex);
    CK_OBJECT_CLASS objectClass = CKO_CERTIFICATE;
    CK_ATTRIBUTE attributes[] = {fixed(CKA_CLASS, &objectClass, sizeof(objectClass)),
                                 fixed(CKA_SERIAL_NUMBER, serial.data(), serial.size())};
    ObjectSearch search(session, attributes, 2, kCertificateQueryNotStarted);
    CK_OBJECT_HANDLE handle = CK_INVALID_HANDLE;
    bool found = false;
    check(search.next(handle, found), kCertificateQueryFailed);
    if (!found) {
        throw TokenException(kCertificateNotFound + serialHex);
    }
    check(search.finish(), kPublicKeysQueryNotFinished);
    return handle;
}

CK_OBJECT_HANDLE findCertificateKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate,
                                    bool privateKey) {
    CK_OBJECT_CLASS objectClass = 0;
    CK_ATTRIBUTE attributes[] = {fixed(CKA_CLASS, &objectClass, sizeof(objectClass)),
                                 variable(CKA_ID)};
    AttributeRead read(session, certificate, attributes, 2, kCertificateIdSizeUnreadable,
                       kCertificateIdUnreadable);
    objectClass = privateKey ? CKO_PRIVATE_KEY : CKO_PUBLIC_KEY;
    attributes[1].ulValueLen = read.length(1);
    ObjectSearch search(session, attributes, 2, kCertificateKeyQueryNotStarted);
    CK_OBJECT_HANDLE handle = CK_INVALID_HANDLE;
    bool found = false;
    CK_RV rv = search.next(handle, found);
    CK_RV finalRv = search.finish();
    if (finalRv != CKR_OK) {
        Logger::instance()->error("Warning: Error finalising the key query (rc = %d) ",
                                  logValue(finalRv));
    }
    check(rv, kCertificateKeyQueryFailed);
    if (!found) {
        throw TokenException(kCertificateKeyNotFound);
    }
    return handle;
}

CK_OBJECT_HANDLE findCertificatePrivateKey(CK_SESSION_HANDLE session,
                                           CK_OBJECT_HANDLE certificate) {
    return findCertificateKey(session, certificate, true);
}

CK_OBJECT_HANDLE findCertificatePublicKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate) {
    return findCertificateKey(session, certificate, false);
}

std::unique_ptr<CertificateInfo> readCertificateInfo(CK_SESSION_HANDLE session,
                                                     CK_OBJECT_HANDLE certificate) {
    CK_DATE startDate{};
    CK_DATE endDate{};
    enum { kStart, kEnd, kSubject, kIssuer, kSerial, kCheckValue, kCategory, kValue, kCount };
    CK_ATTRIBUTE attributes[kCount] = {
        fixed(CKA_START_DATE, &startDate, sizeof(startDate)),
        fixed(CKA_END_DATE, &endDate, sizeof(endDate)),
        variable(CKA_SUBJECT),
        variable(CKA_ISSUER),
        variable(CKA_SERIAL_NUMBER),
        variable(CKA_CHECK_VALUE),
        variable(CKA_CERTIFICATE_CATEGORY),
        variable(CKA_VALUE),
    };
    // Smart cards and certificate stores withhold some of these (the dates,
    // the check value, the category): those fields stay empty.
    AttributeRead read(session, certificate, attributes, kCount, kCertificateFieldLengthsUnreadable,
                       kCertificateFieldsUnreadable, Unavailable::Absent);
    if (!read.present(kValue)) {
        return nullptr;
    }
    auto info = std::make_unique<CertificateInfo>();
    info->validFrom = dateText(read, kStart, startDate);
    info->validUntil = dateText(read, kEnd, endDate);
    info->subjectDN = formatDnOf(read.bytes(kSubject));
    info->issuerDN = formatDnOf(read.bytes(kIssuer));
    // The stored serial is the DER INTEGER; its tag and length byte are not shown.
    std::vector<uint8_t> serial = read.bytes(kSerial);
    if (serial.size() > 2) {
        info->serialNumber = hexEncode(serial.data() + 2, serial.size() - 2);
    }
    std::vector<uint8_t> checkValue = read.bytes(kCheckValue);
    info->activationCode = hexEncode(checkValue.data(), checkValue.size());
    std::vector<uint8_t> value = read.take(kValue);
    info->value = base64Encode(value.data(), value.size());
    info->subjectAN = subjectAltNameOf(std::move(value));
    return info;
}

std::string readCertificateValue(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate) {
    CK_ATTRIBUTE attributes[] = {variable(CKA_VALUE)};
    AttributeRead read(session, certificate, attributes, 1, kCertificateContentLengthUnreadable,
                       kCertificateContentUnreadable);
    std::vector<uint8_t> value = read.bytes(0);
    return base64Encode(value.data(), value.size());
}

bool isKeyExtractable(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_BBOOL neverExtractable = CK_FALSE;
    CK_ATTRIBUTE attributes[] = {
        fixed(CKA_NEVER_EXTRACTABLE, &neverExtractable, sizeof(neverExtractable))};
    check(token_internal::functions()->C_GetAttributeValue(session, key, attributes, 1),
          kNeverExtractableUnreadable);
    return neverExtractable == CK_FALSE;
}

bool isOrphanKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_OBJECT_CLASS objectClass = 0;
    CK_ATTRIBUTE attributes[] = {fixed(CKA_CLASS, &objectClass, sizeof(objectClass)),
                                 variable(CKA_ID)};
    AttributeRead read(session, key, attributes, 2, kKeyIdSizeUnreadable, kKeyIdUnreadable);
    objectClass = CKO_CERTIFICATE;
    attributes[1].ulValueLen = read.length(1);
    ObjectSearch search(session, attributes, 2, kCertificateKeyQueryNotStarted);
    CK_OBJECT_HANDLE handle = CK_INVALID_HANDLE;
    bool found = false;
    check(search.next(handle, found), kCertificateKeyQueryFailed);
    check(search.finish(), kKeyQueryNotFinished);
    return !found;
}

std::unique_ptr<OrphanKey> readOrphanKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_OBJECT_CLASS objectClass = 0;
    CK_ATTRIBUTE attributes[] = {fixed(CKA_CLASS, &objectClass, sizeof(objectClass)),
                                 variable(CKA_ID), variable(CKA_LABEL)};
    AttributeRead read(session, key, attributes, 3, kKeyAttributeSizesUnreadable,
                       kKeyAttributesUnreadable);
    auto orphan = std::make_unique<OrphanKey>();
    std::vector<uint8_t> id = read.bytes(1);
    orphan->id = hexEncode(id.data(), id.size());
    orphan->privateKey = objectClass == CKO_PRIVATE_KEY;
    return orphan;
}

std::unique_ptr<RsaPublicKey> readRsaPublicKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_ATTRIBUTE attributes[] = {variable(CKA_MODULUS), variable(CKA_PUBLIC_EXPONENT)};
    auto functions = token_internal::functions();
    check(functions->C_GetAttributeValue(session, key, attributes, 2), kRsaKeySizesUnreadable);
    auto publicKey = std::make_unique<RsaPublicKey>();
    publicKey->objectHandle = key;
    token_internal::allocateOrRaise(
        [&] {
            publicKey->modulus = ByteBuffer(attributes[0].ulValueLen);
            publicKey->exponent = ByteBuffer(attributes[1].ulValueLen);
        },
        kInsufficientMemory);
    attributes[0].pValue = publicKey->modulus.getData();
    attributes[1].pValue = publicKey->exponent.getData();
    check(functions->C_GetAttributeValue(session, key, attributes, 2), kRsaKeyUnreadable);
    return publicKey;
}

CK_OBJECT_HANDLE findPublicKeyForCertificate(CK_SESSION_HANDLE session,
                                             const ParsedCertificate& certificate) {
    const DERComposite* keyInfo = certificate.getPublicKeyInfo();
    if (keyInfo != nullptr && isEcPublicKeyInfo(*keyInfo)) {
        std::optional<EcPublicKeyInfo> ecKey = ecPublicKeyInfo(*keyInfo);
        return ecKey ? findEcPublicKey(session, *ecKey) : CK_INVALID_HANDLE;
    }
    // Other kinds of keys have no modulus to look for.
    for (CK_OBJECT_HANDLE handle : findPublicKeys(session)) {
        if (readKeyType(session, handle) != CKK_RSA) {
            continue;
        }
        std::unique_ptr<RsaPublicKey> publicKey = readRsaPublicKey(session, handle);
        if (certificate.containsModulus(publicKey->modulus)) {
            return handle;
        }
    }
    return CK_INVALID_HANDLE;
}

std::unique_ptr<ByteBuffer> readKeyId(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE key) {
    CK_ATTRIBUTE attributes[] = {variable(CKA_ID)};
    AttributeRead read(session, key, attributes, 1, kPublicKeyIdSizeUnreadable,
                       kPublicKeyIdUnreadable);
    return std::make_unique<ByteBuffer>(read.take(0));
}

std::string formatTokenDate(const CK_DATE& date) {
    auto text = [](const CK_CHAR* characters, size_t count) {
        return std::string(reinterpret_cast<const char*>(characters), count);
    };
    return text(date.day, 2) + "/" + text(date.month, 2) + "/" + text(date.year, 4);
}
