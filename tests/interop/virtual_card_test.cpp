// The host with a smart card: OpenSC's module over a CAC card in a virtual
// reader (VirtualSmartCard), the way a person's card in a USB reader is used.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "interop/interop_host.h"
#include "interop/virtual_card.h"
#include "support/pkcs11_client.h"

namespace interop {
namespace {

class VirtualCardTest : public InteropHostTest {
  protected:
    void SetUp() override {
        INTEROP_SKIP_UNLESS_ROOT("The virtual smart card");
        card.emplace();
    }

    std::string loginReply(const std::string& error = "") const {
        return interop::loginReply(card->tokenSerial(), error);
    }

    std::optional<VirtualSmartCard> card;
};

TEST_F(VirtualCardTest, InfoAndListTokensShowTheCard) {
    startHost(VirtualSmartCard::modulePath(), Counting::Off);
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"opensc-pkcs11.so","error":"There is no active token","host":"1.4"})");
    // The reader without a card is not listed.
    EXPECT_EQ(ask(R"({"action":"listTokens"})"),
              R"({"action":"listTokens","tokens":[)" + tokenRecord(card->tokenInfo()) + "]}")
        << card->logs();
}

// The card's certificates as a page sees them: names and serials as the
// certificates say (read with libcrypto), dates and check values as OpenSC
// gives them (it keeps neither for a CAC card, so they are empty). Then the
// page signs with what the listing gave it.
TEST_F(VirtualCardTest, ListsTheCardsCertificatesAndSignsWithThem) {
    std::vector<CertificateFields> onTheCard;
    {
        Pkcs11Client opensc(VirtualSmartCard::modulePath());
        Pkcs11Session session = opensc.openSession(card->slot(), false);
        for (CK_OBJECT_HANDLE object : session.find(CKO_CERTIFICATE)) {
            onTheCard.push_back(listedFields(session, object));
        }
    }
    ASSERT_EQ(onTheCard.size(), card->certificates().size());
    std::string records;
    for (size_t i = 0; i < onTheCard.size(); ++i) {
        const CertificateFields& made = card->certificates()[i].fields;
        EXPECT_EQ(onTheCard[i].certificateSN, made.certificateSN);
        EXPECT_EQ(onTheCard[i].validFrom, "");
        EXPECT_EQ(onTheCard[i].activationCode, "");
        records += (i > 0 ? "," : "") + certificateRecord(onTheCard[i], card->tokenSerial());
    }
    startHost(VirtualSmartCard::modulePath());
    const std::string listing = R"({"action":"listCertificates","certificates":[)" + records + "]}";
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"), listing) << card->logs();
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":")" + card->tokenSerial() + "\"}"),
              listing);

    ASSERT_EQ(ask(login(card->tokenSerial(), card->pin(), false)), loginReply());
    nlohmann::json listed = askJson(R"({"action":"listCertificates"})");
    for (size_t i = 0; i < card->certificates().size(); ++i) {
        // The request names a certificate by "02", its serial's length, and
        // the listed serial.
        std::string serial = listed["certificates"][i]["serialNumber"];
        std::string certificateSN =
            "02" + hexOf(Bytes{static_cast<unsigned char>(serial.size() / 2)}) + serial;
        nlohmann::json reply = askJson(signRequest(certificateSN, "From the listing"));
        EXPECT_TRUE(verifyRsaSha256(card->certificates()[i].der, toBytes("From the listing"),
                                    base64Bytes(reply.value("signature", ""))))
            << reply.dump();
    }
}

// A page that knows a certificate's serial (from elsewhere than the listing)
// logs in and signs; the signature verifies with the certificate's key.
TEST_F(VirtualCardTest, SignsWithEveryCertificateOnceLoggedIn) {
    startHost(VirtualSmartCard::modulePath());
    ASSERT_EQ(ask(login(card->tokenSerial(), card->pin(), false)), loginReply()) << card->logs();
    const std::string payload = "Pay 100 EUR to ACME";
    for (const TokenCertificate& certificate : card->certificates()) {
        const std::string& certificateSN = certificate.fields.certificateSN;
        nlohmann::json reply = askJson(signRequest(certificateSN, payload));
        ASSERT_TRUE(reply.contains("signature")) << reply.dump();
        EXPECT_TRUE(verifyRsaSha256(certificate.der, toBytes(payload),
                                    base64Bytes(reply["signature"].get<std::string>())))
            << certificateSN;
        nlohmann::json got = askJson(getCertificateRequest(certificateSN));
        EXPECT_EQ(base64Bytes(got.value("certificate", "")), certificate.der) << got.dump();
    }
}

TEST_F(VirtualCardTest, AWrongPinIsRefusedAndTheRightOneStillWorks) {
    startHost(VirtualSmartCard::modulePath());
    // The emulated card answers a wrong PIN with CKR_GENERAL_ERROR.
    EXPECT_EQ(ask(login(card->tokenSerial(), "00000000", false)),
              loginReply("Login failed (rc=5)"));
    EXPECT_EQ(ask(R"({"action":"info"})").find("\"token\":"), std::string::npos);
    EXPECT_EQ(ask(login(card->tokenSerial(), card->pin(), false)), loginReply());
}

// The card is read-only through OpenSC: every write is answered with the
// card's own refusal, and the card keeps its certificates and keys.
TEST_F(VirtualCardTest, WritesAnswerTheCardsRefusal) {
    startHost(VirtualSmartCard::modulePath());
    const std::string serial = card->tokenSerial();
    const TokenCertificate& first = card->certificates().front();
    // Formatting is tried logged out: with the login's session open, OpenSC
    // refuses it for that reason first (CKR_SESSION_EXISTS).
    struct Case {
        bool loggedIn;
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        // OpenSC offers no key generation for this card.
        {true, R"({"action":"generateKeys","tokenSN":")" + serial + R"(","result":"csr"})",
         R"j({"action":"generateKeys","error":"The token cannot generate RSA-2048 key pairs","tokenSN":")j" +
             serial + "\"}"},
        {true, R"({"action":"importCertificate","certificate":")" + base64Text(first.der) + "\"}",
         R"j({"action":"importCertificate","error":"Error importing certificate on the token (rc=84)"})j"},
        {true,
         R"({"action":"deleteCertificate","certificateSN":")" + first.fields.certificateSN + "\"}",
         R"j({"action":"deleteCertificate","certificateSN":")j" + first.fields.certificateSN +
             R"j(","error":"Failed to delete certificate (rc=84)"})j"},
        {true, R"({"action":"deleteOrphanKeys","tokenSN":")" + serial + R"(","keyType":"private"})",
         R"({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"tokenSN":")" +
             serial + "\"}"},
        {true,
         R"({"action":"changePIN","tokenSN":")" + serial + R"(","oldPIN":")" + card->pin() +
             R"(","newPIN":"24682468"})",
         R"j({"action":"changePIN","error":"Failed to set token PIN (rc=5)","tokenSN":")j" +
             serial + "\"}"},
        {false,
         R"({"action":"formatToken","tokenSN":")" + serial + R"(","tokenPIN":")" + card->pin() +
             R"(","adminPIN":"12345678"})",
         R"j({"action":"formatToken","error":"Failed to format the token (rc=84)","tokenSN":")j" +
             serial + "\"}"},
    };
    for (const Case& c : cases) {
        if (c.loggedIn) {
            ASSERT_EQ(ask(login(serial, card->pin(), true)), loginReply());
        }
        EXPECT_EQ(ask(c.request), c.reply);
    }
    ASSERT_EQ(ask(login(serial, card->pin(), false)), loginReply());
    for (const char* keyType : {"public", "private"}) {
        EXPECT_EQ(ask(R"({"action":"getOrphanKeys","tokenSN":")" + serial + R"(","keyType":")" +
                      keyType + "\"}"),
                  R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":")" + serial + "\"}");
    }
    nlohmann::json reply = askJson(signRequest(first.fields.certificateSN, "still there"));
    EXPECT_TRUE(verifyRsaSha256(first.der, toBytes("still there"),
                                base64Bytes(reply.value("signature", ""))))
        << reply.dump();
}

}  // namespace
}  // namespace interop
