// The token actions a page uses before any certificate: info, listTokens,
// login, changePIN and formatToken, with the login they keep or end.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "e2e/host_fixture.h"
#include "e2e/replies.h"

namespace e2e {
namespace {

const std::string kInfoLoggedOut =
    R"({"action":"info","driver":"libvantrel_pkcs11_fault.so","error":"There is no active token","host":"1.4"})";

std::string infoLoggedIn(const std::string& tokenSN, const std::string& pmax = "255.000000") {
    return R"({"action":"info","driver":"libvantrel_pkcs11_fault.so","host":"1.4","model":"SoftHSM v2","pmax":)" +
           pmax + R"(,"pmin":4.000000,"token":")" + tokenSN + "\"}";
}

std::string tokenRecord(const std::string& serial, const std::string& label) {
    return R"({"pmax":255.000000,"pmin":4.000000,"tokenLabel":")" + label +
           R"(","tokenModel":"SoftHSM v2","tokenSN":")" + serial + "\"}";
}

std::string formatToken(const std::string& tokenSN, const std::string& tokenPin,
                        const std::string* adminPin) {
    return R"({"action":"formatToken","tokenSN":")" + tokenSN + R"(","tokenPIN":")" + tokenPin +
           "\"" + (adminPin ? R"(,"adminPIN":")" + *adminPin + "\"}" : "}");
}

std::string tokenReply(const std::string& action, const std::string& tokenSN,
                       const std::string& error = "") {
    return R"({"action":")" + action + "\"," +
           (error.empty() ? "" : R"("error":")" + error + "\",") + R"("tokenSN":")" + tokenSN +
           "\"}";
}

class TokensTest : public HostTest {
  protected:
    SoftHsmToken alpha = hsm.createToken("Alpha");
};

TEST_F(TokensTest, InfoDescribesTheLoggedInTokenAndSurvivesItsFailure) {
    start();
    EXPECT_EQ(ask(R"({"action":"info"})"), kInfoLoggedOut);
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    EXPECT_EQ(ask(R"({"action":"info"})"), infoLoggedIn(alpha.serial));

    fault.setRules("maxpin unavailable\n");
    EXPECT_EQ(ask(R"({"action":"info"})"), infoLoggedIn(alpha.serial, "-1.000000"));

    // A token that can no longer be read (unplugged) is answered, not fatal.
    fault.setRules("fail C_GetTokenInfo CKR_DEVICE_ERROR\n");
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"j({"action":"info","driver":"libvantrel_pkcs11_fault.so","error":"Failed to get token info (rc=48)","host":"1.4"})j");
    fault.clearRules();
    EXPECT_EQ(
        ask(R"({"action":"info","port":"again"})"),
        R"({"action":"info","driver":"libvantrel_pkcs11_fault.so","host":"1.4","model":"SoftHSM v2","pmax":255.000000,"pmin":4.000000,"port":"again","token":")" +
            alpha.serial + "\"}");
}

TEST_F(TokensTest, ListTokensShowsEveryTokenAndSkipsOneThatCannotBeRead) {
    SoftHsmToken beta = hsm.createToken("Beta");
    std::vector<std::string> records;
    for (const SoftHsmSlot& slot : hsm.slots()) {
        records.push_back(tokenRecord(slot.serial, slot.label));
    }
    ASSERT_EQ(records.size(), 3u);
    auto listing = [](const std::vector<std::string>& tokens) {
        std::string text = R"({"action":"listTokens","tokens":[)";
        for (size_t i = 0; i < tokens.size(); ++i) {
            text += (i > 0 ? "," : "") + tokens[i];
        }
        return text + "]}";
    };
    start();
    // The blank slot is listed too, with empty serial and label: a page can format it.
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), listing(records));

    fault.setRules("fail C_GetTokenInfo CKR_DEVICE_ERROR slot " + std::to_string(beta.slot) + "\n");
    std::vector<std::string> withoutBeta;
    for (const std::string& record : records) {
        if (record.find(beta.serial) == std::string::npos) {
            withoutBeta.push_back(record);
        }
    }
    std::string before = host->errorText();
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), listing(withoutBeta));
    EXPECT_EQ(host->errorText().substr(before.size()), "Failed to get token info in slot " +
                                                           slotText(beta.slot) +
                                                           " - Failed to get token info (rc=48)");

    fault.setRules("fail C_GetSlotList CKR_DEVICE_ERROR\n");
    EXPECT_EQ(
        ask(R"({"action":"listTokens"})"),
        R"j({"action":"listTokens","error":"Error retrieving the token slot count (rc=48)"})j");
    fault.setRules("hide\n");
    EXPECT_EQ(ask(R"({"action":"listTokens"})"), R"({"action":"listTokens","tokens":[]})");
}

// A label in another encoding, or with quotes and control bytes, must not
// make the reply invalid JSON: the browser would drop the host.
TEST_F(TokensTest, ListTokensEscapesAndRepairsTheLabels) {
    start();
    fault.setRules("label text Caf\\xe9\\x01\"q\\\\ slot " + std::to_string(alpha.slot) +
                   "\nhide slot " + std::to_string(hsm.blankSlot()) + "\n");
    EXPECT_EQ(ask(R"({"action":"listTokens"})"),
              R"({"action":"listTokens","tokens":[)" +
                  tokenRecord(alpha.serial, "Caf\xEF\xBF\xBD\\u0001\\\"q\\\\") + "]}");
}

TEST_F(TokensTest, LoginReportsWhyItFailed) {
    start();
    struct Case {
        std::string rules;
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        {"", login(alpha.serial, "999999", false),
         loginReply(alpha.serial, "Incorrect PIN  (rc=160)")},
        {"", login("0123456789abcdef", alpha.userPin, false),
         loginReply("0123456789abcdef", "No token with serial number 0123456789abcdef")},
        // The blank slot's empty serial finds it, but it cannot be opened.
        {"", login("", alpha.userPin, false),
         loginReply("", "Failed to open token session (rc=225)")},
        {"fail C_OpenSession CKR_DEVICE_ERROR", login(alpha.serial, alpha.userPin, true),
         loginReply(alpha.serial, "Failed to open token session (rc=48)")},
        {"fail C_Login CKR_PIN_INVALID", login(alpha.serial, alpha.userPin, false),
         loginReply(alpha.serial, "Invalid PIN (rc=161)")},
        {"fail C_Login CKR_PIN_LEN_RANGE", login(alpha.serial, alpha.userPin, false),
         loginReply(alpha.serial, "Invaliod PIN length (rc=162)")},
        {"fail C_Login CKR_PIN_EXPIRED", login(alpha.serial, alpha.userPin, false),
         loginReply(alpha.serial, "Expired PIN (rc=163)")},
        {"fail C_Login CKR_PIN_LOCKED", login(alpha.serial, alpha.userPin, false),
         loginReply(alpha.serial, "Locked PIN (rc=164)")},
        {"fail C_Login CKR_USER_ALREADY_LOGGED_IN", login(alpha.serial, alpha.userPin, false),
         loginReply(alpha.serial, "Already logged-in (rc=256)")},
        {"fail C_Login CKR_USER_PIN_NOT_INITIALIZED", login(alpha.serial, alpha.userPin, false),
         loginReply(alpha.serial, "PIN is not initialised (rc=258)")},
        {"fail C_Login CKR_DEVICE_ERROR", login(alpha.serial, alpha.userPin, false),
         loginReply(alpha.serial, "Login failed (rc=48)")},
    };
    for (const Case& c : cases) {
        fault.setRules(c.rules);
        EXPECT_EQ(ask(c.request), c.reply) << c.rules;
        fault.clearRules();
        EXPECT_EQ(ask(R"({"action":"info"})"), kInfoLoggedOut) << c.rules;
        EXPECT_EQ(fault.state().openSessions, 0u) << c.rules;
    }
}

TEST_F(TokensTest, LoginWithWrongPinLeavesHostLoggedOut) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    EXPECT_EQ(ask(login(alpha.serial, "000000", true)),
              loginReply(alpha.serial, "Incorrect PIN  (rc=160)"));
    EXPECT_EQ(ask(R"({"action":"info"})"), kInfoLoggedOut);
    EXPECT_EQ(ask(R"({"action":"getCertificate","certificateSN":"020101"})"),
              R"({"action":"getCertificate","error":"Must login before being able to sign"})");
}

TEST_F(TokensTest, LoginToAnotherTokenReplacesTheLogin) {
    SoftHsmToken beta = hsm.createToken("Beta", "11112222", "4321");
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    ASSERT_EQ(ask(login(beta.serial, beta.userPin, false)), loginReply(beta.serial));
    EXPECT_EQ(ask(R"({"action":"info"})"), infoLoggedIn(beta.serial));
    // The first login's session was closed, not left behind.
    EXPECT_EQ(fault.state().openSessions, 1u);
}

TEST_F(TokensTest, ChangePinSetsTheNewPinAndEndsTheLogin) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    EXPECT_EQ(ask(changePin(alpha.serial, alpha.userPin, "24680")),
              tokenReply("changePIN", alpha.serial));
    EXPECT_EQ(ask(R"({"action":"info"})"), kInfoLoggedOut);
    EXPECT_EQ(ask(login(alpha.serial, alpha.userPin, false)),
              loginReply(alpha.serial, "Incorrect PIN  (rc=160)"));
    EXPECT_EQ(ask(login(alpha.serial, "24680", false)), loginReply(alpha.serial));
}

TEST_F(TokensTest, ChangePinFailuresLeaveThePinAndEndTheLogin) {
    start();
    struct Case {
        std::string rules;
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        {"", changePin(alpha.serial, "000000", "24680"),
         tokenReply("changePIN", alpha.serial, "Incorrect PIN  (rc=160)")},
        {"", changePin("ffff", alpha.userPin, "24680"),
         tokenReply("changePIN", "ffff", "No token with serial number ffff")},
        {"fail C_SetPIN CKR_DEVICE_ERROR", changePin(alpha.serial, alpha.userPin, "24680"),
         tokenReply("changePIN", alpha.serial, "Failed to set token PIN (rc=48)")},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
        fault.setRules(c.rules);
        EXPECT_EQ(ask(c.request), c.reply);
        fault.clearRules();
        EXPECT_EQ(ask(R"({"action":"info"})"), kInfoLoggedOut) << c.request;
        EXPECT_EQ(fault.state().openSessions, 0u) << c.request;
    }
    EXPECT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
}

TEST_F(TokensTest, FormatTokenInitialisesTheBlankSlotWithoutAnAdminPin) {
    start();
    EXPECT_EQ(ask(formatToken("", "13579", nullptr)), tokenReply("formatToken", ""));
    nlohmann::json tokens = nlohmann::json::parse(ask(R"({"action":"listTokens"})"))["tokens"];
    std::string formatted;
    for (const auto& token : tokens) {
        if (token["tokenLabel"] == "QARN Token") {
            formatted = token["tokenSN"];
        }
    }
    ASSERT_FALSE(formatted.empty()) << tokens.dump();
    EXPECT_EQ(ask(login(formatted, "13579", true)), loginReply(formatted));
}

// A module that reports one serial for every token and for its empty slot,
// as tpm2-pkcs11 does: the empty slot is listed and formatted as the blank
// token it is, and the serial that two tokens share is refused by every
// action that names it, before a session is opened or a PIN is tried.
TEST_F(TokensTest, ABlankSlotIsKnownByItsFlagAndASharedSerialIsRefused) {
    SoftHsmToken beta = hsm.createToken("Beta");
    const std::string shared = "0000000000000000";
    fault.setRules("serial text " + shared + "\n");
    start();
    nlohmann::json tokens = nlohmann::json::parse(ask(R"({"action":"listTokens"})"))["tokens"];
    ASSERT_EQ(tokens.size(), 3u) << tokens.dump();
    std::vector<std::string> serials;
    for (const auto& token : tokens) {
        serials.push_back(token["tokenSN"].get<std::string>() + "/" +
                          token["tokenLabel"].get<std::string>());
    }
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(serials, (std::vector<std::string>{"/", shared + "/Alpha", shared + "/Beta"}));

    const std::string ambiguous = "Several tokens have the serial number " + shared;
    const std::string admin = alpha.soPin;
    FaultState before = fault.state();
    EXPECT_EQ(ask(login(shared, alpha.userPin, true)), loginReply(shared, ambiguous));
    EXPECT_EQ(ask(changePin(shared, alpha.userPin, "654321")),
              tokenReply("changePIN", shared, ambiguous));
    EXPECT_EQ(ask(formatToken(shared, "13579", &admin)),
              tokenReply("formatToken", shared, ambiguous));
    EXPECT_EQ(ask(R"({"action":"listCertificates","tokenSN":")" + shared + "\"}"),
              R"({"action":"listCertificates","error":")" + ambiguous + "\"}");
    std::map<std::string, unsigned long> calls = fault.state().callsSince(before);
    for (const char* function : {"C_OpenSession", "C_Login", "C_InitToken"}) {
        EXPECT_EQ(calls.count(function), 0u) << function;
    }
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","certificates":[]})");

    // One of the two unplugged: the other is the token of that serial. The
    // blank slot is formatted under the empty serial, never under the one it
    // reports.
    fault.setRules("serial text " + shared + "\nhide slot " + std::to_string(beta.slot) + "\n");
    EXPECT_EQ(ask(login(shared, alpha.userPin, true)), loginReply(shared));
    EXPECT_EQ(ask(formatToken("", "13579", nullptr)), tokenReply("formatToken", ""));
    EXPECT_EQ(ask(login(shared, alpha.userPin, true)), loginReply(shared, ambiguous));
}

TEST_F(TokensTest, FormatTokenWithItsAdminPinEmptiesTheToken) {
    {
        Pkcs11Session session = userSession(alpha);
        session.generateRsaKeyPair(RsaKeyOptions(toBytes("old"), 1024));
    }
    start();
    EXPECT_EQ(ask(formatToken(alpha.serial, "97531", &alpha.soPin)),
              tokenReply("formatToken", alpha.serial));
    EXPECT_EQ(ask(login(alpha.serial, alpha.userPin, false)),
              loginReply(alpha.serial, "Incorrect PIN  (rc=160)"));
    ASSERT_EQ(ask(login(alpha.serial, "97531", false)), loginReply(alpha.serial));
    EXPECT_EQ(
        ask(R"({"action":"getOrphanKeys","tokenSN":")" + alpha.serial + R"(","keyType":"public"})"),
        R"({"action":"getOrphanKeys","orphanKeys":[],"tokenSN":")" + alpha.serial + "\"}");
    std::string listing = ask(R"({"action":"listTokens"})");
    EXPECT_NE(listing.find(tokenRecord(alpha.serial, "QARN Token")), std::string::npos) << listing;
}

TEST_F(TokensTest, FormatTokenRefusals) {
    const std::string wrong = "00000000";
    start();
    struct Case {
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        // An initialised token is re-initialised only with its security officer PIN.
        {formatToken(alpha.serial, "97531", nullptr),
         tokenReply("formatToken", alpha.serial, "Failed to format the token (rc=160)")},
        {formatToken(alpha.serial, "97531", &wrong),
         tokenReply("formatToken", alpha.serial, "Failed to format the token (rc=160)")},
        {formatToken("0000", "97531", &alpha.soPin),
         tokenReply("formatToken", "0000", "No token with serial number 0000")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ask(c.request), c.reply);
    }
    EXPECT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
}

TEST_F(TokensTest, FormatTokenWhileLoggedInToItIsRefusedAndKeepsTheLogin) {
    start();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, true)), loginReply(alpha.serial));
    EXPECT_EQ(ask(formatToken(alpha.serial, "97531", &alpha.soPin)),
              tokenReply("formatToken", alpha.serial, "Failed to format the token (rc=182)"));
    EXPECT_EQ(ask(R"({"action":"info"})"), infoLoggedIn(alpha.serial));
}

TEST_F(TokensTest, FormatTokenReportsAFailedUserPin) {
    start();
    fault.setRules("fail C_InitPIN CKR_DEVICE_ERROR\n");
    EXPECT_EQ(ask(formatToken(alpha.serial, "97531", &alpha.soPin)),
              tokenReply("formatToken", alpha.serial, "Failed to set token PIN (rc=48)"));
}

// Without a module every token action answers its own error form.
TEST(HostWithoutModule, EveryTokenActionRefusesInItsOwnReply) {
    SoftHsm hsm;
    HostSettings settings;
    settings.pkcs11Library = "/nonexistent/libmissing-pkcs11.so";
    HostProcess host(settings);
    const std::string e = R"("error":"Failed to initalise PKCS11 API")";
    struct Case {
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        {R"({"action":"listTokens"})", R"({"action":"listTokens",)" + e + "}"},
        {R"({"action":"listCertificates"})", R"({"action":"listCertificates",)" + e + "}"},
        {R"({"action":"getCertificate","certificateSN":"020101"})",
         R"({"action":"getCertificate",)" + e + "}"},
        {login("ab", "1234", true), R"({"action":"login",)" + e + R"(,"tokenSN":"ab"})"},
        {R"({"action":"sign","certificateSN":"020101","payload":"x"})",
         R"({"action":"sign",)" + e + "}"},
        {R"({"action":"deleteCertificate","certificateSN":"020101"})",
         R"({"action":"deleteCertificate","certificateSN":"020101",)" + e + "}"},
        {R"({"action":"deleteOrphanKeys","tokenSN":"ab","keyType":"private"})",
         R"({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,)" + e +
             R"(,"tokenSN":"ab"})"},
        {formatToken("ab", "1234", nullptr),
         R"({"action":"formatToken",)" + e + R"(,"tokenSN":"ab"})"},
        {R"({"action":"getOrphanKeys","tokenSN":"ab","keyType":"public"})",
         R"({"action":"getOrphanKeys",)" + e + R"(,"tokenSN":"ab"})"},
        {changePin("ab", "1", "2"), R"({"action":"changePIN",)" + e + R"(,"tokenSN":"ab"})"},
        {R"({"action":"generateKeys","tokenSN":"ab","result":"csr"})",
         R"({"action":"generateKeys",)" + e + R"(,"tokenSN":"ab"})"},
        {R"({"action":"importCertificate","certificate":"AA=="})",
         R"({"action":"importCertificate",)" + e + "}"},
        {R"({"action":"selectCertificate","forceLogon":true})",
         R"({"action":"selectCertificate","error":"Not Implemented"})"},
        {R"({"action":"info"})",
         R"({"action":"info","driver":"None","error":"There is no active token","host":"1.4"})"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host.request(c.request), c.reply);
    }
    EXPECT_EQ(host.stop(), 0);
}

}  // namespace
}  // namespace e2e
