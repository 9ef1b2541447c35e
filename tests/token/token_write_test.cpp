#include <gtest/gtest.h>

#include <cstring>
#include <regex>
#include <set>

#include "der/base64.h"
#include "der/certificate_builder.h"
#include "der/der_field.h"
#include "der/hex.h"
#include "der/parsed_certificate.h"
#include "token_fixture.h"

namespace {

Bytes fromBase64(const std::string& text) {
    std::vector<uint8_t> bytes = base64Decode(text);
    return Bytes(bytes.begin(), bytes.end());
}

std::unique_ptr<ParsedCertificate> parse(const Bytes& der) {
    return CertificateBuilder(
               std::make_unique<ByteBuffer>(std::vector<uint8_t>(der.begin(), der.end())))
        .getCertificate();
}

std::string dateText(const Bytes& date) {
    return std::string(date.begin(), date.end());
}

class TokenWriteTest : public TokenTest {
  protected:
    // A key pair made by the binding, as a page's generateKeys makes it.
    KeyPairResult generate(CK_SESSION_HANDLE session) {
        KeyPairResult pair;
        EXPECT_EQ(codeOf([&] { pair = generateKeyPair(session); }), CKR_OK);
        return pair;
    }

    std::string csr(CK_SESSION_HANDLE session, const KeyPairResult& pair) {
        TokenMechanisms mechanisms(token.slot);
        return buildCsr(session, pair.publicKey, pair.privateKey, mechanisms);
    }

    // A certificate a CA issued for a new pair's request, ready to import.
    struct Issued {
        Bytes der;
        std::unique_ptr<ParsedCertificate> certificate;
        CK_OBJECT_HANDLE publicKey = CK_INVALID_HANDLE;
    };
    Issued issueForNewPair(CK_SESSION_HANDLE session, const KeyPairResult& pair) {
        TestCa ca;
        Issued issued;
        issued.der = ca.issue(fromBase64(csr(session, pair)));
        issued.certificate = parse(issued.der);
        issued.publicKey = findPublicKeyForCertificate(session, *issued.certificate);
        return issued;
    }
};

}  // namespace

TEST_F(TokenWriteTest, GeneratedPairsCarryTheirAttributesAndAFreshSharedId) {
    load();
    CK_SESSION_HANDLE session = userSession();
    KeyPairResult first = generate(session);
    KeyPairResult second = generate(session);
    Bytes id = idOf(session, first.publicKey);
    EXPECT_EQ(id.size(), 8u);
    EXPECT_EQ(idOf(session, first.privateKey), id);
    EXPECT_NE(idOf(session, second.publicKey), id) << "two pairs in one second differ";
    Pkcs11Session inspect = clientSession();
    first.publicKey = clientHandle(inspect, CKO_PUBLIC_KEY, id);
    first.privateKey = clientHandle(inspect, CKO_PRIVATE_KEY, id);
    EXPECT_EQ(inspect.getBytes(first.publicKey, CKA_LABEL),
              Bytes({'Q', 'A', 'R', 'N', ' ', 'P', 'K', 0}));
    EXPECT_EQ(inspect.getBytes(first.privateKey, CKA_LABEL),
              Bytes({'Q', 'A', 'R', 'N', ' ', 'S', 'K', 0}));
    EXPECT_EQ(inspect.getNumber(first.publicKey, CKA_CLASS), CKO_PUBLIC_KEY);
    EXPECT_EQ(inspect.getNumber(first.privateKey, CKA_CLASS), CKO_PRIVATE_KEY);
    EXPECT_EQ(inspect.getNumber(first.publicKey, CKA_KEY_TYPE), CKK_RSA);
    EXPECT_EQ(inspect.getNumber(first.publicKey, CKA_MODULUS_BITS), 2048u);
    EXPECT_EQ(inspect.getBytes(first.publicKey, CKA_PUBLIC_EXPONENT), Bytes({0x01, 0x00, 0x01}));
    EXPECT_TRUE(inspect.getBool(first.publicKey, CKA_TOKEN));
    EXPECT_FALSE(inspect.getBool(first.publicKey, CKA_PRIVATE));
    EXPECT_TRUE(inspect.getBool(first.privateKey, CKA_TOKEN));
    EXPECT_TRUE(inspect.getBool(first.privateKey, CKA_PRIVATE));
    EXPECT_FALSE(inspect.getBool(first.privateKey, CKA_EXTRACTABLE));
    EXPECT_TRUE(inspect.getBool(first.privateKey, CKA_NEVER_EXTRACTABLE));
    EXPECT_TRUE(inspect.getBool(first.privateKey, CKA_SENSITIVE));
    EXPECT_FALSE(isKeyExtractable(session, hostHandle(session, CKO_PRIVATE_KEY, id)));
}

TEST_F(TokenWriteTest, KeyIdsAreRandom) {
    std::set<std::vector<uint8_t>> ids;
    for (int i = 0; i < 50; ++i) {
        std::unique_ptr<ByteBuffer> id = generateKeyId();
        ASSERT_EQ(id->getSize(), 8u);
        ids.insert(std::vector<uint8_t>(id->getData(), id->getData() + 8));
    }
    EXPECT_EQ(ids.size(), 50u);
}

TEST(RandomPin, IsCapitalLettersDrawnFromTheWholeAlphabet) {
    std::set<std::string> pins;
    std::set<char> letters;
    for (int i = 0; i < 200; ++i) {
        std::string pin(randomPin(8).view());
        ASSERT_TRUE(std::regex_match(pin, std::regex("[A-Z]{8}"))) << pin;
        pins.insert(pin);
        letters.insert(pin.begin(), pin.end());
    }
    EXPECT_EQ(pins.size(), 200u);
    EXPECT_EQ(letters.size(), 26u);
    EXPECT_EQ(randomPin(0), "");
}

TEST_F(TokenWriteTest, CertificationRequestIsTheFixedLayoutSignedByTheNewKey) {
    load();
    CK_SESSION_HANDLE session = userSession();
    KeyPairResult first = generate(session);
    KeyPairResult second = generate(session);
    std::string text = csr(session, first);
    EXPECT_EQ(text.size(), 920u);
    EXPECT_EQ(text.back(), '=');
    EXPECT_NE(text[text.size() - 2], '=') << "one fill character";
    Bytes der = fromBase64(text);
    ASSERT_EQ(der.size(), 689u);
    CertificationRequest request = parseCertificationRequest(der);
    EXPECT_TRUE(request.signatureValid);
    EXPECT_EQ(request.signatureAlgorithm, "sha256WithRSAEncryption");
    EXPECT_EQ(request.subject, "C=ZZ, ST=VKT, L=Tervin, O=JUX, OU=KW, CN=Pre-enrolled QARN User");
    Pkcs11Session inspect = clientSession();
    CK_OBJECT_HANDLE publicKey =
        clientHandle(inspect, CKO_PUBLIC_KEY, idOf(session, first.publicKey));
    EXPECT_TRUE(samePublicKey(request.publicKey.get(), inspect.publicKey(publicKey).get()));
    // Another pair's request differs only in the key and the signature.
    Bytes other = fromBase64(csr(session, second));
    ASSERT_EQ(other.size(), der.size());
    EXPECT_TRUE(std::equal(der.begin(), der.begin() + 150, other.begin()));
    EXPECT_TRUE(std::equal(der.begin() + 406, der.begin() + 408, other.begin() + 406));
    EXPECT_TRUE(std::equal(der.begin() + 411, der.begin() + 433, other.begin() + 411));
}

TEST_F(TokenWriteTest, CertificationRequestRefusesKeysOfOtherSizes) {
    load();
    CK_SESSION_HANDLE session = userSession();
    Pkcs11Session setup = clientSession();
    setup.generateRsaKeyPair(RsaKeyOptions({0x01}, 1024));
    CK_OBJECT_HANDLE publicKey = hostHandle(session, CKO_PUBLIC_KEY, {0x01});
    CK_OBJECT_HANDLE privateKey = hostHandle(session, CKO_PRIVATE_KEY, {0x01});
    TokenMechanisms mechanisms(token.slot);
    EXPECT_EQ(failureOf([&] { buildCsr(session, publicKey, privateKey, mechanisms); }),
              "Unsupported RSA key size for the CSR");
}

TEST_F(TokenWriteTest, ImportedCertificateJoinsItsKeyPair) {
    load();
    CK_SESSION_HANDLE session = userSession();
    KeyPairResult pair = generate(session);
    Bytes request = fromBase64(csr(session, pair));
    TestCa ca;
    CertificateOptions options;
    options.serial = {0x5A, 0x17, 0xC0, 0xDE};
    options.notBefore = "990215080000Z";
    options.notAfter = "20510301120000Z";
    Bytes der = ca.issue(request, options);
    std::unique_ptr<ParsedCertificate> certificate = parse(der);
    CK_OBJECT_HANDLE publicKey = findPublicKeyForCertificate(session, *certificate);
    EXPECT_EQ(publicKey, pair.publicKey);
    importCertificate(session, *certificate, publicKey);

    Pkcs11Session inspect = clientSession();
    std::vector<CK_OBJECT_HANDLE> stored = inspect.find(CKO_CERTIFICATE);
    ASSERT_EQ(stored.size(), 1u);
    X509Ptr x509 = parseCertificate(der);
    auto encoded = [](auto* value, auto encoder) {
        unsigned char* out = nullptr;
        int length = encoder(value, &out);
        Bytes bytes(out, out + length);
        OPENSSL_free(out);
        return bytes;
    };
    EXPECT_EQ(inspect.getBytes(stored[0], CKA_ID), idOf(session, pair.publicKey));
    EXPECT_EQ(inspect.getBytes(stored[0], CKA_SUBJECT),
              encoded(X509_get_subject_name(x509.get()), i2d_X509_NAME));
    EXPECT_EQ(inspect.getBytes(stored[0], CKA_ISSUER),
              encoded(X509_get_issuer_name(x509.get()), i2d_X509_NAME));
    EXPECT_EQ(inspect.getBytes(stored[0], CKA_SERIAL_NUMBER),
              encoded(X509_get_serialNumber(x509.get()), i2d_ASN1_INTEGER));
    EXPECT_EQ(inspect.getBytes(stored[0], CKA_VALUE), der);
    EXPECT_EQ(dateText(inspect.getBytes(stored[0], CKA_START_DATE)), "19990215");
    EXPECT_EQ(dateText(inspect.getBytes(stored[0], CKA_END_DATE)), "20510301");
    EXPECT_TRUE(inspect.getBool(stored[0], CKA_TOKEN));
    EXPECT_EQ(inspect.getNumber(stored[0], CKA_CERTIFICATE_TYPE), CKC_X_509);

    CK_OBJECT_HANDLE found = findCertificate(session, "02045a17c0de");
    EXPECT_EQ(findCertificatePrivateKey(session, found), pair.privateKey);
    EXPECT_FALSE(isOrphanKey(session, pair.privateKey));
    std::unique_ptr<CertificateInfo> info = readCertificateInfo(session, found);
    Bytes checkValue = inspect.getBytes(stored[0], CKA_CHECK_VALUE);
    EXPECT_EQ(info->subjectDN, "CN=Pre-enrolled QARN User, OU=KW, O=JUX, Tervin, VKT, C=ZZ");
    EXPECT_EQ(info->issuerDN, "CN=Vantrel Test CA, O=Vantrel Tests");
    EXPECT_EQ(info->serialNumber, "5a17c0de");
    EXPECT_EQ(info->validFrom, "15/02/1999");
    EXPECT_EQ(info->validUntil, "01/03/2051");
    EXPECT_EQ(info->subjectAN, "");
    EXPECT_EQ(info->activationCode, hexEncode(checkValue.data(), checkValue.size()));
}

TEST_F(TokenWriteTest, ARefusedImportIsReported) {
    load(true);
    CK_SESSION_HANDLE session = userSession();
    KeyPairResult pair = generate(session);
    Issued issued = issueForNewPair(session, pair);
    faults->setRules("fail C_CreateObject CKR_DEVICE_MEMORY\n");
    EXPECT_EQ(failureOf([&] { importCertificate(session, *issued.certificate, issued.publicKey); }),
              "Error importing certificate on the token (rc=49)");
}

// Some tokens refuse certificate objects with validity dates; the import is
// tried once more without them. Other refusals are not retried.
TEST_F(TokenWriteTest, AnImportRefusedForItsDatesIsRetriedWithoutThem) {
    load(true);
    CK_SESSION_HANDLE session = userSession();
    KeyPairResult pair = generate(session);
    Issued issued = issueForNewPair(session, pair);
    struct Case {
        const char* rules;
        const char* failure;
        unsigned long creates;
        bool datesStored;
    };
    const Case cases[] = {
        {"fail C_CreateObject CKR_TEMPLATE_INCONSISTENT call 1", "", 2, false},
        {"fail C_CreateObject CKR_ATTRIBUTE_TYPE_INVALID call 1", "", 2, false},
        {"fail C_CreateObject CKR_TEMPLATE_INCONSISTENT",
         "Error importing certificate on the token (rc=209)", 2, false},
        {"fail C_CreateObject CKR_ATTRIBUTE_TYPE_INVALID call 1\n"
         "fail C_CreateObject CKR_DEVICE_ERROR call 2",
         "Error importing certificate on the token (rc=48)", 2, false},
        {"fail C_CreateObject CKR_ATTRIBUTE_VALUE_INVALID",
         "Error importing certificate on the token (rc=19)", 1, false},
        {"", "", 1, true},
    };
    Pkcs11Session inspect = clientSession();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules);
        for (CK_OBJECT_HANDLE stored : inspect.find(CKO_CERTIFICATE)) {
            inspect.destroy(stored);
        }
        faults->setRules(c.rules);
        FaultState before = faults->state();
        EXPECT_EQ(
            failureOf([&] { importCertificate(session, *issued.certificate, issued.publicKey); }),
            c.failure);
        EXPECT_EQ(faults->state().callsSince(before)["C_CreateObject"], c.creates);
        std::vector<CK_OBJECT_HANDLE> stored = inspect.find(CKO_CERTIFICATE);
        ASSERT_EQ(stored.size(), std::string(c.failure).empty() ? 1u : 0u);
        if (!stored.empty()) {
            EXPECT_EQ(inspect.getBytes(stored[0], CKA_VALUE), issued.der);
            EXPECT_EQ(inspect.getBytes(stored[0], CKA_ID), idOf(session, pair.publicKey));
            EXPECT_EQ(inspect.getBytes(stored[0], CKA_START_DATE).empty(), !c.datesStored);
            EXPECT_EQ(inspect.getBytes(stored[0], CKA_END_DATE).empty(), !c.datesStored);
        }
    }
}

TEST(CertificateTimeToDate, ReadsBothTimeForms) {
    struct Case {
        uint8_t tag;
        const char* text;
        const char* date;  // YYYYMMDD, or null when refused
    } cases[] = {
        {0x17, "990215080000Z", "19990215"},
        {0x17, "500101000000Z", "19500101"},
        {0x17, "491231235959Z", "20491231"},
        {0x17, "250601", "20250601"},
        {0x18, "20510301120000Z", "20510301"},
        {0x18, "19991231", "19991231"},
        {0x17, "25060", nullptr},
        {0x18, "2051030", nullptr},
        {0x17, "2506a1000000Z", nullptr},
        {0x18, "2051-3-01", nullptr},
        {0x04, "250601000000Z", nullptr},
        {0x17, "", nullptr},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> text(c.text, c.text + std::strlen(c.text));
        DERPrimitive time(c.tag, text.data(), 0, static_cast<int32_t>(text.size()));
        if (c.date == nullptr) {
            EXPECT_EQ(failureOf([&] { certificateTimeToDate(time); }),
                      "Failed to parse certificate")
                << c.text;
            continue;
        }
        CK_DATE date = certificateTimeToDate(time);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&date), sizeof(date)), c.date)
            << c.text;
    }
}

TEST_F(TokenWriteTest, FormatsAndSetsPins) {
    load();
    SoftHsmToken blank{hsm.blankSlot(), "", "", "", ""};
    EXPECT_EQ(codeOf([&] { initToken(blank.slot, "so-secret"); }), CKR_OK);
    CK_SESSION_HANDLE session = openSession(blank.slot, true);
    loginSecurityOfficer(session, "so-secret");
    EXPECT_EQ(codeOf([&] { initUserPin(session, "user-1"); }), CKR_OK);
    logout(session);
    loginUser(session, "user-1");
    EXPECT_EQ(codeOf([&] { setUserPin(session, "user-1", "user-2"); }), CKR_OK);
    EXPECT_EQ(codeOf([&] { setUserPin(session, "wrong", "user-3"); }), CKR_PIN_INCORRECT);
    logout(session);
    EXPECT_EQ(failureOf([&] { loginUser(session, "user-1"); }), "Incorrect PIN  (rc=160)");
    loginUser(session, "user-2");
    logout(session);
    closeSession(session);
    std::unique_ptr<TokenInfo> info = getTokenInfo(blank.slot);
    EXPECT_EQ(info->tokenLabel, "QARN Token");
    // Re-initialising needs the current security officer PIN and no open session.
    EXPECT_EQ(codeOf([&] { initToken(token.slot, "not-the-so-pin"); }), CKR_PIN_INCORRECT);
    CK_SESSION_HANDLE open = openSession(token.slot, false);
    EXPECT_EQ(codeOf([&] { initToken(token.slot, token.soPin); }), CKR_SESSION_EXISTS);
    closeSession(open);
    EXPECT_EQ(codeOf([&] { initToken(token.slot, token.soPin); }), CKR_OK);
}

TEST_F(TokenWriteTest, TokenLabelIsThirtyTwoBytesBlankPadded) {
    load(true);
    EXPECT_EQ(codeOf([&] { initToken(hsm.blankSlot(), "so-secret"); }), CKR_OK);
    Pkcs11Client fresh(SoftHsm::modulePath(), Pkcs11Client::Instance::Fresh);
    bool seen = false;
    for (CK_SLOT_ID slot : fresh.slots()) {
        CK_TOKEN_INFO info = fresh.tokenInfo(slot);
        std::string label(reinterpret_cast<const char*>(info.label), sizeof(info.label));
        if (label.rfind("QARN", 0) == 0) {
            EXPECT_EQ(label, "QARN Token" + std::string(22, ' '));
            seen = true;
        }
    }
    EXPECT_TRUE(seen);
}

TEST_F(TokenWriteTest, DestroysObjects) {
    load();
    CK_SESSION_HANDLE session = userSession();
    KeyPairResult pair = generate(session);
    EXPECT_EQ(codeOf([&] { destroyObject(session, pair.publicKey, "not deleted"); }), CKR_OK);
    EXPECT_EQ(codeOf([&] { destroyObject(session, pair.publicKey, "not deleted"); }),
              CKR_OBJECT_HANDLE_INVALID);
    EXPECT_EQ(findPublicKeys(session).size(), 0u);
    EXPECT_EQ(findPrivateKeys(session).size(), 1u);
}
