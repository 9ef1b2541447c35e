#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "der/base64.h"
#include "der/certificate_builder.h"
#include "der/hex.h"
#include "der/parsed_certificate.h"
#include "token_fixture.h"

namespace {

// A token holding RSA key pairs and certificates made by a test CA, set up
// through an independent client; the binding reads them.
class TokenObjectsTest : public TokenTest {
  protected:
    struct Enrolled {
        KeyPair keys;
        CK_OBJECT_HANDLE certificate;
        Bytes der;
    };

    Enrolled enrol(Pkcs11Session& session, const Bytes& id, const CertificateOptions& options,
                   bool extractable = false) {
        RsaKeyOptions keyOptions(id);
        keyOptions.extractable = extractable;
        keyOptions.sensitive = !extractable;
        Enrolled enrolled;
        enrolled.keys = session.generateRsaKeyPair(keyOptions);
        EvpPkeyPtr publicKey = session.publicKey(enrolled.keys.publicKey);
        enrolled.der = ca.issueForKey(publicKey.get(), options);
        enrolled.certificate = session.createCertificate(enrolled.der, id);
        return enrolled;
    }

    static CertificateOptions options(Bytes serial, const std::string& subjectAltName = "") {
        CertificateOptions result;
        result.serial = std::move(serial);
        result.subject = "/C=ZZ/O=JUX/OU=KW/CN=Some User";
        result.subjectAltName = subjectAltName;
        return result;
    }

    TestCa ca;
};

}  // namespace

TEST_F(TokenObjectsTest, FindsACertificateByTheHexOfItsDerSerial) {
    Pkcs11Session setup = clientSession();
    Enrolled enrolled = enrol(setup, {0x01}, options({0x00, 0xAB, 0xCD}));
    load();
    CK_SESSION_HANDLE session = userSession(false);
    EXPECT_EQ(findCertificates(session).size(), 1u);
    // CKA_SERIAL_NUMBER holds 02 03 00 AB CD: either case of hex finds it.
    CK_OBJECT_HANDLE found = findCertificate(session, "020300abcd");
    EXPECT_EQ(findCertificate(session, "020300ABCD"), found);
    EXPECT_EQ(readCertificateValue(session, found),
              base64Encode(enrolled.der.data(), enrolled.der.size()));
    EXPECT_EQ(failureOf([&] { findCertificate(session, "00abcd"); }),
              "Unable to find cerificate with sn:00abcd");
    EXPECT_EQ(failureOf([&] { findCertificate(session, "020300abc"); }),
              "Invalid hex encoded data - uneven length");
    EXPECT_EQ(failureOf([&] { findCertificate(session, "02030zabcd"); }), "Invalid hex digit z");
    EXPECT_EQ(findCertificate(session, "020300abcd"), found)
        << "a failed search leaves the session usable";
}

TEST_F(TokenObjectsTest, ListsObjectsOfEachClass) {
    load();
    CK_SESSION_HANDLE session = userSession(false);
    EXPECT_TRUE(findCertificates(session).empty());
    EXPECT_TRUE(findPrivateKeys(session).empty());
    Pkcs11Session setup = clientSession();
    enrol(setup, {0x01}, options({0x01}));
    setup.generateRsaKeyPair(RsaKeyOptions({0x02}, 1024));
    EXPECT_EQ(findCertificates(session).size(), 1u);
    EXPECT_EQ(findPublicKeys(session).size(), 2u);
    EXPECT_EQ(findPrivateKeys(session).size(), 2u);
}

TEST_F(TokenObjectsTest, FindsTheKeysThatShareTheCertificatesId) {
    Pkcs11Session setup = clientSession();
    Enrolled first = enrol(setup, {0x0A, 0x0B}, options({0x01}));
    Enrolled second = enrol(setup, {0x0C}, options({0x02}));
    setup.destroy(second.keys.privateKey);
    load();
    CK_SESSION_HANDLE session = userSession(false);
    CK_OBJECT_HANDLE certificate = findCertificate(session, "020101");
    CK_OBJECT_HANDLE privateKey = findCertificatePrivateKey(session, certificate);
    CK_OBJECT_HANDLE publicKey = findCertificatePublicKey(session, certificate);
    std::unique_ptr<RsaPublicKey> rsa = readRsaPublicKey(session, publicKey);
    Bytes modulus = setup.getBytes(first.keys.publicKey, CKA_MODULUS);
    EXPECT_EQ(Bytes(rsa->modulus.getData(), rsa->modulus.getData() + rsa->modulus.getSize()),
              modulus);
    EXPECT_EQ(hexEncode(readKeyId(session, privateKey)->getData(), 2), "0a0b");
    CK_OBJECT_HANDLE orphaned = findCertificate(session, "020102");
    EXPECT_EQ(failureOf([&] { findCertificatePrivateKey(session, orphaned); }),
              "Error unable to find certificate key");
    EXPECT_NE(findCertificatePublicKey(session, orphaned), CK_INVALID_HANDLE);
}

TEST_F(TokenObjectsTest, ReadsTheCertificateRecord) {
    Pkcs11Session setup = clientSession();
    CertificateOptions withName =
        options({0x00, 0x9F, 0x01}, "otherName:1.3.6.1.4.1.311.20.2.3;UTF8:someone@example.com");
    withName.notBefore = "990215080000Z";
    withName.notAfter = "20510301120000Z";
    Enrolled enrolled = enrol(setup, {0x01}, withName);
    Bytes checkValue = setup.getBytes(enrolled.certificate, CKA_CHECK_VALUE);
    load();
    CK_SESSION_HANDLE session = userSession(false);
    std::unique_ptr<CertificateInfo> info =
        readCertificateInfo(session, findCertificate(session, "0203009f01"));
    EXPECT_EQ(info->subjectDN, "CN=Some User, OU=KW, O=JUX, C=ZZ");
    EXPECT_EQ(info->issuerDN, "CN=Vantrel Test CA, O=Vantrel Tests");
    EXPECT_EQ(info->serialNumber, "009f01");
    EXPECT_EQ(info->subjectAN, "Principal=someone@example.com");
    EXPECT_EQ(info->validFrom, "15/02/1999");
    EXPECT_EQ(info->validUntil, "01/03/2051");
    EXPECT_EQ(info->activationCode, hexEncode(checkValue.data(), checkValue.size()));
    EXPECT_FALSE(info->activationCode.empty());
    EXPECT_EQ(info->tokenSN, "");
}

TEST_F(TokenObjectsTest, ShortOrMissingDatesAndSerialsGiveEmptyTexts) {
    Pkcs11Session setup = clientSession();
    EvpPkeyPtr key = generateRsaKey(1024);
    Bytes der = ca.issueForKey(key.get(), options({0x05}));
    Attributes overrides;
    overrides.bytes(CKA_START_DATE, {})
        .bytes(CKA_END_DATE, {})
        .bytes(CKA_SERIAL_NUMBER, {0x02, 0x01});
    setup.createCertificate(der, {0x07}, overrides);
    load();
    CK_SESSION_HANDLE session = userSession(false);
    std::unique_ptr<CertificateInfo> info =
        readCertificateInfo(session, findCertificates(session).at(0));
    EXPECT_EQ(info->validFrom, "");
    EXPECT_EQ(info->validUntil, "");
    EXPECT_EQ(info->serialNumber, "");
    EXPECT_EQ(info->subjectAN, "");
}

// Smart cards and certificate stores withhold some of a certificate's
// attributes (as PKCS#11 allows): the record still comes, those fields empty.
TEST_F(TokenObjectsTest, WithheldCertificateAttributesLeaveTheirFieldsEmpty) {
    Pkcs11Session setup = clientSession();
    enrol(setup, {0x01}, options({0x00, 0x9F, 0x01}, "email:someone@example.com"));
    load(true);
    CK_SESSION_HANDLE session = userSession(false);
    CK_OBJECT_HANDLE certificate = findCertificate(session, "0203009f01");
    auto fields = [](const CertificateInfo& info) {
        return std::vector<std::string>{info.validFrom, info.validUntil,   info.subjectDN,
                                        info.issuerDN,  info.serialNumber, info.activationCode,
                                        info.subjectAN};
    };
    const std::vector<std::string> whole = fields(*readCertificateInfo(session, certificate));
    ASSERT_EQ(whole[0], "01/01/2025");
    struct Case {
        const char* rules;
        std::vector<size_t> empty;  // indexes into fields()
    };
    const Case cases[] = {
        {"unavailable CKA_START_DATE\nunavailable CKA_END_DATE", {0, 1}},
        {"unavailable CKA_CHECK_VALUE code CKR_ATTRIBUTE_SENSITIVE", {5}},
        {"unavailable CKA_CERTIFICATE_CATEGORY", {}},
        {"unavailable CKA_SUBJECT\nunavailable CKA_ISSUER\nunavailable CKA_SERIAL_NUMBER",
         {2, 3, 4}},
        {"unavailable CKA_START_DATE\nunavailable CKA_END_DATE\nunavailable CKA_SUBJECT\n"
         "unavailable CKA_ISSUER\nunavailable CKA_SERIAL_NUMBER\nunavailable CKA_CHECK_VALUE\n"
         "unavailable CKA_CERTIFICATE_CATEGORY code CKR_ATTRIBUTE_SENSITIVE",
         {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        faults->setRules(c.rules);
        std::vector<std::string> expected = whole;
        for (size_t i : c.empty) {
            expected[i] = "";
        }
        std::unique_ptr<CertificateInfo> info = readCertificateInfo(session, certificate);
        ASSERT_TRUE(info) << c.rules;
        EXPECT_EQ(fields(*info), expected) << c.rules;
    }
    // Without its value a certificate cannot be named or used: no record.
    faults->setRules("unavailable CKA_VALUE\nunavailable CKA_START_DATE");
    EXPECT_FALSE(readCertificateInfo(session, certificate));
    // Every other read still needs what it asks for.
    EXPECT_EQ(failureOf([&] { readCertificateValue(session, certificate); }),
              "Failed to get certificate content length (rc=18)");
    faults->setRules("fail C_GetAttributeValue CKR_ATTRIBUTE_TYPE_INVALID call 2");
    EXPECT_EQ(failureOf([&] { readCertificateValue(session, certificate); }),
              "Failed to get certificate content value (rc=18)");
    faults->setRules("fail C_GetAttributeValue CKR_DEVICE_ERROR call 2");
    EXPECT_EQ(failureOf([&] { readCertificateInfo(session, certificate); }),
              "Failed to get certificate filelds values (rc=48)");
}

TEST_F(TokenObjectsTest, TellsExtractableKeysAndOrphans) {
    Pkcs11Session setup = clientSession();
    enrol(setup, {0x01}, options({0x01}));
    enrol(setup, {0x02}, options({0x02}), true);
    setup.generateRsaKeyPair(RsaKeyOptions({0x33, 0x44}, 1024));
    load();
    CK_SESSION_HANDLE session = userSession(false);
    EXPECT_FALSE(isKeyExtractable(session, hostHandle(session, CKO_PRIVATE_KEY, {0x01})));
    EXPECT_TRUE(isKeyExtractable(session, hostHandle(session, CKO_PRIVATE_KEY, {0x02})));
    EXPECT_FALSE(isOrphanKey(session, hostHandle(session, CKO_PRIVATE_KEY, {0x01})));
    EXPECT_FALSE(isOrphanKey(session, hostHandle(session, CKO_PUBLIC_KEY, {0x01})));
    CK_OBJECT_HANDLE orphanPrivate = hostHandle(session, CKO_PRIVATE_KEY, {0x33, 0x44});
    CK_OBJECT_HANDLE orphanPublic = hostHandle(session, CKO_PUBLIC_KEY, {0x33, 0x44});
    EXPECT_TRUE(isOrphanKey(session, orphanPrivate));
    EXPECT_TRUE(isOrphanKey(session, orphanPublic));
    std::unique_ptr<OrphanKey> privateOrphan = readOrphanKey(session, orphanPrivate);
    EXPECT_EQ(privateOrphan->id, "3344");
    EXPECT_TRUE(privateOrphan->privateKey);
    EXPECT_FALSE(readOrphanKey(session, orphanPublic)->privateKey);
}

TEST_F(TokenObjectsTest, FindsThePublicKeyWhoseModulusTheCertificateHolds) {
    Pkcs11Session setup = clientSession();
    setup.generateRsaKeyPair(RsaKeyOptions({0x01}, 1024));
    KeyPair target = setup.generateRsaKeyPair(RsaKeyOptions({0x02}, 1024));
    EvpPkeyPtr targetKey = setup.publicKey(target.publicKey);
    EvpPkeyPtr elsewhere = generateRsaKey(1024);
    load();
    CK_SESSION_HANDLE session = userSession(false);
    auto parse = [](const Bytes& der) {
        return CertificateBuilder(
                   std::make_unique<ByteBuffer>(std::vector<uint8_t>(der.begin(), der.end())))
            .getCertificate();
    };
    std::unique_ptr<ParsedCertificate> forTarget =
        parse(ca.issueForKey(targetKey.get(), options({0x01})));
    EXPECT_EQ(findPublicKeyForCertificate(session, *forTarget),
              hostHandle(session, CKO_PUBLIC_KEY, {0x02}));
    std::unique_ptr<ParsedCertificate> forNone =
        parse(ca.issueForKey(elsewhere.get(), options({0x02})));
    EXPECT_EQ(findPublicKeyForCertificate(session, *forNone), CK_INVALID_HANDLE);
}

// A certificate is tied to its key by the key's kind: an RSA certificate to
// the RSA key holding its modulus (EC keys, which have none, are passed
// over), an EC certificate to the EC key with its curve and point, whether
// the module stores the point as PKCS#11 says (a DER OCTET STRING) or bare.
TEST_F(TokenObjectsTest, FindsThePublicKeyOfRsaAndEcCertificatesAmongKeysOfBothKinds) {
    Pkcs11Session setup = clientSession();
    KeyPair p256 = setup.generateEcKeyPair({0x21}, EcCurve::P256);
    KeyPair rsa = setup.generateRsaKeyPair(RsaKeyOptions({0x22}, 1024));
    KeyPair p384 = setup.generateEcKeyPair({0x23}, EcCurve::P384);
    // Keys whose public object is stored bare, or not at all.
    KeyPair bare = setup.generateEcKeyPair({0x24});
    KeyPair gone = setup.generateEcKeyPair({0x25});
    EvpPkeyPtr keys[] = {setup.publicKey(rsa.publicKey),    setup.ecPublicKey(p256.publicKey),
                         setup.ecPublicKey(p384.publicKey), setup.ecPublicKey(bare.publicKey),
                         setup.ecPublicKey(gone.publicKey), generateRsaKey(1024)};
    Bytes wrappedPoint = setup.getBytes(bare.publicKey, CKA_EC_POINT);
    ASSERT_EQ(wrappedPoint.size(), 67u);
    setup.destroy(bare.publicKey);
    setup.destroy(gone.publicKey);
    Attributes barePoint;
    barePoint.number(CKA_CLASS, CKO_PUBLIC_KEY)
        .number(CKA_KEY_TYPE, CKK_EC)
        .flag(CKA_TOKEN, true)
        .bytes(CKA_EC_PARAMS, ecCurveParams(EcCurve::P256))
        .bytes(CKA_EC_POINT, Bytes(wrappedPoint.begin() + 2, wrappedPoint.end()))
        .bytes(CKA_ID, {0x24});
    setup.create(barePoint);
    load(true);
    CK_SESSION_HANDLE session = userSession(false);
    auto certificateFor = [&](EVP_PKEY* key) {
        Bytes der = ca.issueForKey(key, options({0x03}));
        return CertificateBuilder(
                   std::make_unique<ByteBuffer>(std::vector<uint8_t>(der.begin(), der.end())))
            .getCertificate();
    };
    const std::pair<int, Bytes> found[] = {{0, {0x22}}, {1, {0x21}}, {2, {0x23}}, {3, {0x24}}};
    for (const auto& c : found) {
        SCOPED_TRACE(c.first);
        EXPECT_EQ(findPublicKeyForCertificate(session, *certificateFor(keys[c.first].get())),
                  hostHandle(session, CKO_PUBLIC_KEY, c.second));
    }
    for (int missing : {4, 5}) {
        EXPECT_EQ(findPublicKeyForCertificate(session, *certificateFor(keys[missing].get())),
                  CK_INVALID_HANDLE)
            << missing;
    }
    // Attributes the search cannot read stop it.
    const std::pair<const char*, int> withheld[] = {
        {"unavailable CKA_KEY_TYPE", 0},
        {"unavailable CKA_KEY_TYPE", 1},
        {"unavailable CKA_EC_PARAMS", 1},
        {"unavailable CKA_EC_POINT code CKR_ATTRIBUTE_SENSITIVE", 1},
    };
    for (const auto& c : withheld) {
        SCOPED_TRACE(c.first);
        faults->setRules(c.first);
        std::unique_ptr<ParsedCertificate> certificate = certificateFor(keys[c.second].get());
        std::string expected = std::string("Failed to read the public key's attributes (rc=") +
                               (std::strstr(c.first, "SENSITIVE") ? "17)" : "18)");
        EXPECT_EQ(failureOf([&] { findPublicKeyForCertificate(session, *certificate); }), expected);
        EXPECT_EQ(faults->state().activeSearches, 0u);
    }
}

TEST(FormatTokenDate, IsDayMonthYear) {
    CK_DATE date;
    std::memcpy(date.year, "2024", 4);
    std::memcpy(date.month, "01", 2);
    std::memcpy(date.day, "31", 2);
    EXPECT_EQ(formatTokenDate(date), "31/01/2024");
}

TEST_F(TokenObjectsTest, FailuresLeaveNoSearchOpenAndCarryTheirMessages) {
    Pkcs11Session setup = clientSession();
    enrol(setup, {0x01}, options({0x01}));
    load(true);
    CK_SESSION_HANDLE session = userSession(false);
    CK_OBJECT_HANDLE certificate = findCertificate(session, "020101");
    CK_OBJECT_HANDLE key = hostHandle(session, CKO_PRIVATE_KEY, {0x01});
    CK_OBJECT_HANDLE publicKey = hostHandle(session, CKO_PUBLIC_KEY, {0x01});
    struct Case {
        const char* rules;
        std::function<void()> operation;
        const char* message;
    } cases[] = {
        {"fail C_FindObjectsInit CKR_DEVICE_ERROR", [&] { findCertificates(session); },
         "Error initialising the query for certificates (rc=48)"},
        {"fail C_FindObjects CKR_DEVICE_ERROR call 2", [&] { findCertificates(session); },
         "Error quering token for certificates (rc=48)"},
        {"fail C_FindObjectsFinal CKR_DEVICE_ERROR", [&] { findPublicKeys(session); },
         "Error finalising the public keys query (rc=48)"},
        {"fail C_FindObjects CKR_DEVICE_ERROR", [&] { findCertificate(session, "020101"); },
         "Error quering token for certificates (rc=48)"},
        {"fail C_FindObjectsFinal CKR_DEVICE_ERROR", [&] { findCertificate(session, "020101"); },
         "Error finalising the public keys query (rc=48)"},
        {"fail C_FindObjectsFinal CKR_DEVICE_ERROR", [&] { findCertificate(session, "020199"); },
         "Unable to find cerificate with sn:020199"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 1",
         [&] { findCertificatePrivateKey(session, certificate); },
         "Failed to get certificate id size (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 2",
         [&] { findCertificatePrivateKey(session, certificate); },
         "Failed to get certificate id value (rc=48)"},
        {"fail C_FindObjectsInit CKR_DEVICE_ERROR",
         [&] { findCertificatePublicKey(session, certificate); },
         "Error initialising the query for certificate key (rc=48)"},
        {"fail C_FindObjects CKR_DEVICE_ERROR",
         [&] { findCertificatePublicKey(session, certificate); },
         "Error quering token for certificate key (rc=48)"},
        {"fail C_FindObjects CKR_DEVICE_ERROR", [&] { isOrphanKey(session, key); },
         "Error quering token for certificate key (rc=48)"},
        {"fail C_FindObjectsFinal CKR_DEVICE_ERROR", [&] { isOrphanKey(session, key); },
         "Error finalising the key query (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 1", [&] { isOrphanKey(session, key); },
         "Failed to get key id size (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 2", [&] { readOrphanKey(session, key); },
         "Failed to get key attributes values (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 1",
         [&] { readCertificateInfo(session, certificate); },
         "Failed to get certificate filelds lengths (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 2",
         [&] { readCertificateInfo(session, certificate); },
         "Failed to get certificate filelds values (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 2",
         [&] { readCertificateValue(session, certificate); },
         "Failed to get certificate content value (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR", [&] { isKeyExtractable(session, key); },
         "Failed to get secretKey never-extractable attribute value (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 2",
         [&] { readRsaPublicKey(session, publicKey); },
         "Error retrieving RSA PK modulus and exponent values (rc=48)"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR call 2", [&] { readKeyId(session, key); },
         "Failed to get public key id value (rc=48)"},
    };
    for (const Case& c : cases) {
        faults->setRules(std::string(c.rules) + "\n");
        EXPECT_EQ(failureOf(c.operation), c.message) << c.rules;
        EXPECT_EQ(FaultModule::loadedActiveSearches(), 0u) << c.rules;
        EXPECT_EQ(FaultModule::loadedOpenSessions(), 1u) << c.rules;
    }
}

TEST_F(TokenObjectsTest, AKeySearchThatCannotBeFinalisedIsOnlyLogged) {
    Pkcs11Session setup = clientSession();
    enrol(setup, {0x01}, options({0x01}));
    load(true);
    CK_SESSION_HANDLE session = userSession(false);
    CK_OBJECT_HANDLE certificate = findCertificate(session, "020101");
    CK_OBJECT_HANDLE key = hostHandle(session, CKO_PRIVATE_KEY, {0x01});
    faults->setRules("fail C_FindObjectsFinal CKR_DEVICE_ERROR\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(findCertificatePrivateKey(session, certificate), key);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: Error finalising the key query (rc = 48) ");
    EXPECT_EQ(FaultModule::loadedActiveSearches(), 0u);
}
