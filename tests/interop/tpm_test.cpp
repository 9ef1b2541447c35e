// The host with a TPM 2.0 as its token (TpmTokens: tpm2-pkcs11 over swtpm):
// every action of the host, on a module that names every token and its
// empty slot by one serial number, pads its model with NULs and keeps RSA
// and EC keys side by side.
#include <gtest/gtest.h>

#include <iostream>
#include <optional>
#include <string>

#include "interop/interop_host.h"
#include "interop/tpm_tokens.h"
#include "support/crypto.h"

namespace interop {
namespace {

const std::string kSerial = TpmTokens::serial();
const std::string kLabel = "Vantrel TPM";
const std::string kCsrSubjectDN = "CN=Pre-enrolled QARN User, OU=KW, O=JUX, Tervin, VKT, C=ZZ";

std::string tokenRecord(const std::string& label, const std::string& serial, int pmin, int pmax) {
    return R"({"pmax":)" + std::to_string(static_cast<double>(pmax)) + R"(,"pmin":)" +
           std::to_string(static_cast<double>(pmin)) + R"(,"tokenLabel":")" + label +
           R"(","tokenModel":"SW   TPM","tokenSN":")" + serial + "\"}";
}

std::string orphanKeysRequest(const std::string& keyType) {
    return R"({"action":"getOrphanKeys","tokenSN":")" + kSerial + R"(","keyType":")" + keyType +
           "\"}";
}

std::string noOrphanKeys() {
    return R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":")" + kSerial + "\"}";
}

class TpmTest : public InteropHostTest {
  protected:
    void SetUp() override {
        tpm.emplace();
        tpm->addToken(kLabel);
    }

    void TearDown() override {
        InteropHostTest::TearDown();
        if (HasFailure() && tpm) {
            std::cerr << "The TPM's daemons said:\n" << tpm->logs();
        }
    }

    void loginForWriting() {
        ASSERT_EQ(ask(login(kSerial, TpmTokens::userPin(), true)), loginReply(kSerial));
    }

    // generateKeys, a certificate from the test CA for its request, the
    // import, and the certificate's record in the listing. Returns the
    // certificate.
    Bytes enrol(const std::string& algorithm, uint8_t serial,
                const std::string& signatureAlgorithm) {
        nlohmann::json generated = askJson(R"({"action":"generateKeys","tokenSN":")" + kSerial +
                                           R"(","result":"csr","algorithm":")" + algorithm + "\"}");
        Bytes csr = base64Bytes(generated.value("csr", ""));
        CertificationRequest request = parseCertificationRequest(csr);
        EXPECT_TRUE(request.signatureValid) << generated.dump();
        EXPECT_EQ(request.signatureAlgorithm, signatureAlgorithm);
        CertificateOptions options;
        options.serial = {serial};
        Bytes der = ca.issue(csr, options);
        EXPECT_EQ(ask(R"({"action":"importCertificate","certificate":")" + base64Text(der) + "\"}"),
                  R"({"action":"importCertificate"})");
        return der;
    }

    std::string sign(uint8_t serial, const std::string& payload) {
        nlohmann::json reply = askJson(signRequest("0201" + hexOf(Bytes{serial}), payload));
        return reply.value("signature", reply.dump());
    }

    std::optional<TpmTokens> tpm;
    TestCa ca;
};

// The listing names the empty slot by the empty serial (its module reports
// the tokens' serial for it) and shows the model without its NUL padding.
TEST_F(TpmTest, ListsTheTokenAndTheBlankSlotAndLogsIn) {
    startHost(TpmTokens::modulePath());
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), R"({"action":"listTokens","tokens":[)" +
                                                     tokenRecord(kLabel, kSerial, 0, 128) + "," +
                                                     tokenRecord("", "", 0, 128) + "]}");
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[]})");
    EXPECT_EQ(ask(login(kSerial, "999999", false)), loginReply(kSerial, "Incorrect PIN  (rc=160)"));
    EXPECT_EQ(ask(login(kSerial, TpmTokens::userPin(), false)), loginReply(kSerial));
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"libvantrel_pkcs11_fault.so","host":"1.4","model":"SW   TPM","pmax":128.000000,"pmin":0.000000,"token":")" +
            kSerial + "\"}");
}

// RSA and EC P-256 pairs made on the TPM, their requests certified, the
// certificates imported (each beside keys of the other kind), listed and
// used: the signatures verify with the certificates' keys.
TEST_F(TpmTest, EnrolsRsaAndEcPairsListsThemAndSigns) {
    startHost(TpmTokens::modulePath());
    loginForWriting();
    Bytes ec = enrol("EC-P256", 0x51, "ecdsa-with-SHA256");
    Bytes rsa = enrol("RSA-2048", 0x52, "sha256WithRSAEncryption");

    nlohmann::json listed =
        askJson(R"({"action":"listCertificates","tokenSN":")" + kSerial + "\"}");
    ASSERT_EQ(listed["certificates"].size(), 2u) << listed.dump();
    for (const nlohmann::json& record : listed["certificates"]) {
        EXPECT_EQ(record["subjectDN"], kCsrSubjectDN);
        EXPECT_EQ(record["tokenSN"], kSerial);
    }
    EXPECT_EQ(listed["certificates"][0]["serialNumber"].get<std::string>() +
                  listed["certificates"][1]["serialNumber"].get<std::string>(),
              "5152");

    const std::string payload = "Signed on a TPM";
    EXPECT_TRUE(verifyEcdsaSha256(certificatePublicKey(ec).get(), toBytes(payload),
                                  base64Bytes(sign(0x51, payload))));
    EXPECT_TRUE(verifyRsaSha256(rsa, toBytes(payload), base64Bytes(sign(0x52, payload))));
    EXPECT_EQ(ask(orphanKeysRequest("private")), noOrphanKeys());
    EXPECT_EQ(ask(orphanKeysRequest("public")), noOrphanKeys());

    nlohmann::json got = askJson(getCertificateRequest("020151"));
    EXPECT_EQ(base64Bytes(got.value("certificate", "")), ec) << got.dump();
    EXPECT_EQ(ask(R"({"action":"deleteCertificate","certificateSN":"020152"})"),
              R"({"action":"deleteCertificate","certificateSN":"020152"})");
    listed = askJson(R"({"action":"listCertificates"})");
    ASSERT_EQ(listed["certificates"].size(), 1u) << listed.dump();
    EXPECT_EQ(listed["certificates"][0]["serialNumber"], "51");
}

// A pair left without its certificate is found and deleted; the PIN is
// changed.
TEST_F(TpmTest, OrphanKeysAreDeletedAndThePinChanged) {
    startHost(TpmTokens::modulePath());
    loginForWriting();
    nlohmann::json generated = askJson(R"({"action":"generateKeys","tokenSN":")" + kSerial +
                                       R"(","result":"csr","algorithm":"EC-P256"})");
    ASSERT_TRUE(generated.contains("csr")) << generated.dump();
    for (const char* keyType : {"private", "public"}) {
        nlohmann::json orphans = askJson(orphanKeysRequest(keyType));
        ASSERT_EQ(orphans["orphanKeys"].size(), 1u) << orphans.dump();
        EXPECT_EQ(orphans["orphanKeys"][0]["keyType"], keyType);
        EXPECT_EQ(orphans["orphanKeys"][0]["id"].get<std::string>().size(), 16u);
    }
    EXPECT_EQ(
        ask(R"({"action":"deleteOrphanKeys","tokenSN":")" + kSerial + R"(","keyType":"private"})"),
        R"({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":1.000000,"tokenSN":")" +
            kSerial + "\"}");
    EXPECT_EQ(
        ask(R"({"action":"deleteOrphanKeys","tokenSN":")" + kSerial + R"(","keyType":"public"})"),
        R"({"action":"deleteOrphanKeys","deletedPK":1.000000,"deletedSK":0.000000,"tokenSN":")" +
            kSerial + "\"}");
    EXPECT_EQ(ask(orphanKeysRequest("private")), noOrphanKeys());

    const std::string newPin = "654321";
    EXPECT_EQ(ask(R"({"action":"changePIN","tokenSN":")" + kSerial + R"(","oldPIN":")" +
                  TpmTokens::userPin() + R"(","newPIN":")" + newPin + "\"}"),
              R"({"action":"changePIN","tokenSN":")" + kSerial + "\"}");
    EXPECT_EQ(ask(login(kSerial, TpmTokens::userPin(), false)),
              loginReply(kSerial, "Incorrect PIN  (rc=160)"));
    EXPECT_EQ(ask(login(kSerial, newPin, false)), loginReply(kSerial));
}

// The blank slot is formatted under the empty serial. The new token then
// shares its serial with the first one: neither can be told from the other,
// so every action that names the serial is refused before a PIN is tried,
// while the listings show both.
TEST_F(TpmTest, FormatsTheBlankSlotAfterWhichTheSharedSerialIsRefused) {
    startHost(TpmTokens::modulePath());
    // The module cannot format a token that is already initialised.
    EXPECT_EQ(
        ask(R"({"action":"formatToken","tokenSN":")" + kSerial +
            R"(","tokenPIN":"135790","adminPIN":")" + TpmTokens::soPin() + "\"}"),
        R"j({"action":"formatToken","error":"Failed to format the token (rc=7)","tokenSN":")j" +
            kSerial + "\"}");
    EXPECT_EQ(ask(R"({"action":"formatToken","tokenSN":"","tokenPIN":"135790"})"),
              R"({"action":"formatToken","tokenSN":""})");
    nlohmann::json tokens = askJson(R"({"action":"listTokens"})");
    ASSERT_EQ(tokens["tokens"].size(), 3u) << tokens.dump();
    EXPECT_EQ(tokens["tokens"][1]["tokenLabel"], "QARN Token");
    EXPECT_EQ(tokens["tokens"][1]["tokenSN"], kSerial);
    EXPECT_EQ(tokens["tokens"][2]["tokenSN"], "");

    const std::string ambiguous = "Several tokens have the serial number " + kSerial;
    FaultState before = counter->state();
    EXPECT_EQ(ask(login(kSerial, TpmTokens::userPin(), true)), loginReply(kSerial, ambiguous));
    EXPECT_EQ(
        ask(R"({"action":"changePIN","tokenSN":")" + kSerial +
            R"(","oldPIN":"135790","newPIN":"246801"})"),
        R"({"action":"changePIN","error":")" + ambiguous + R"(","tokenSN":")" + kSerial + "\"}");
    EXPECT_EQ(
        ask(R"({"action":"formatToken","tokenSN":")" + kSerial +
            R"(","tokenPIN":"135790","adminPIN":")" + TpmTokens::soPin() + "\"}"),
        R"({"action":"formatToken","error":")" + ambiguous + R"(","tokenSN":")" + kSerial + "\"}");
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":")" + kSerial + "\"}"),
              R"({"action":"listCertificates","error":")" + ambiguous + "\"}");
    std::map<std::string, unsigned long> calls = counter->state().callsSince(before);
    EXPECT_EQ(calls.count("C_OpenSession") + calls.count("C_Login") + calls.count("C_InitToken"),
              0u);
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[]})");
}

// Two tokens that tpm2_ptool made: the same, from the start.
TEST_F(TpmTest, TwoTokensWithTheOneSerialAreListedButNotUsed) {
    tpm->addToken("Second TPM");
    startHost(TpmTokens::modulePath());
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), R"({"action":"listTokens","tokens":[)" +
                                                     tokenRecord(kLabel, kSerial, 0, 128) + "," +
                                                     tokenRecord("Second TPM", kSerial, 0, 128) +
                                                     "," + tokenRecord("", "", 0, 128) + "]}");
    EXPECT_EQ(ask(login(kSerial, TpmTokens::userPin(), false)),
              loginReply(kSerial, "Several tokens have the serial number " + kSerial));
}

}  // namespace
}  // namespace interop
