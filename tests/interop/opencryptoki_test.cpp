// The host with openCryptoki's software token (OpenCryptokiToken): a token
// behind a slot daemon that offers fewer mechanisms than SoftHSM2.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "interop/interop_host.h"
#include "interop/opencryptoki_token.h"
#include "support/crypto.h"
#include "support/pkcs11_client.h"

namespace interop {
namespace {

class OpenCryptokiTest : public InteropHostTest {
  protected:
    void SetUp() override {
        INTEROP_SKIP_UNLESS_ROOT("openCryptoki's slot daemon");
        token.emplace();
    }

    std::string loginReply(const std::string& error = "") const {
        return interop::loginReply(token->serial(), error);
    }

    std::optional<OpenCryptokiToken> token;
};

// What the tests of signing on this token rely on: it signs only through
// raw CKM_RSA_PKCS (the caller supplies the DigestInfo) and has no EC.
TEST_F(OpenCryptokiTest, TheTokenSignsRsaOnlyWithoutAHashMechanism) {
    EXPECT_TRUE(token->offers(CKM_RSA_PKCS_KEY_PAIR_GEN));
    EXPECT_TRUE(token->offers(CKM_RSA_PKCS));
    EXPECT_FALSE(token->offers(CKM_SHA256_RSA_PKCS));
    EXPECT_FALSE(token->offers(CKM_ECDSA));
    EXPECT_FALSE(token->offers(CKM_EC_KEY_PAIR_GEN));
}

TEST_F(OpenCryptokiTest, ListTokensAndLogin) {
    startHost(OpenCryptokiToken::modulePath());
    EXPECT_EQ(ask(R"({"action":"listTokens"})"),
              R"({"action":"listTokens","tokens":[)" + tokenRecord(token->tokenInfo()) + "]}");
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[]})");
    EXPECT_EQ(ask(login(token->serial(), "9999", false)), loginReply("Incorrect PIN  (rc=160)"));
    EXPECT_EQ(ask(login(token->serial(), token->userPin(), true)), loginReply());
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"libvantrel_pkcs11_fault.so","host":"1.4","model":"IBM SoftTok","pmax":8.000000,"pmin":4.000000,"token":"123"})");
}

TEST_F(OpenCryptokiTest, ChangePinTakesTheNewPin) {
    startHost(OpenCryptokiToken::modulePath());
    const std::string newPin = "86427531";
    ASSERT_EQ(ask(login(token->serial(), token->userPin(), true)), loginReply());
    EXPECT_EQ(ask(R"({"action":"changePIN","tokenSN":"123","oldPIN":")" + token->userPin() +
                  R"(","newPIN":")" + newPin + "\"}"),
              R"({"action":"changePIN","tokenSN":"123"})");
    EXPECT_EQ(ask(login(token->serial(), token->userPin(), false)),
              loginReply("Incorrect PIN  (rc=160)"));
    EXPECT_EQ(ask(login(token->serial(), newPin, false)), loginReply());
}

// A key pair left without a certificate (as a failed enrolment leaves one)
// is found and deleted.
TEST_F(OpenCryptokiTest, OrphanKeysAreListedAndDeleted) {
    {
        Pkcs11Client client(OpenCryptokiToken::modulePath());
        Pkcs11Session session = client.openSession(token->slot());
        session.login(CKU_USER, token->userPin());
        session.generateRsaKeyPair(RsaKeyOptions({0x0a, 0x11}, 2048));
    }
    startHost(OpenCryptokiToken::modulePath());
    ASSERT_EQ(ask(login(token->serial(), token->userPin(), true)), loginReply());
    for (const char* keyType : {"private", "public"}) {
        EXPECT_EQ(ask(R"({"action":"getOrphanKeys","tokenSN":"123","keyType":")" +
                      std::string(keyType) + "\"}"),
                  R"({"action":"getOrphanKeys","orphanKeys":[{"id":"0a11","keyType":")" +
                      std::string(keyType) + R"("}],"tokenSN":"123"})");
    }
    EXPECT_EQ(
        ask(R"({"action":"deleteOrphanKeys","tokenSN":"123","keyType":"private"})"),
        R"({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":1.000000,"tokenSN":"123"})");
    EXPECT_EQ(
        ask(R"({"action":"deleteOrphanKeys","tokenSN":"123","keyType":"public"})"),
        R"({"action":"deleteOrphanKeys","deletedPK":1.000000,"deletedSK":0.000000,"tokenSN":"123"})");
    EXPECT_EQ(ask(R"({"action":"getOrphanKeys","tokenSN":"123","keyType":"private"})"),
              R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":"123"})");
}

TEST_F(OpenCryptokiTest, GetAndDeleteACertificateKnownBeforehand) {
    TokenCertificate stored =
        token->addCertificate({0x0c, 0x01}, "/C=ZZ/O=Vantrel Tests/CN=Token Holder", {0x7a, 0x01});
    startHost(OpenCryptokiToken::modulePath());
    ASSERT_EQ(ask(login(token->serial(), token->userPin(), true)), loginReply());
    const std::string certificateSN = stored.fields.certificateSN;
    nlohmann::json got = askJson(getCertificateRequest(certificateSN));
    EXPECT_EQ(base64Bytes(got.value("certificate", "")), stored.der) << got.dump();
    EXPECT_EQ(ask(R"({"action":"deleteCertificate","certificateSN":")" + certificateSN + "\"}"),
              R"({"action":"deleteCertificate","certificateSN":")" + certificateSN + "\"}");
    // The certificate went with its key pair.
    EXPECT_EQ(ask(R"({"action":"getOrphanKeys","tokenSN":"123","keyType":"public"})"),
              R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":"123"})");
    Pkcs11Client client(OpenCryptokiToken::modulePath());
    Pkcs11Session session = client.openSession(token->slot());
    session.login(CKU_USER, token->userPin());
    EXPECT_EQ(session.count(CKO_CERTIFICATE), 0u);
    EXPECT_EQ(session.count(CKO_PRIVATE_KEY), 0u);
}

// The whole enrolment round as a page makes it on this token: a key pair and
// its certification request (signed through CKM_RSA_PKCS, the token having
// no CKM_SHA256_RSA_PKCS), a certificate from a CA, its import (retried
// without the dates the token refuses), the listing, and a signature.
TEST_F(OpenCryptokiTest, EnrolsListsAndSigns) {
    startHost(OpenCryptokiToken::modulePath());
    ASSERT_EQ(ask(login(token->serial(), token->userPin(), true)), loginReply());
    nlohmann::json generated =
        askJson(R"({"action":"generateKeys","tokenSN":"123","result":"csr"})");
    Bytes csr = base64Bytes(generated.value("csr", ""));
    ASSERT_EQ(csr.size(), 689u) << generated.dump();
    CertificationRequest request = parseCertificationRequest(csr);
    EXPECT_TRUE(request.signatureValid);

    TestCa ca;
    CertificateOptions options;
    options.serial = {0x7a, 0x02};
    Bytes der = ca.issue(csr, options);
    EXPECT_EQ(ask(R"({"action":"importCertificate","certificate":")" + base64Text(der) + "\"}"),
              R"({"action":"importCertificate"})");

    CertificateFields fields = readCertificateFields(der);
    {
        Pkcs11Client client(OpenCryptokiToken::modulePath());
        Pkcs11Session session = client.openSession(token->slot());
        session.login(CKU_USER, token->userPin());
        std::vector<CK_OBJECT_HANDLE> certificates = session.find(CKO_CERTIFICATE);
        ASSERT_EQ(certificates.size(), 1u);
        fields = listedFields(session, certificates[0]);
        // The generated private key keeps its secret, whatever the token's default.
        std::vector<CK_OBJECT_HANDLE> privateKeys = session.find(CKO_PRIVATE_KEY);
        ASSERT_EQ(privateKeys.size(), 1u);
        EXPECT_TRUE(session.getBool(privateKeys[0], CKA_SENSITIVE));
        EXPECT_FALSE(session.getBool(privateKeys[0], CKA_EXTRACTABLE));
    }
    EXPECT_EQ(fields.validFrom, "") << "stored without its dates";
    // The request's state and locality have no label of their own.
    fields.subjectDN = "CN=Pre-enrolled QARN User, OU=KW, O=JUX, Tervin, VKT, C=ZZ";
    const std::string listing = R"({"action":"listCertificates","certificates":[)" +
                                certificateRecord(fields, token->serial()) + "]}";
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"), listing);
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":"123"})"), listing);

    const std::string payload = "Signed on openCryptoki";
    nlohmann::json reply = askJson(signRequest(fields.certificateSN, payload));
    EXPECT_TRUE(verifyRsaSha256(der, toBytes(payload), base64Bytes(reply.value("signature", ""))))
        << reply.dump();
    for (const char* keyType : {"private", "public"}) {
        EXPECT_EQ(ask(R"({"action":"getOrphanKeys","tokenSN":"123","keyType":")" +
                      std::string(keyType) + "\"}"),
                  R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":"123"})");
    }
}

// What the token refuses is answered clearly and leaves nothing behind: a
// key pair whose request cannot be signed is destroyed again.
TEST_F(OpenCryptokiTest, RefusalsAreAnsweredAndLeaveNothingBehind) {
    startHost(OpenCryptokiToken::modulePath());
    ASSERT_EQ(ask(login(token->serial(), token->userPin(), true)), loginReply());
    counter->setRules("fail C_SignInit CKR_DEVICE_ERROR\n");
    EXPECT_EQ(
        ask(R"({"action":"generateKeys","tokenSN":"123","result":"csr"})"),
        R"j({"action":"generateKeys","error":"Failed to init signatiure generation (rc=48)","tokenSN":"123"})j");
    counter->clearRules();
    EXPECT_EQ(ask(R"({"action":"getOrphanKeys","tokenSN":"123","keyType":"private"})"),
              R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":"123"})");
    EXPECT_EQ(ask(R"({"action":"getOrphanKeys","tokenSN":"123","keyType":"public"})"),
              R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":"123"})");

    // PINs longer than the token takes, and a format with a wrong SO PIN.
    EXPECT_EQ(
        ask(R"({"action":"changePIN","tokenSN":"123","oldPIN":")" + token->userPin() +
            R"(","newPIN":"123456789"})"),
        R"j({"action":"changePIN","error":"Failed to set token PIN (rc=162)","tokenSN":"123"})j");
    EXPECT_EQ(
        ask(R"({"action":"formatToken","tokenSN":"123","tokenPIN":"11112222","adminPIN":"00000000"})"),
        R"j({"action":"formatToken","error":"Failed to format the token (rc=160)","tokenSN":"123"})j");
    EXPECT_EQ(ask(login(token->serial(), token->userPin(), false)), loginReply());
}

}  // namespace
}  // namespace interop
