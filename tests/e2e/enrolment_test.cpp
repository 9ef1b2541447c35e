// Enrolment through the running host: a key pair and its certification
// request made on the token, a certificate issued for it outside the host and
// imported beside its keys, then used and deleted.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/host_fixture.h"
#include "e2e/replies.h"

namespace e2e {
namespace {

const std::string kCsrSubjectDN = "CN=Pre-enrolled QARN User, OU=KW, O=JUX, Tervin, VKT, C=ZZ";

std::string generateKeys(const std::string& tokenSN, const std::string& result = "csr") {
    return R"({"action":"generateKeys","tokenSN":")" + tokenSN + R"(","result":")" + result + "\"}";
}

std::string generateKeysWith(const std::string& tokenSN, const std::string& algorithm) {
    return R"({"action":"generateKeys","tokenSN":")" + tokenSN +
           R"(","result":"csr","algorithm":")" + algorithm + "\"}";
}

std::string importCertificate(const Bytes& der) {
    return R"({"action":"importCertificate","certificate":")" + base64Text(der) + "\"}";
}

std::string orphanKeys(const std::string& tokenSN, const std::string& keyType) {
    return R"({"action":"getOrphanKeys","tokenSN":")" + tokenSN + R"(","keyType":")" + keyType +
           "\"}";
}

class EnrolmentTest : public HostTest {
  protected:
    // The certification request of a generateKeys reply, checked for its
    // form (an RSA-2048 request's base64 is 920 characters).
    Bytes csrOf(const std::string& reply, const std::string& tokenSN, size_t length = 920) {
        nlohmann::json json = nlohmann::json::parse(reply);
        EXPECT_EQ(json.size(), 3u) << reply;
        EXPECT_EQ(json["action"], "generateKeys");
        EXPECT_EQ(json["tokenSN"], tokenSN);
        std::string text = json.value("csr", "");
        if (length != 0) {
            EXPECT_EQ(text.size(), length);
        }
        return base64Bytes(text);
    }

    void loginForWriting() {
        ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
                  R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    }

    SoftHsmToken alpha = hsm.createToken("Alpha");
};

TEST_F(EnrolmentTest, EnrolsSignsAndDeletesACertificate) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    EXPECT_EQ(ask(orphanKeys(alpha.serial, "public")), orphanKeysReply(alpha.serial, ""));

    Bytes csr = csrOf(ask(generateKeys(alpha.serial)), alpha.serial);
    ASSERT_EQ(csr.size(), 689u);
    CertificationRequest request = parseCertificationRequest(csr);
    EXPECT_TRUE(request.signatureValid);
    EXPECT_EQ(request.signatureAlgorithm, "sha256WithRSAEncryption");
    EXPECT_EQ(request.subject, "C=ZZ, ST=VKT, L=Tervin, O=JUX, OU=KW, CN=Pre-enrolled QARN User");

    Pkcs11Session session = userSession(alpha);
    std::vector<CK_OBJECT_HANDLE> publicKeys = session.find(CKO_PUBLIC_KEY);
    ASSERT_EQ(publicKeys.size(), 1u);
    EXPECT_TRUE(samePublicKey(session.publicKey(publicKeys[0]).get(), request.publicKey.get()));
    Bytes id = session.getBytes(publicKeys[0], CKA_ID);
    EXPECT_EQ(id.size(), 8u);
    // Until the certificate comes, both halves are orphans.
    EXPECT_EQ(ask(orphanKeys(alpha.serial, "public")),
              orphanKeysReply(alpha.serial, R"({"id":")" + hexOf(id) + R"(","keyType":"public"})"));
    EXPECT_EQ(
        ask(orphanKeys(alpha.serial, "private")),
        orphanKeysReply(alpha.serial, R"({"id":")" + hexOf(id) + R"(","keyType":"private"})"));

    CertificateOptions options;
    options.serial = {0x5a, 0x17, 0xc0, 0xde, 0x42};
    options.subjectAltName = "otherName:1.3.6.1.4.1.311.20.2.3;UTF8:user@example.com";
    Bytes der = ca->issue(csr, options);
    EXPECT_EQ(ask(importCertificate(der)), R"({"action":"importCertificate"})");

    std::vector<CK_OBJECT_HANDLE> certificates = session.find(CKO_CERTIFICATE, id);
    ASSERT_EQ(certificates.size(), 1u);
    EXPECT_EQ(session.getBytes(certificates[0], CKA_VALUE), der);
    StoredCertificate stored;
    stored.serialNumber = "5a17c0de42";
    stored.activationCode = hexOf(session.getBytes(certificates[0], CKA_CHECK_VALUE));
    ASSERT_FALSE(stored.activationCode.empty());
    std::string before = host->errorText();
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":")" + alpha.serial + "\"}"),
              R"({"action":"listCertificates","certificates":[)" +
                  certificateRecord(stored, issuerDN, "Principal=user@example.com", kCsrSubjectDN,
                                    alpha.serial, "01/01/2025", "01/01/2035") +
                  "]}");
    // The request's state and locality have no label of their own.
    EXPECT_EQ(host->errorText().substr(before.size()),
              "Unknown DN field ID = 08Unknown DN field ID = 07");

    // A request names the certificate by its whole DER INTEGER.
    const std::string certificateSN = "0205" + stored.serialNumber;
    const std::string payload = "Pay 10 EUR to account 42";
    nlohmann::json signed_ =
        nlohmann::json::parse(ask(R"({"action":"sign","certificateSN":")" + certificateSN +
                                  R"(","payload":")" + payload + "\"}"));
    EXPECT_TRUE(verifyRsaSha256(der, toBytes(payload), base64Bytes(signed_.value("signature", ""))))
        << signed_.dump();

    EXPECT_EQ(ask(orphanKeys(alpha.serial, "public")), orphanKeysReply(alpha.serial, ""));
    EXPECT_EQ(ask(orphanKeys(alpha.serial, "private")), orphanKeysReply(alpha.serial, ""));

    EXPECT_EQ(ask(R"({"action":"deleteCertificate","certificateSN":")" + certificateSN + "\"}"),
              R"({"action":"deleteCertificate","certificateSN":")" + certificateSN + "\"}");
    EXPECT_TRUE(session.find(CKO_CERTIFICATE).empty());
    EXPECT_TRUE(session.find(CKO_PUBLIC_KEY).empty());
    EXPECT_TRUE(session.find(CKO_PRIVATE_KEY).empty());
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":")" + alpha.serial + "\"}"),
              R"({"action":"listCertificates","certificates":[]})");
}

TEST_F(EnrolmentTest, GenerateKeysNeedsAWriteLogin) {
    start();
    const std::string refused =
        R"({"action":"generateKeys","error":"Need to be logged in in rw mode to token to be able to generate keypair","tokenSN":")" +
        alpha.serial + "\"}";
    EXPECT_EQ(ask(generateKeys(alpha.serial)), refused);
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    EXPECT_EQ(ask(generateKeys(alpha.serial)), refused);
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    fault.setRules("fail C_GenerateKeyPair CKR_DEVICE_ERROR\n");
    EXPECT_EQ(
        ask(generateKeys(alpha.serial)),
        R"j({"action":"generateKeys","error":"Failed to generate keypair on the token (rc=48)","tokenSN":")j" +
            alpha.serial + "\"}");
    Pkcs11Session session = userSession(alpha);
    EXPECT_TRUE(session.find(CKO_PUBLIC_KEY).empty());
    EXPECT_TRUE(session.find(CKO_PRIVATE_KEY).empty());
}

// The request's serial is only echoed and its "result" not consulted: the
// pair is made on the logged-in token and the answer is always a request.
TEST_F(EnrolmentTest, GenerateKeysWorksOnTheLoggedInTokenWhateverTheRequestNames) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    Bytes csr = csrOf(ask(generateKeys("elsewhere", "publicKey")), "elsewhere");
    EXPECT_TRUE(parseCertificationRequest(csr).signatureValid);
    Pkcs11Session session = userSession(alpha);
    EXPECT_EQ(session.count(CKO_PUBLIC_KEY), 1u);
    EXPECT_EQ(session.count(CKO_PRIVATE_KEY), 1u);
}

// A pair whose certification request cannot be made is destroyed again, the
// private key first, before the error is answered; a key that cannot be
// destroyed is logged and left, and the request's error is still the reply.
TEST_F(EnrolmentTest, AFailedGenerateKeysLeavesNoKeyPairBehind) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    const std::string failed =
        R"j({"action":"generateKeys","error":"Failed to init signatiure generation (rc=48)","tokenSN":")j" +
        alpha.serial + "\"}";
    struct Case {
        std::string rules;
        std::string logged;
        size_t publicKeysLeft, privateKeysLeft;
    };
    const std::string destroyFailed = "Failed to delete a generated key (rc=48)\n";
    const std::vector<Case> cases = {
        {"", "", 0, 0},
        {"fail C_DestroyObject CKR_DEVICE_ERROR call 1\n", destroyFailed, 0, 1},
        {"fail C_DestroyObject CKR_DEVICE_ERROR call 2\n", destroyFailed, 1, 1},
        {"fail C_DestroyObject CKR_DEVICE_ERROR\n", destroyFailed + destroyFailed, 2, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules);
        fault.setRules("fail C_SignInit CKR_DEVICE_ERROR\n" + c.rules);
        std::string before = host->errorText();
        EXPECT_EQ(ask(generateKeys(alpha.serial)), failed);
        EXPECT_EQ(host->errorText().substr(before.size()), c.logged);
        Pkcs11Session session = userSession(alpha);
        EXPECT_EQ(session.count(CKO_PUBLIC_KEY), c.publicKeysLeft);
        EXPECT_EQ(session.count(CKO_PRIVATE_KEY), c.privateKeysLeft);
    }
}

// generateKeys makes RSA-2048 pairs that sign their own request: a token
// without the means for both is refused before anything is made.
TEST_F(EnrolmentTest, GenerateKeysRefusesATokenThatCannotMakeSigningRsaPairs) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    const std::string refused =
        R"({"action":"generateKeys","error":"The token cannot generate RSA-2048 key pairs","tokenSN":")" +
        alpha.serial + "\"}";
    struct Case {
        std::string rules;
        std::string reply;
    };
    const std::vector<Case> cases = {
        {"withdraw CKM_RSA_PKCS_KEY_PAIR_GEN\n", refused},
        {"withdraw CKM_SHA256_RSA_PKCS\nwithdraw CKM_RSA_PKCS\n", refused},
        {"fail C_GetMechanismList CKR_DEVICE_ERROR\n",
         R"j({"action":"generateKeys","error":"Failed to read the token's mechanisms (rc=48)","tokenSN":")j" +
             alpha.serial + "\"}"},
    };
    for (const Case& c : cases) {
        // A fresh login: the mechanisms are read once per login.
        ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
                  R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
        fault.setRules(c.rules);
        FaultState before = fault.state();
        EXPECT_EQ(ask(generateKeys(alpha.serial)), c.reply) << c.rules;
        EXPECT_EQ(fault.state().callsSince(before).count("C_GenerateKeyPair"), 0u);
    }
    fault.clearRules();
    Pkcs11Session session = userSession(alpha);
    EXPECT_EQ(session.count(CKO_PUBLIC_KEY), 0u);
    EXPECT_EQ(session.count(CKO_PRIVATE_KEY), 0u);

    // Without CKM_SHA256_RSA_PKCS the request is signed through CKM_RSA_PKCS:
    // the same request, verified with the new key.
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    fault.setRules("withdraw CKM_SHA256_RSA_PKCS\n");
    CertificationRequest request =
        parseCertificationRequest(csrOf(ask(generateKeys(alpha.serial)), alpha.serial));
    EXPECT_TRUE(request.signatureValid);
    EXPECT_EQ(request.signatureAlgorithm, "sha256WithRSAEncryption");
}

// An EC pair on either curve: its request (signed with ECDSA on the token)
// verifies, a certificate issued for it imports beside the pair and signs.
TEST_F(EnrolmentTest, EnrolsEcKeyPairsOnBothCurvesAndSignsWithThem) {
    start();
    loginForWriting();
    struct Case {
        const char* algorithm;
        EcCurve curve;
        uint8_t serial;
    };
    const Case cases[] = {{"EC-P256", EcCurve::P256, 0x61}, {"EC-P384", EcCurve::P384, 0x62}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.algorithm);
        Bytes csr = csrOf(ask(generateKeysWith(alpha.serial, c.algorithm)), alpha.serial, 0);
        CertificationRequest request = parseCertificationRequest(csr);
        EXPECT_TRUE(request.signatureValid);
        EXPECT_EQ(request.signatureAlgorithm, "ecdsa-with-SHA256");
        EXPECT_EQ(request.subject,
                  "C=ZZ, ST=VKT, L=Tervin, O=JUX, OU=KW, CN=Pre-enrolled QARN User");

        Pkcs11Session session = userSession(alpha);
        Attributes newPublicKey;
        newPublicKey.number(CKA_CLASS, CKO_PUBLIC_KEY).bytes(CKA_EC_PARAMS, ecCurveParams(c.curve));
        std::vector<CK_OBJECT_HANDLE> publicKeys = session.find(newPublicKey);
        ASSERT_EQ(publicKeys.size(), 1u);
        EXPECT_TRUE(
            samePublicKey(session.ecPublicKey(publicKeys[0]).get(), request.publicKey.get()));
        Bytes id = session.getBytes(publicKeys[0], CKA_ID);
        EXPECT_EQ(id.size(), 8u);
        EXPECT_EQ(session.getBytes(publicKeys[0], CKA_LABEL), toBytes(std::string("QARN PK", 8)));
        std::vector<CK_OBJECT_HANDLE> privateKeys = session.find(CKO_PRIVATE_KEY, id);
        ASSERT_EQ(privateKeys.size(), 1u);
        EXPECT_EQ(session.getNumber(privateKeys[0], CKA_KEY_TYPE), CKK_EC);
        EXPECT_EQ(session.getBytes(privateKeys[0], CKA_LABEL), toBytes(std::string("QARN SK", 8)));
        EXPECT_TRUE(session.getBool(privateKeys[0], CKA_SENSITIVE));
        EXPECT_FALSE(session.getBool(privateKeys[0], CKA_EXTRACTABLE));
        EXPECT_TRUE(session.getBool(privateKeys[0], CKA_PRIVATE));

        CertificateOptions options;
        options.serial = {c.serial};
        Bytes der = ca->issue(csr, options);
        EXPECT_EQ(ask(importCertificate(der)), R"({"action":"importCertificate"})");
        std::vector<CK_OBJECT_HANDLE> certificates = session.find(CKO_CERTIFICATE, id);
        ASSERT_EQ(certificates.size(), 1u);
        EXPECT_EQ(session.getBytes(certificates[0], CKA_VALUE), der);

        const std::string payload = std::string("Signed with ") + c.algorithm;
        nlohmann::json reply = nlohmann::json::parse(
            ask(R"({"action":"sign","certificateSN":"0201)" + hexOf(Bytes{c.serial}) +
                R"(","payload":")" + payload + "\"}"));
        EXPECT_TRUE(verifyEcdsaSha256(certificatePublicKey(der).get(), toBytes(payload),
                                      base64Bytes(reply.value("signature", ""))))
            << reply.dump();
        EXPECT_EQ(ask(orphanKeys(alpha.serial, "public")), orphanKeysReply(alpha.serial, ""));
    }
}

// Once a token holds EC keys, an RSA certificate still finds its key among
// them, and an RSA enrolment leaves no orphans behind.
TEST_F(EnrolmentTest, AnRsaEnrolmentSucceedsOnATokenThatHoldsEcKeys) {
    {
        Pkcs11Session session = userSession(alpha);
        session.generateEcKeyPair(toBytes("ec one"), EcCurve::P256);
        session.generateEcKeyPair(toBytes("ec two"), EcCurve::P384);
    }
    start();
    loginForWriting();
    Bytes csr = csrOf(ask(generateKeys(alpha.serial)), alpha.serial);
    CertificateOptions options;
    options.serial = {0x63};
    EXPECT_EQ(ask(importCertificate(ca->issue(csr, options))), R"({"action":"importCertificate"})");
    // The EC pairs are still orphans, in the token's order; the new pair is not.
    nlohmann::json orphans = nlohmann::json::parse(ask(orphanKeys(alpha.serial, "private")));
    std::vector<std::string> ids;
    for (const auto& key : orphans["orphanKeys"]) {
        ids.push_back(key["id"]);
    }
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(ids, (std::vector<std::string>{hexOf(toBytes("ec one")), hexOf(toBytes("ec two"))}))
        << orphans.dump();
}

// An EC pair is made only on a token that can make it and sign its request
// with ECDSA; a pair whose request fails is destroyed again.
TEST_F(EnrolmentTest, GenerateKeysRefusesATokenThatCannotMakeSigningEcPairs) {
    start();
    auto reply = [&](const std::string& error) {
        return R"({"action":"generateKeys","error":")" + error + R"(","tokenSN":")" + alpha.serial +
               "\"}";
    };
    struct Case {
        const char* algorithm;
        std::string rules;
        std::string error;
        bool generates;
    };
    const std::vector<Case> cases = {
        {"EC-P256", "withdraw CKM_EC_KEY_PAIR_GEN", "The token cannot generate EC P-256 key pairs",
         false},
        {"EC-P384", "withdraw CKM_ECDSA", "The token cannot generate EC P-384 key pairs", false},
        // SoftHSM2 lists no CKM_ECDSA_SHA256, and refuses it when asked.
        {"EC-P384", "withdraw CKM_ECDSA\noffer CKM_ECDSA_SHA256",
         "Failed to init signatiure generation (rc=112)", true},
        {"EC-P256", "unavailable CKA_EC_POINT",
         "Failed to read the public key's attributes (rc=18)", true},
        {"EC-P256", "fail C_GenerateKeyPair CKR_DEVICE_ERROR",
         "Failed to generate keypair on the token (rc=48)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules);
        loginForWriting();
        fault.setRules(c.rules);
        FaultState before = fault.state();
        EXPECT_EQ(ask(generateKeysWith(alpha.serial, c.algorithm)), reply(c.error));
        EXPECT_EQ(fault.state().callsSince(before).count("C_GenerateKeyPair"),
                  c.generates ? 1u : 0u);
        fault.clearRules();
        Pkcs11Session session = userSession(alpha);
        EXPECT_EQ(session.count(CKO_PUBLIC_KEY), 0u);
        EXPECT_EQ(session.count(CKO_PRIVATE_KEY), 0u);
    }
}

TEST_F(EnrolmentTest, ImportCertificateRefusals) {
    Bytes tokenKeyCertificate;
    {
        Pkcs11Session session = userSession(alpha);
        KeyPair pair = session.generateRsaKeyPair(RsaKeyOptions(toBytes("pair"), 1024));
        CertificateOptions options;
        options.subject = "/CN=On The Token";
        tokenKeyCertificate = ca->issueForKey(session.publicKey(pair.publicKey).get(), options);
    }
    CertificateOptions options;
    options.subject = "/CN=Elsewhere";
    Bytes foreign = ca->issueForKey(generateRsaKey(1024).get(), options);
    start();
    const std::string needsLogin =
        R"({"action":"importCertificate","error":"Must login in write mode to be able to import certificate"})";
    EXPECT_EQ(ask(importCertificate(tokenKeyCertificate)), needsLogin);
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");
    EXPECT_EQ(ask(importCertificate(tokenKeyCertificate)), needsLogin);
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)),
              R"({"action":"login","tokenSN":")" + alpha.serial + "\"}");

    struct Case {
        std::string rules;
        Bytes certificate;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"", foreign, "Can't find certificate public key on the token"},
        {"", Bytes{0x30, 0x00}, "Failed to parse certificate"},
        {"", Bytes(tokenKeyCertificate.begin(), tokenKeyCertificate.begin() + 100),
         "DER field runs past the end of the data"},
        {"fail C_CreateObject CKR_DEVICE_ERROR", tokenKeyCertificate,
         "Error importing certificate on the token (rc=48)"},
    };
    for (const Case& c : cases) {
        fault.setRules(c.rules);
        EXPECT_EQ(ask(importCertificate(c.certificate)),
                  R"({"action":"importCertificate","error":")" + c.error + "\"}");
    }
    fault.clearRules();
    Pkcs11Session session = userSession(alpha);
    EXPECT_TRUE(session.find(CKO_CERTIFICATE).empty());
    EXPECT_EQ(ask(importCertificate(tokenKeyCertificate)), R"({"action":"importCertificate"})");
    EXPECT_EQ(session.find(CKO_CERTIFICATE, toBytes("pair")).size(), 1u);
}

}  // namespace
}  // namespace e2e
