// Tokens in readers with their own keypad, and tokens that count wrong PINs:
// what listTokens says of them, and how login, changePIN and a per-signature
// PIN reach such a token. The fault module plays the reader: it reports the
// flags, takes a login or PIN change only without a PIN from the host (and
// then uses the PIN "typed on the keypad"), and answers what the rules say.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/host_fixture.h"
#include "e2e/replies.h"

namespace e2e {
namespace {

const std::string kCancelled = "The PIN entry on the reader was cancelled (rc=80)";

std::string changePinReply(const std::string& tokenSN, const std::string& error = "") {
    return R"({"action":"changePIN",)" + (error.empty() ? "" : R"("error":")" + error + "\",") +
           R"("tokenSN":")" + tokenSN + "\"}";
}

class PinPadTest : public HostTest {
  protected:
    std::string slotOf(const SoftHsmToken& token) const { return std::to_string(token.slot); }

    // `token` sits in a reader with a keypad on which its PIN is typed (and
    // `keypadOptions` say more); `extra` rules follow.
    std::string keypad(const SoftHsmToken& token, const std::string& extra = "",
                       const std::string& keypadOptions = "") const {
        return "flag CKF_PROTECTED_AUTHENTICATION_PATH slot " + slotOf(token) + "\nkeypad " +
               token.userPin + keypadOptions + " slot " + slotOf(token) + "\n" + extra;
    }

    std::string listing() { return ask(R"({"action":"listTokens"})"); }

    // The listTokens record of `token`, from the listing.
    std::string recordOf(const SoftHsmToken& token) {
        std::string text = listing();
        size_t serial = text.find("\"tokenSN\":\"" + token.serial + "\"");
        EXPECT_NE(serial, std::string::npos) << text;
        size_t start = text.rfind('{', serial);
        return text.substr(start, text.find('}', serial) - start + 1);
    }

    SoftHsmToken alpha = hsm.createToken("Alpha");
};

std::string plainRecord(const SoftHsmToken& token) {
    return R"({"pmax":255.000000,"pmin":4.000000,"tokenLabel":")" + token.label +
           R"(","tokenModel":"SoftHSM v2","tokenSN":")" + token.serial + "\"}";
}

TEST_F(PinPadTest, OnlyTheTokensThatReportThemGetTheKeypadAndPinStateMembers) {
    SoftHsmToken beta = hsm.createToken("Beta");
    start();
    struct Case {
        std::string flags;
        std::string record;
    };
    const std::string alphaStart = R"({"pinPad":true,"pmax":255.000000,"pmin":4.000000,)";
    const std::string alphaEnd =
        R"("tokenLabel":"Alpha","tokenModel":"SoftHSM v2","tokenSN":")" + alpha.serial + "\"";
    const std::vector<Case> cases = {
        {"", alphaStart + alphaEnd + "}"},
        {"CKF_USER_PIN_COUNT_LOW", alphaStart + alphaEnd + R"(,"userPinState":"countLow"})"},
        {"CKF_USER_PIN_FINAL_TRY", alphaStart + alphaEnd + R"(,"userPinState":"finalTry"})"},
        {"CKF_USER_PIN_LOCKED", alphaStart + alphaEnd + R"(,"userPinState":"locked"})"},
        // The most urgent one wins.
        {"CKF_USER_PIN_COUNT_LOW CKF_USER_PIN_FINAL_TRY",
         alphaStart + alphaEnd + R"(,"userPinState":"finalTry"})"},
        {"CKF_USER_PIN_COUNT_LOW CKF_USER_PIN_FINAL_TRY CKF_USER_PIN_LOCKED",
         alphaStart + alphaEnd + R"(,"userPinState":"locked"})"},
    };
    for (const Case& c : cases) {
        std::string rules = "flag CKF_PROTECTED_AUTHENTICATION_PATH slot " + slotOf(alpha) + "\n";
        for (size_t at = 0; at < c.flags.size();) {
            size_t end = c.flags.find(' ', at);
            end = end == std::string::npos ? c.flags.size() : end;
            rules += "flag " + c.flags.substr(at, end - at) + " slot " + slotOf(alpha) + "\n";
            at = end + 1;
        }
        fault.setRules(rules);
        EXPECT_EQ(recordOf(alpha), c.record) << c.flags;
        EXPECT_EQ(recordOf(beta), plainRecord(beta)) << c.flags;
    }

    // The info reply of a login to such a token is as it ever was.
    fault.setRules(keypad(alpha, "flag CKF_USER_PIN_COUNT_LOW\n"));
    ASSERT_EQ(ask(login(alpha.serial, "", false)), loginReply(alpha.serial));
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"libvantrel_pkcs11_fault.so","host":"1.4","model":"SoftHSM v2","pmax":255.000000,"pmin":4.000000,"token":")" +
            alpha.serial + "\"}");
}

// The reader takes a login only without a PIN from the host: an empty PIN
// logs in on the keypad's token, and only there.
TEST_F(PinPadTest, AnEmptyPinGoesToTheKeypadOnlyOnATokenThatHasOne) {
    SoftHsmToken beta = hsm.createToken("Beta");
    start();
    // Both readers would take a PIN only from their keypad; only alpha says it has one.
    fault.setRules(keypad(alpha, "keypad " + beta.userPin + " slot " + slotOf(beta) + "\n"));
    EXPECT_EQ(ask(login(alpha.serial, "", false)), loginReply(alpha.serial));
    EXPECT_NE(ask(R"({"action":"info"})").find(alpha.serial), std::string::npos);
    EXPECT_EQ(ask(login(beta.serial, "", false)), loginReply(beta.serial, "Login failed (rc=7)"));
    // A PIN the page typed goes to the module as typed, keypad or not.
    EXPECT_EQ(ask(login(alpha.serial, alpha.userPin, false)),
              loginReply(alpha.serial, "Login failed (rc=7)"));
    fault.clearRules();
    EXPECT_EQ(ask(login(beta.serial, "", false)),
              loginReply(beta.serial, "Incorrect PIN  (rc=160)"));
}

TEST_F(PinPadTest, TheKeypadsAnswersToALoginAreThoseOfATypedPinButTheCancel) {
    SoftHsmToken beta = hsm.createToken("Beta");
    start();
    struct Case {
        std::string code;
        std::string keypadError;  // on alpha, the PIN entered on its keypad
        std::string typedError;   // on beta, which has no keypad, a typed PIN
    };
    const std::vector<Case> cases = {
        {"CKR_PIN_INCORRECT", "Incorrect PIN  (rc=160)", "Incorrect PIN  (rc=160)"},
        {"CKR_PIN_INVALID", "Invalid PIN (rc=161)", "Invalid PIN (rc=161)"},
        {"CKR_PIN_LEN_RANGE", "Invaliod PIN length (rc=162)", "Invaliod PIN length (rc=162)"},
        {"CKR_PIN_EXPIRED", "Expired PIN (rc=163)", "Expired PIN (rc=163)"},
        {"CKR_PIN_LOCKED", "Locked PIN (rc=164)", "Locked PIN (rc=164)"},
        {"CKR_FUNCTION_CANCELED", kCancelled, "Login failed (rc=80)"},
        // What a reader that waited too long for the PIN may answer.
        {"CKR_DEVICE_ERROR", "Login failed (rc=48)", "Login failed (rc=48)"},
        {"CKR_FUNCTION_FAILED", "Login failed (rc=6)", "Login failed (rc=6)"},
    };
    for (const Case& c : cases) {
        fault.setRules(keypad(alpha, "fail C_Login " + c.code + "\n"));
        EXPECT_EQ(ask(login(alpha.serial, "", false)), loginReply(alpha.serial, c.keypadError))
            << c.code;
        EXPECT_EQ(ask(login(beta.serial, beta.userPin, false)),
                  loginReply(beta.serial, c.typedError))
            << c.code;
        EXPECT_EQ(fault.state().openSessions, 0u) << c.code;
    }
    // A typed PIN on the keypad's token is cancelled on the reader too.
    fault.setRules("flag CKF_PROTECTED_AUTHENTICATION_PATH slot " + slotOf(alpha) +
                   "\nfail C_Login CKR_FUNCTION_CANCELED\n");
    EXPECT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial, kCancelled));
}

TEST_F(PinPadTest, ChangePinWithBothPinsEmptyHasTheReaderAskForBoth) {
    start();
    fault.setRules(keypad(alpha, "", " new 24680"));
    FaultState before = fault.state();
    EXPECT_EQ(ask(changePin(alpha.serial, "", "")), changePinReply(alpha.serial));
    std::map<std::string, unsigned long> calls = fault.state().callsSince(before);
    EXPECT_EQ(calls.count("C_Login"), 0u) << "no login with the old PIN";
    EXPECT_EQ(calls["C_SetPIN"], 1u);
    EXPECT_EQ(fault.state().openSessions, 0u);
    // The token has the PIN typed on the keypad now.
    fault.clearRules();
    EXPECT_EQ(ask(login(alpha.serial, "24680", false)), loginReply(alpha.serial));

    struct Case {
        std::string rule;
        std::string request;
        std::string error;
    };
    const std::vector<Case> cases = {
        {"fail C_SetPIN CKR_FUNCTION_CANCELED", changePin(alpha.serial, "", ""), kCancelled},
        {"fail C_SetPIN CKR_PIN_INCORRECT", changePin(alpha.serial, "", ""),
         "Failed to set token PIN (rc=160)"},
        {"fail C_SetPIN CKR_DEVICE_ERROR", changePin(alpha.serial, "", ""),
         "Failed to set token PIN (rc=48)"},
        // One PIN typed and one empty: both go as typed, and the reader takes
        // neither; its cancel is still reported as one.
        {"", changePin(alpha.serial, "24680", ""), "Login failed (rc=7)"},
        {"", changePin(alpha.serial, "", "13579"), "Login failed (rc=7)"},
        {"fail C_Login CKR_FUNCTION_CANCELED", changePin(alpha.serial, "24680", "13579"),
         kCancelled},
    };
    for (const Case& c : cases) {
        fault.setRules("flag CKF_PROTECTED_AUTHENTICATION_PATH slot " + slotOf(alpha) +
                       "\nkeypad 24680 slot " + slotOf(alpha) + "\n" + c.rule + "\n");
        EXPECT_EQ(ask(c.request), changePinReply(alpha.serial, c.error)) << c.rule << c.request;
        EXPECT_EQ(fault.state().openSessions, 0u) << c.rule;
    }
    fault.clearRules();
    EXPECT_EQ(ask(login(alpha.serial, "24680", false)), loginReply(alpha.serial));
}

TEST_F(PinPadTest, FormatTokenTakesTypedPinsOnAKeypadsToken) {
    start();
    fault.setRules(keypad(alpha));
    const std::string adminPin = "87654321";
    EXPECT_EQ(ask(R"({"action":"formatToken","tokenSN":")" + alpha.serial +
                  R"(","tokenPIN":"13579","adminPIN":")" + adminPin + "\"}"),
              R"({"action":"formatToken","tokenSN":")" + alpha.serial + "\"}");
    fault.clearRules();
    EXPECT_EQ(ask(login(alpha.serial, "13579", false)), loginReply(alpha.serial));
}

TEST_F(PinPadTest, AKeyThatNeedsItsPinTakesItOnTheKeypad) {
    RsaKeyOptions always;
    always.extraPrivate.flag(CKA_ALWAYS_AUTHENTICATE, true);
    CertificateOptions options;
    options.subject = "/CN=Keypad Signer";
    StoredCertificate stored = addCertificate(alpha, toBytes("k1"), options, always);
    Pkcs11Session setup = userSession(alpha);
    EvpPkeyPtr publicKey = setup.publicKey(setup.find(CKO_PUBLIC_KEY, toBytes("k1")).at(0));
    const std::string sign = R"({"action":"sign","certificateSN":")" + stored.certificateSN +
                             R"(","payload":"on the keypad")";
    start();
    fault.setRules(keypad(alpha));
    ASSERT_EQ(ask(login(alpha.serial, "", false)), loginReply(alpha.serial));

    nlohmann::json signed_ = nlohmann::json::parse(ask(sign + R"(,"pin":""})"));
    ASSERT_TRUE(signed_.contains("signature")) << signed_;
    EXPECT_TRUE(verifyRsaSha256(publicKey.get(), toBytes("on the keypad"),
                                base64Bytes(signed_["signature"].get<std::string>())));

    struct Case {
        std::string rule;
        std::string pin;  // the request's "pin" member, or none
        std::string reply;
    };
    const std::vector<Case> cases = {
        {"", "", signError("The key needs its PIN for every signature")},
        {"fail C_Login CKR_FUNCTION_CANCELED", R"(,"pin":"")", signError(kCancelled)},
        {"fail C_Login CKR_PIN_INCORRECT", R"(,"pin":"")", signError("Incorrect PIN  (rc=160)")},
        {"fail C_Login CKR_DEVICE_ERROR", R"(,"pin":"")", signError("Login failed (rc=48)")},
        // The key's PIN typed by the page goes to the module as typed.
        {"", R"(,"pin":")" + alpha.userPin + "\"", signError("Login failed (rc=7)")},
    };
    for (const Case& c : cases) {
        fault.setRules(keypad(alpha, c.rule + "\n"));
        EXPECT_EQ(ask(sign + c.pin + "}"), c.reply) << c.rule << c.pin;
    }
    // Each failure ended its signing operation: the next signature is made.
    fault.setRules(keypad(alpha));
    EXPECT_TRUE(nlohmann::json::parse(ask(sign + R"(,"pin":""})")).contains("signature"));

    // Without a keypad, an empty PIN is no PIN at all.
    fault.clearRules();
    ASSERT_EQ(ask(login(alpha.serial, alpha.userPin, false)), loginReply(alpha.serial));
    EXPECT_EQ(ask(sign + R"(,"pin":""})"), signError("The key needs its PIN for every signature"));
}

}  // namespace
}  // namespace e2e
