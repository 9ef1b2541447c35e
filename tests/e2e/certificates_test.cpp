// The certificate actions against certificates and keys the test put on
// SoftHSM2 tokens: listCertificates, getCertificate, sign, deleteCertificate,
// getOrphanKeys and deleteOrphanKeys.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/host_fixture.h"
#include "e2e/replies.h"

namespace e2e {
namespace {

std::string sign(const std::string& certificateSN, const std::string& payload) {
    return R"({"action":"sign","certificateSN":")" + certificateSN + R"(","payload":")" + payload +
           "\"}";
}

std::string deleteCertificate(const std::string& certificateSN) {
    return R"({"action":"deleteCertificate","certificateSN":")" + certificateSN + "\"}";
}

std::string deleteCertificateReply(const std::string& certificateSN,
                                   const std::string& error = "") {
    return R"({"action":"deleteCertificate","certificateSN":")" + certificateSN + "\"" +
           (error.empty() ? "" : R"(,"error":")" + error + "\"") + "}";
}

std::string orphanKeys(const std::string& action, const std::string& tokenSN,
                       const std::string& keyType) {
    return R"({"action":")" + action + R"(","tokenSN":")" + tokenSN + R"(","keyType":")" + keyType +
           "\"}";
}

std::string orphanKeysError(const std::string& tokenSN, const std::string& error) {
    return R"({"action":"getOrphanKeys","error":")" + error + R"(","tokenSN":")" + tokenSN + "\"}";
}

std::string deletedReply(const std::string& tokenSN, int deletedPK, int deletedSK,
                         const std::string& error = "") {
    return R"({"action":"deleteOrphanKeys","deletedPK":)" + std::to_string(deletedPK) +
           R"(.000000,"deletedSK":)" + std::to_string(deletedSK) + ".000000," +
           (error.empty() ? "" : R"("error":")" + error + "\",") + R"("tokenSN":")" + tokenSN +
           "\"}";
}

class CertificatesTest : public HostTest {
  protected:
    void SetUp() override {
        CertificateOptions options;
        options.subject = "/C=ZZ/O=Org/CN=Holder";
        options.serial = {0x5a, 0x17, 0xc0};
        options.subjectAltName =
            "email:holder@example.com,otherName:1.3.6.1.4.1.311.20.2.3;UTF8:holder@example.com";
        holder = addCertificate(alpha, toBytes("c1"), options);
    }

    std::string holderRecord() const {
        return certificateRecord(holder, issuerDN, "Principal=holder@example.com",
                                 "CN=Holder, O=Org, C=ZZ", alpha.serial, "01/01/2025",
                                 "01/01/2035");
    }

    // Object counts on the token as the test's own session sees them.
    struct Objects {
        size_t certificates, publicKeys, privateKeys;
        bool operator==(const Objects& o) const {
            return certificates == o.certificates && publicKeys == o.publicKeys &&
                   privateKeys == o.privateKeys;
        }
    };
    Objects objectsWithId(const SoftHsmToken& token, const Bytes& id) {
        Pkcs11Session session = userSession(token);
        return {session.find(CKO_CERTIFICATE, id).size(), session.find(CKO_PUBLIC_KEY, id).size(),
                session.find(CKO_PRIVATE_KEY, id).size()};
    }

    std::string newErrorText(const std::string& before) {
        return host->errorText().substr(before.size());
    }

    // Both before the test's own PKCS#11 view of them starts.
    SoftHsmToken alpha = hsm.createToken("Alpha");
    SoftHsmToken beta = hsm.createToken("Beta");
    StoredCertificate holder;
};

TEST_F(CertificatesTest, ListCertificatesOfEveryTokenSkipsTheBlankSlot) {
    CertificateOptions options;
    options.subject = "/CN=Second";
    options.serial = {0x01, 0x02};
    options.notBefore = "990102030405Z";
    options.notAfter = "20510607080910Z";
    StoredCertificate second = addCertificate(beta, toBytes("c2"), options);
    std::string secondRecord = certificateRecord(second, issuerDN, "", "CN=Second", beta.serial,
                                                 "02/01/1999", "07/06/2051");
    std::string records;
    for (const SoftHsmSlot& slot : hsm.slots()) {
        if (slot.serial == alpha.serial || slot.serial == beta.serial) {
            records += std::string(records.empty() ? "" : ",") +
                       (slot.serial == alpha.serial ? holderRecord() : secondRecord);
        }
    }
    start();
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[)" + records + "]}");
    // The blank token cannot be opened; SoftHSM2 says it does not recognise it.
    EXPECT_EQ(host->errorText(), "Failed to list certificates in slot " +
                                     slotText(hsm.blankSlot()) +
                                     " - Failed to open token session (rc=225)\n");

    std::string before = host->errorText();
    fault.setRules("fail C_GetTokenInfo CKR_DEVICE_ERROR slot " + std::to_string(beta.slot) + "\n");
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[)" + holderRecord() + "]}");
    std::string lines = newErrorText(before);
    EXPECT_NE(lines.find("Failed to list certificates in slot " + slotText(beta.slot) +
                         " - Failed to get token info (rc=48)\n"),
              std::string::npos)
        << lines;
}

// A token whose certificates cannot be searched, read or parsed is left out
// whole, with a line naming its slot; the other tokens are still listed.
// Withheld attributes leave only their fields empty, and a certificate
// whose value is withheld is left out on its own.
TEST_F(CertificatesTest, ListCertificatesOfEveryTokenSkipsATokenThatFails) {
    CertificateOptions options;
    options.subject = "/CN=Second";
    options.serial = {0x01, 0x02};
    StoredCertificate second = addCertificate(beta, toBytes("c2"), options);
    const std::string betaSlot = std::to_string(beta.slot);
    const std::string betaRecord = certificateRecord(second, issuerDN, "", "CN=Second", beta.serial,
                                                     "01/01/2025", "01/01/2035");
    start();
    const std::string skipped =
        "Failed to list certificates in slot " + slotText(beta.slot) + " - ";
    struct Case {
        std::string rules;
        std::string betaListed;  // the record, or "" when beta is left out
        std::string logged;      // besides the blank slot's line
    };
    const std::vector<Case> cases = {
        {"", betaRecord, ""},
        {"fail C_FindObjectsInit CKR_DEVICE_ERROR slot " + betaSlot, "",
         skipped + "Error initialising the query for certificates (rc=48)\n"},
        {"fail C_FindObjects CKR_DEVICE_ERROR slot " + betaSlot, "",
         skipped + "Error quering token for certificates (rc=48)\n"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR slot " + betaSlot, "",
         skipped + "Failed to get certificate filelds lengths (rc=48)\n"},
        {"fail C_GetAttributeValue CKR_ATTRIBUTE_TYPE_INVALID slot " + betaSlot, "",
         skipped + "Failed to parse certificate\n"},
        {"unavailable CKA_VALUE slot " + betaSlot, "", "Skipping a certificate without a value\n"},
        {"unavailable CKA_START_DATE slot " + betaSlot + "\nunavailable CKA_END_DATE slot " +
             betaSlot,
         certificateRecord(second, issuerDN, "", "CN=Second", beta.serial, "", ""), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules);
        fault.setRules(c.rules);
        std::string records;
        for (const SoftHsmSlot& slot : hsm.slots()) {
            if (slot.serial == alpha.serial) {
                records += std::string(records.empty() ? "" : ",") + holderRecord();
            } else if (slot.serial == beta.serial && !c.betaListed.empty()) {
                records += std::string(records.empty() ? "" : ",") + c.betaListed;
            }
        }
        std::string before = host->errorText();
        EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
                  R"({"action":"listCertificates","certificates":[)" + records + "]}");
        std::string lines = newErrorText(before);
        const std::string blank = "Failed to list certificates in slot " +
                                  slotText(hsm.blankSlot()) +
                                  " - Failed to open token session (rc=225)\n";
        ASSERT_NE(lines.find(blank), std::string::npos) << lines;
        EXPECT_EQ(lines.erase(lines.find(blank), blank.size()), c.logged);
        EXPECT_EQ(fault.state().openSessions, 0u);
        EXPECT_EQ(fault.state().activeSearches, 0u);
    }
}

TEST_F(CertificatesTest, ListCertificatesOfOneToken) {
    start();
    struct Case {
        std::string rules;
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        {"", R"({"action":"listCertificates","tokenSN":")" + alpha.serial + "\"}",
         R"({"action":"listCertificates","certificates":[)" + holderRecord() + "]}"},
        {"", R"({"action":"listCertificates","tokenSN":")" + beta.serial + "\"}",
         R"({"action":"listCertificates","certificates":[]})"},
        {"", R"({"action":"listCertificates","tokenSN":"feed"})",
         R"({"action":"listCertificates","error":"No token with serial number feed"})"},
        // Named, the blank token fails the listing instead of being skipped.
        {"", R"({"action":"listCertificates","tokenSN":""})",
         R"j({"action":"listCertificates","error":"Failed to open token session (rc=225)"})j"},
        {"fail C_FindObjectsInit CKR_DEVICE_ERROR",
         R"({"action":"listCertificates","tokenSN":")" + alpha.serial + "\"}",
         R"j({"action":"listCertificates","error":"Error initialising the query for certificates (rc=48)"})j"},
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR",
         R"({"action":"listCertificates","tokenSN":")" + alpha.serial + "\"}",
         R"j({"action":"listCertificates","error":"Failed to get certificate filelds lengths (rc=48)"})j"},
        {"unavailable CKA_VALUE",
         R"({"action":"listCertificates","tokenSN":")" + alpha.serial + "\"}",
         R"({"action":"listCertificates","certificates":[]})"},
    };
    for (const Case& c : cases) {
        fault.setRules(c.rules);
        EXPECT_EQ(ask(c.request), c.reply);
        EXPECT_EQ(fault.state().openSessions, 0u) << c.request;
        EXPECT_EQ(fault.state().activeSearches, 0u) << c.request;
    }
}

TEST_F(CertificatesTest, ListCertificatesLeavesTheLoginAlone) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    EXPECT_EQ(
        ask(R"({"action":"listCertificates","port":"x"})"),
        R"({"action":"listCertificates","certificates":[)" + holderRecord() + R"(],"port":"x"})");
    EXPECT_EQ(ask(R"({"action":"getCertificate","certificateSN":")" + holder.certificateSN + "\"}"),
              R"({"action":"getCertificate","certificate":")" + base64Text(holder.der) + "\"}");
}

// The certificate itself comes with each record only when the request asks
// for it with true: every other request gets the records as they were.
TEST_F(CertificatesTest, ListCertificatesCarriesTheCertificatesOnlyWhenAskedToWithoutALogin) {
    start();
    const std::string withValue = holderRecord().substr(0, holderRecord().find(",\"issuerDN\"")) +
                                  R"(,"certificate":")" + base64Text(holder.der) + "\"" +
                                  holderRecord().substr(holderRecord().find(",\"issuerDN\""));
    struct Case {
        std::string members;
        std::string record;
    };
    const std::vector<Case> cases = {
        {R"(,"includeCertificate":true)", withValue},
        {R"(,"tokenSN":")" + alpha.serial + R"(","includeCertificate":true)", withValue},
        {R"(,"includeCertificate":false)", holderRecord()},
        {R"(,"includeCertificate":"true")", holderRecord()},
        {R"(,"includeCertificate":1)", holderRecord()},
        {"", holderRecord()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ask(R"({"action":"listCertificates")" + c.members + "}"),
                  R"({"action":"listCertificates","certificates":[)" + c.record + "]}")
            << c.members;
    }
    EXPECT_EQ(ask(R"({"action":"info"})").find("\"token\""), std::string::npos);
}

TEST_F(CertificatesTest, GetCertificateFindsOnlyTheLoggedInTokensCertificates) {
    CertificateOptions options;
    options.subject = "/CN=Second";
    options.serial = {0x77};
    StoredCertificate second = addCertificate(beta, toBytes("c2"), options);
    start();
    auto get = [](const std::string& sn) {
        return R"({"action":"getCertificate","certificateSN":")" + sn + "\"}";
    };
    auto failed = [](const std::string& error) {
        return R"({"action":"getCertificate","error":")" + error + "\"}";
    };
    EXPECT_EQ(ask(get(holder.certificateSN)), failed("Must login before being able to sign"));
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));

    std::string upper = holder.certificateSN;
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    const std::string found =
        R"({"action":"getCertificate","certificate":")" + base64Text(holder.der) + "\"}";
    EXPECT_EQ(ask(get(holder.certificateSN)), found);
    EXPECT_EQ(ask(get(upper)), found);
    // The listed serial number lacks the INTEGER's tag and length: it names nothing.
    EXPECT_EQ(ask(get(holder.serialNumber)),
              failed("Unable to find cerificate with sn:" + holder.serialNumber));
    EXPECT_EQ(ask(get(second.certificateSN)),
              failed("Unable to find cerificate with sn:" + second.certificateSN));
    EXPECT_EQ(ask(get("02015")), failed("Invalid hex encoded data - uneven length"));
    EXPECT_EQ(ask(get("02zz")), failed("Invalid hex digit z"));
}

TEST_F(CertificatesTest, SignsWithTheCertificatesKeyOnTheToken) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    const std::string payload = "Hello from a page";
    Pkcs11Session session = userSession(alpha);
    // RSASSA-PKCS1-v1_5 is deterministic: the token's own signature is the reply.
    Bytes expected = session.sign(session.find(CKO_PRIVATE_KEY, holder.id).at(0), toBytes(payload));
    ASSERT_TRUE(verifyRsaSha256(holder.der, toBytes(payload), expected));
    EXPECT_EQ(ask(sign(holder.certificateSN, payload)),
              R"({"action":"sign","signature":")" + base64Text(expected) + "\"}");

    // Nothing to sign still gets the signature of the empty text's digest.
    nlohmann::json reply = nlohmann::json::parse(ask(sign(holder.certificateSN, "")));
    EXPECT_TRUE(verifyRsaSha256(holder.der, Bytes(), base64Bytes(reply.value("signature", ""))))
        << reply.dump();
}

// What a signature costs on the token: the Part's calls plus one attribute
// read (the key's type and PIN flag); the token's mechanisms are read once
// per login, at its first signature.
TEST_F(CertificatesTest, EachSignatureAddsOneAttributeReadAndEachLoginOneMechanismList) {
    start();
    auto callsOfASignature = [&] {
        FaultState before = fault.state();
        EXPECT_NE(ask(sign(holder.certificateSN, "x")).find("signature"), std::string::npos);
        return fault.state().callsSince(before);
    };
    const std::map<std::string, unsigned long> later = {
        {"C_FindObjectsInit", 2},   {"C_FindObjects", 2}, {"C_FindObjectsFinal", 2},
        {"C_GetAttributeValue", 4}, {"C_SignInit", 1},    {"C_Sign", 2}};
    std::map<std::string, unsigned long> first = later;
    first["C_GetMechanismList"] = 2;
    for (int login = 0; login < 2; ++login) {
        ASSERT_EQ(ask(e2e::login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
        EXPECT_EQ(callsOfASignature(), first);
        EXPECT_EQ(callsOfASignature(), later);
        EXPECT_EQ(callsOfASignature(), later);
    }
}

TEST_F(CertificatesTest, SignRefusals) {
    RsaKeyOptions extractable;
    extractable.extractable = true;
    extractable.sensitive = false;
    CertificateOptions options;
    options.subject = "/CN=Loose Key";
    options.serial = {0x42};
    StoredCertificate loose = addCertificate(alpha, toBytes("loose"), options, extractable);
    options.subject = "/CN=No Key";
    options.serial = {0x43};
    StoredCertificate keyless = addCertificate(alpha, toBytes("keyless"), options);
    {
        Pkcs11Session session = userSession(alpha);
        session.destroy(session.find(CKO_PRIVATE_KEY, toBytes("keyless")).at(0));
    }
    start();
    EXPECT_EQ(ask(sign(holder.certificateSN, "x")),
              signError("Must login before being able to sign"));
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    struct Case {
        std::string rules;
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        // The login's first signature reads the token's mechanisms.
        {"fail C_GetMechanismList CKR_DEVICE_ERROR", sign(holder.certificateSN, "x"),
         signError("Failed to read the token's mechanisms (rc=48)")},
        {"", sign("020199", "x"), signError("Unable to find cerificate with sn:020199")},
        {"", sign(loose.certificateSN, "x"),
         signError("Cannot use extractable private key for signing")},
        {"", sign(keyless.certificateSN, "x"), signError("Error unable to find certificate key")},
        {"fail C_SignInit CKR_DEVICE_ERROR", sign(holder.certificateSN, "x"),
         signError("Failed to init signatiure generation (rc=48)")},
        {"fail C_Sign CKR_DEVICE_ERROR", sign(holder.certificateSN, "x"),
         signError("Failed to determine the signature length (rc=48)")},
        {"fail C_Sign CKR_DEVICE_ERROR call 2", sign(holder.certificateSN, "x"),
         signError("Failed to generate signature (rc=48)")},
        // A module that accepted a mechanism it cannot perform; the operation
        // it left active is ended, or the next search in the login's session
        // would fail.
        {"signature empty", sign(holder.certificateSN, "x"),
         signError("Failed to generate signature")},
    };
    for (const Case& c : cases) {
        fault.setRules(c.rules);
        EXPECT_EQ(ask(c.request), c.reply) << c.rules;
    }
    fault.clearRules();
    // A refusal does not spoil the session: the login still signs.
    nlohmann::json reply = nlohmann::json::parse(ask(sign(holder.certificateSN, "x")));
    EXPECT_TRUE(verifyRsaSha256(holder.der, toBytes("x"), base64Bytes(reply["signature"])));
}

TEST_F(CertificatesTest, SignUsesAnExtractableKeyInDevMode) {
    RsaKeyOptions extractable;
    extractable.extractable = true;
    extractable.sensitive = false;
    CertificateOptions options;
    options.subject = "/CN=Loose Key";
    options.serial = {0x42};
    StoredCertificate loose = addCertificate(alpha, toBytes("loose"), options, extractable);
    HostSettings settings = settingsFor(Module::Fault);
    settings.devMode = true;
    start(settings);
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    nlohmann::json reply = nlohmann::json::parse(ask(sign(loose.certificateSN, "dev")));
    EXPECT_TRUE(verifyRsaSha256(loose.der, toBytes("dev"), base64Bytes(reply["signature"])))
        << reply.dump();
}

TEST_F(CertificatesTest, DeleteCertificateRemovesItWithItsKeyPair) {
    start();
    ASSERT_EQ(objectsWithId(alpha, holder.id), (Objects{1, 1, 1}));
    EXPECT_EQ(ask(deleteCertificate(holder.certificateSN)),
              deleteCertificateReply(
                  holder.certificateSN,
                  "Must login to the token in write mode to be able to delete certificate"));
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    EXPECT_EQ(ask(deleteCertificate(holder.certificateSN)),
              deleteCertificateReply(
                  holder.certificateSN,
                  "Must login to the token in write mode to be able to delete certificate"));
    ASSERT_EQ(objectsWithId(alpha, holder.id), (Objects{1, 1, 1}));

    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    EXPECT_EQ(ask(deleteCertificate(holder.certificateSN)),
              deleteCertificateReply(holder.certificateSN));
    EXPECT_EQ(objectsWithId(alpha, holder.id), (Objects{0, 0, 0}));
    EXPECT_EQ(ask(deleteCertificate(holder.certificateSN)),
              deleteCertificateReply(holder.certificateSN,
                                     "Unable to find cerificate with sn:" + holder.certificateSN));
}

TEST_F(CertificatesTest, DeleteCertificateGoesOnWithoutItsPublicKey) {
    {
        Pkcs11Session session = userSession(alpha);
        session.destroy(session.find(CKO_PUBLIC_KEY, holder.id).at(0));
    }
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    std::string before = host->errorText();
    EXPECT_EQ(ask(deleteCertificate(holder.certificateSN)),
              deleteCertificateReply(holder.certificateSN));
    EXPECT_EQ(newErrorText(before),
              "Info: Failed to retrive the public key for certificate (sn=" + holder.certificateSN +
                  ") during certificate detetion : Error unable to find certificate key");
    EXPECT_EQ(objectsWithId(alpha, holder.id), (Objects{0, 0, 0}));
}

TEST_F(CertificatesTest, DeleteCertificateReportsWhatTheTokenRefused) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    std::string before = host->errorText();
    fault.setRules("fail C_DestroyObject CKR_DEVICE_ERROR\n");
    EXPECT_EQ(ask(deleteCertificate(holder.certificateSN)),
              deleteCertificateReply(holder.certificateSN, "Failed to delete certificate (rc=48)"));
    EXPECT_EQ(newErrorText(before),
              "Warning: Failed to delete public key for certificate sn=" + holder.certificateSN +
                  " (rc = 48) Warning: Failed to delete private key for "
                  "certificate sn=" +
                  holder.certificateSN + " (rc = 48) ");
    EXPECT_EQ(objectsWithId(alpha, holder.id), (Objects{1, 1, 1}));

    // A key that cannot be deleted does not keep the certificate.
    fault.setRules("fail C_DestroyObject CKR_DEVICE_ERROR call 1\n");
    EXPECT_EQ(ask(deleteCertificate(holder.certificateSN)),
              deleteCertificateReply(holder.certificateSN));
    EXPECT_EQ(objectsWithId(alpha, holder.id), (Objects{0, 1, 0}));
}

TEST_F(CertificatesTest, GetOrphanKeysListsKeysNoCertificateClaims) {
    {
        Pkcs11Session session = userSession(alpha);
        session.generateRsaKeyPair(RsaKeyOptions(toBytes("orphan"), 1024));
    }
    start();
    const std::string id = hexOf(toBytes("orphan"));
    EXPECT_EQ(ask(orphanKeys("getOrphanKeys", alpha.serial, "public")),
              orphanKeysError(alpha.serial, "Must login first"));
    // A read-only login is enough to look.
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    EXPECT_EQ(ask(orphanKeys("getOrphanKeys", alpha.serial, "public")),
              orphanKeysReply(alpha.serial, R"({"id":")" + id + R"(","keyType":"public"})"));
    EXPECT_EQ(ask(orphanKeys("getOrphanKeys", alpha.serial, "private")),
              orphanKeysReply(alpha.serial, R"({"id":")" + id + R"(","keyType":"private"})"));
    EXPECT_EQ(ask(orphanKeys("getOrphanKeys", beta.serial, "private")),
              orphanKeysError(beta.serial, "Logged in to diferent token"));
    fault.setRules("fail C_FindObjects CKR_DEVICE_ERROR call 2\n");
    EXPECT_EQ(ask(orphanKeys("getOrphanKeys", alpha.serial, "private")),
              orphanKeysError(alpha.serial, "Error quering token for certificates (rc=48)"));
}

TEST_F(CertificatesTest, DeleteOrphanKeysRemovesOnlyOrphans) {
    {
        Pkcs11Session session = userSession(alpha);
        session.generateRsaKeyPair(RsaKeyOptions(toBytes("orphan"), 1024));
    }
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "private")),
              deletedReply(alpha.serial, 0, 0,
                           "Must login in write mode first to be able to delete orphan keys"));
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", beta.serial, "private")),
              deletedReply(beta.serial, 0, 0, "Logged in to diferent token"));

    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "private")),
              deletedReply(alpha.serial, 0, 1));
    EXPECT_EQ(objectsWithId(alpha, toBytes("orphan")), (Objects{0, 1, 0}));
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "public")),
              deletedReply(alpha.serial, 1, 0));
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "public")),
              deletedReply(alpha.serial, 0, 0));
    EXPECT_EQ(objectsWithId(alpha, toBytes("orphan")), (Objects{0, 0, 0}));
    EXPECT_EQ(objectsWithId(alpha, holder.id), (Objects{1, 1, 1}));
}

TEST_F(CertificatesTest, DeleteOrphanKeysCountsFailuresAndGoesOn) {
    {
        Pkcs11Session session = userSession(alpha);
        session.generateRsaKeyPair(RsaKeyOptions(toBytes("orphan-1"), 1024));
        session.generateRsaKeyPair(RsaKeyOptions(toBytes("orphan-2"), 1024));
    }
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    std::string before = host->errorText();
    fault.setRules("fail C_DestroyObject CKR_DEVICE_ERROR\n");
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "public")),
              deletedReply(alpha.serial, 0, 0, "Failed to delete 2 orphan keys"));
    EXPECT_EQ(newErrorText(before),
              "Warning: Failed to delete orphan public key (rc = 48)"
              "Warning: Failed to delete orphan public key (rc = 48)");

    fault.setRules("fail C_DestroyObject CKR_DEVICE_ERROR call 1\n");
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "private")),
              deletedReply(alpha.serial, 0, 1, "Failed to delete 1 orphan keys"));
    fault.clearRules();
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "private")),
              deletedReply(alpha.serial, 0, 1));
    EXPECT_EQ(ask(orphanKeys("deleteOrphanKeys", alpha.serial, "public")),
              deletedReply(alpha.serial, 2, 0));
    EXPECT_EQ(objectsWithId(alpha, holder.id), (Objects{1, 1, 1}));
}

}  // namespace
}  // namespace e2e
