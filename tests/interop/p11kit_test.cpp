// The host with p11-kit's proxy module, as the Debian package configures it:
// every module p11-kit knows reached through one (P11KitConfiguration).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "interop/interop_host.h"
#include "interop/p11kit_configuration.h"
#include "interop/virtual_card.h"
#include "support/pkcs11_client.h"
#include "support/softhsm.h"

namespace interop {
namespace {

std::string listing(const std::vector<std::string>& records) {
    std::string text = R"({"action":"listTokens","tokens":[)";
    for (size_t i = 0; i < records.size(); ++i) {
        text += (i > 0 ? "," : "") + records[i];
    }
    return text + "]}";
}

class P11KitTest : public InteropHostTest {
  protected:
    // A key pair and a certificate for it on Alpha, made before the host
    // runs: afterwards the token folder belongs to the host's user.
    TokenCertificate addCertificate() {
        Pkcs11Client client(SoftHsm::modulePath(), Pkcs11Client::Instance::Fresh);
        Pkcs11Session session = client.openSession(alpha.slot);
        session.login(CKU_USER, alpha.userPin);
        TokenCertificate stored;
        stored.id = {0xa1};
        KeyPair pair = session.generateRsaKeyPair(RsaKeyOptions(stored.id, 2048));
        CertificateOptions options;
        options.subject = "/C=ZZ/O=Vantrel Tests/CN=Alpha Holder";
        options.serial = {0x11, 0x22};
        stored.der = ca.issueForKey(session.publicKey(pair.publicKey).get(), options);
        stored.fields = readCertificateFields(stored.der);
        session.createCertificate(stored.der, stored.id);
        return stored;
    }

    // A trust store of its own: a folder holding the test CA's certificate,
    // which p11-kit's trust module lists as the token "anchors".
    void addTrustModule() {
        std::string anchors = config.home() + "/anchors";
        std::filesystem::create_directory(anchors);
        writeWholeFile(anchors + "/ca.der",
                       std::string(ca.certificate().begin(), ca.certificate().end()));
        config.addModule("trust", p11KitTrustModule(), "x-init-reserved: paths=" + anchors + "\n");
    }
    std::string anchorsRecord() const {
        return R"({"pmax":0.000000,"pmin":0.000000,"tokenLabel":"anchors","tokenModel":"p11-kit-trust","tokenSN":"1"})";
    }

    // Alpha and SoftHSM2's blank slot, in SoftHSM2's order.
    std::vector<std::string> softHsmRecords() const {
        std::vector<std::string> records;
        for (const SoftHsmSlot& slot : hsm.slots()) {
            records.push_back(R"({"pmax":255.000000,"pmin":4.000000,"tokenLabel":")" + slot.label +
                              R"(","tokenModel":"SoftHSM v2","tokenSN":")" + slot.serial + "\"}");
        }
        return records;
    }

    HostProcess& startProxy() {
        config.shareWithHost(std::filesystem::path(hsm.confPath()).parent_path());
        return startHost(config.hostSettings());
    }

    P11KitConfiguration config;
    SoftHsm hsm;
    SoftHsmToken alpha = hsm.createToken("Alpha");
    TestCa ca;
    std::optional<VirtualSmartCard> card;
};

TEST_F(P11KitTest, ListsTheTokensOfEveryModule) {
    config.addModule("softhsm2", SoftHsm::modulePath());
    addTrustModule();
    startProxy();
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"p11-kit-proxy.so","error":"There is no active token","host":"1.4"})");
    std::vector<std::string> records = softHsmRecords();
    records.push_back(anchorsRecord());
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), listing(records));
}

TEST_F(P11KitTest, ListsCertificatesAndSignsThroughTheProxy) {
    TokenCertificate stored = addCertificate();
    config.addModule("softhsm2", SoftHsm::modulePath());
    addTrustModule();
    startProxy();
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":"1"})"),
              R"({"action":"listCertificates","certificates":[)" +
                  certificateRecord(readCertificateFields(ca.certificate()), "1") + "]}");
    // Every token: SoftHSM2's blank slot cannot be opened and is skipped.
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[)" +
                  certificateRecord(stored.fields, alpha.serial) + "," +
                  certificateRecord(readCertificateFields(ca.certificate()), "1") + "]}");

    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    nlohmann::json reply = askJson(signRequest(stored.fields.certificateSN, "through p11-kit"));
    EXPECT_TRUE(verifyRsaSha256(stored.der, toBytes("through p11-kit"),
                                base64Bytes(reply.value("signature", ""))))
        << reply.dump();
}

// A module that cannot start, or whose token cannot be read, must not cost
// the other modules' tokens. The failing module is the fault module over a
// second copy of SoftHSM2 (so it is an instance of its own).
TEST_F(P11KitTest, AFailingModuleLeavesTheOtherTokensListed) {
    FaultModule failing(config.privateCopy(SoftHsm::modulePath()));
    config.addModule("softhsm2", SoftHsm::modulePath());
    config.addFaultModule("unreadable", failing);
    const std::string allGood = listing(softHsmRecords());

    failing.setRules("fail C_Initialize CKR_DEVICE_ERROR\n");
    startProxy();
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), allGood);
    EXPECT_EQ(host->stop(), 0);

    failing.setRules("fail C_GetTokenInfo CKR_DEVICE_ERROR\n");
    startProxy();
    std::string before = host->errorText();
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), allGood);
    std::string lines = newErrorText(before);
    EXPECT_NE(lines.find(" - Failed to get token info (rc=48)"), std::string::npos) << lines;
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[]})");
    FaultState state = failing.state();
    EXPECT_GT(state.callsOf("C_GetTokenInfo"), 0u);
    EXPECT_EQ(state.openSessions, 0u);
    EXPECT_EQ(state.activeSearches, 0u);
}

// A module that withholds some certificate attributes (as smart cards do)
// has its certificates listed with those fields empty; one whose
// certificates cannot be read at all is left out with a line naming its
// slot. The other modules' certificates are listed either way. The second
// module is the fault module over another instance of the same SoftHSM2
// tokens, so it shows Alpha's certificate too, under a serial of its own.
TEST_F(P11KitTest, EveryGoodTokensCertificatesAreListedWhateverAnotherModuleDoes) {
    TokenCertificate stored = addCertificate();
    FaultModule card(config.privateCopy(SoftHsm::modulePath()));
    config.addModule("softhsm2", SoftHsm::modulePath());
    config.addFaultModule("card", card);
    const std::string cardToken = "serial text 0000000000000bad\nlabel text Card\nhide slot " +
                                  std::to_string(hsm.blankSlot()) + "\n";
    const std::string alphaRecord = certificateRecord(stored.fields, alpha.serial);
    auto listing = [](std::vector<std::string> records) {
        std::sort(records.begin(), records.end());
        return records;
    };
    auto listed = [&] {
        std::vector<std::string> records;
        nlohmann::json reply = askJson(R"({"action":"listCertificates"})");
        for (const nlohmann::json& record : reply.value("certificates", nlohmann::json::array())) {
            records.push_back(record.dump());
        }
        EXPECT_TRUE(reply.contains("certificates")) << reply.dump();
        return listing(records);
    };

    card.setRules(cardToken +
                  "unavailable CKA_START_DATE\nunavailable CKA_END_DATE\n"
                  "unavailable CKA_CHECK_VALUE\nunavailable CKA_CERTIFICATE_CATEGORY\n");
    startProxy();
    CertificateFields withheld = stored.fields;
    withheld.validFrom = withheld.validUntil = withheld.activationCode = "";
    EXPECT_EQ(listed(), listing({alphaRecord, certificateRecord(withheld, "0000000000000bad")}));
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":"0000000000000bad"})"),
              R"({"action":"listCertificates","certificates":[)" +
                  certificateRecord(withheld, "0000000000000bad") + "]}");

    card.setRules(cardToken + "fail C_GetAttributeValue CKR_ATTRIBUTE_TYPE_INVALID\n");
    std::string before = host->errorText();
    EXPECT_EQ(listed(), listing({alphaRecord}));
    std::string lines = newErrorText(before);
    EXPECT_NE(lines.find(" - Failed to parse certificate\n"), std::string::npos) << lines;
    FaultState state = card.state();
    EXPECT_EQ(state.openSessions, 0u);
    EXPECT_EQ(state.activeSearches, 0u);
}

// How an administrator keeps a module away from Vantrel (and only from it):
// "disable-in" naming the host's executable.
TEST_F(P11KitTest, AModuleDisabledInVantrelIsLeftOut) {
    config.addModule("softhsm2", SoftHsm::modulePath(), "disable-in: vantrel\n");
    addTrustModule();
    startProxy();
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), listing({anchorsRecord()}));
}

// The package's configuration: a person's smart card (OpenSC, registered
// with p11-kit) and any other token, all through the proxy. Every token's
// certificates are listed together, and the card signs.
TEST_F(P11KitTest, ASmartCardAndOtherTokensThroughTheProxy) {
    INTEROP_SKIP_UNLESS_ROOT("The virtual smart card");
    card.emplace();
    TokenCertificate stored = addCertificate();
    config.addModule("opensc", VirtualSmartCard::modulePath());
    config.addModule("softhsm2", SoftHsm::modulePath());
    startProxy();
    std::vector<std::string> expected = {certificateRecord(stored.fields, alpha.serial)};
    for (const TokenCertificate& certificate : card->certificates()) {
        CertificateFields fields = certificate.fields;
        // A CAC card keeps neither dates nor check values.
        fields.validFrom = fields.validUntil = fields.activationCode = "";
        expected.push_back(certificateRecord(fields, card->tokenSerial()));
    }
    std::sort(expected.begin(), expected.end());
    nlohmann::json reply = askJson(R"({"action":"listCertificates"})");
    std::vector<std::string> records;
    for (const nlohmann::json& record : reply.value("certificates", nlohmann::json::array())) {
        records.push_back(record.dump());
    }
    std::sort(records.begin(), records.end());
    EXPECT_EQ(records, expected) << reply.dump() << card->logs();

    ASSERT_EQ(ask(login(card->tokenSerial(), card->pin(), false)), loginReply(card->tokenSerial()));
    const TokenCertificate& first = card->certificates().front();
    nlohmann::json signed_ = askJson(signRequest(first.fields.certificateSN, "through the proxy"));
    EXPECT_TRUE(verifyRsaSha256(first.der, toBytes("through the proxy"),
                                base64Bytes(signed_.value("signature", ""))))
        << signed_.dump();
}

}  // namespace
}  // namespace interop
