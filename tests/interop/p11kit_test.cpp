// The host with p11-kit's proxy module, as the Debian package configures it:
// every module p11-kit knows reached through one (P11KitConfiguration).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "interop/interop_host.h"
#include "interop/p11kit_configuration.h"
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

// How an administrator keeps a module away from Vantrel (and only from it):
// "disable-in" naming the host's executable.
TEST_F(P11KitTest, AModuleDisabledInVantrelIsLeftOut) {
    config.addModule("softhsm2", SoftHsm::modulePath(), "disable-in: vantrel\n");
    addTrustModule();
    startProxy();
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), listing({anchorsRecord()}));
}

}  // namespace
}  // namespace interop
