#include <gtest/gtest.h>

#include "token/log_value.h"
#include "token/token.h"
#include "token_fixture.h"

TEST(TrimPadded, DropsTrailingWhiteSpaceWithinItsOwnWidth) {
    const std::pair<std::string, std::string> cases[] = {
        {"ABC             ", "ABC"},
        {"                ", ""},
        {"A B\t\n\v\f\r        ", "A B"},
        {"  lead          ", "  lead"},
        {"caf\xC3\xA9           ", "caf\xC3\xA9"},
        {"end\x80            ", "end\x80"},
        {"0123456789ABCDEF", "0123456789ABCDEF"},
        // NUL pads like a blank; one inside the text stays.
        {std::string("SW   TPM\0\0\0\0\0\0\0\0", 16), "SW   TPM"},
        {std::string("A\0B \0 \0\t       ", 16), std::string("A\0B", 3)},
        {std::string(16, '\0'), ""},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(c.first.size(), 16u);
        EXPECT_EQ(trimPadded(reinterpret_cast<const CK_UTF8CHAR*>(c.first.data()), 16), c.second);
    }
}

TEST_F(TokenTest, DescribesTheTokensOfItsSlots) {
    SoftHsmToken second = hsm.createToken("Token two");
    load();
    std::vector<CK_SLOT_ID> slots = getTokenSlots();
    ASSERT_EQ(slots.size(), 3u) << "two tokens and the blank slot";
    std::unique_ptr<TokenInfo> info = getTokenInfo(token.slot);
    EXPECT_EQ(info->tokenSN, token.serial);
    EXPECT_EQ(info->tokenLabel, "Token one");
    EXPECT_EQ(info->tokenModel, "SoftHSM v2");
    EXPECT_EQ(info->pmin, 4);
    EXPECT_EQ(info->pmax, 255);
    EXPECT_EQ(findTokenSlot(second.serial), second.slot);
    EXPECT_EQ(findTokenSlot(token.serial), token.slot);
    EXPECT_EQ(findTokenSlot(""), hsm.blankSlot());
    EXPECT_EQ(failureOf([&] { findTokenSlot("nope"); }), "No token with serial number nope");
    EXPECT_EQ(failureOf([&] { findTokenSlot(token.serial.substr(1)); }),
              "No token with serial number " + token.serial.substr(1));
}

TEST_F(TokenTest, UnavailablePinLengthReadsMinusOne) {
    load(true);
    faults->setRules("maxpin unavailable\n");
    EXPECT_EQ(getTokenInfo(token.slot)->pmax, -1);
}

TEST_F(TokenTest, TellsAKeypadAndWhatTheTokenSaysOfWrongPins) {
    load(true);
    std::unique_ptr<TokenInfo> plain = getTokenInfo(token.slot);
    EXPECT_FALSE(plain->pinPad);
    EXPECT_EQ(plain->userPinState, "");
    EXPECT_FALSE(findToken(token.serial).pinPad);
    const std::string slot = " slot " + std::to_string(token.slot) + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {"flag CKF_USER_PIN_COUNT_LOW", "countLow"},
        {"flag CKF_USER_PIN_FINAL_TRY", "finalTry"},
        {"flag CKF_USER_PIN_LOCKED", "locked"},
        {"flag CKF_USER_PIN_COUNT_LOW" + slot + "flag CKF_USER_PIN_LOCKED", "locked"},
        {"flag CKF_USER_PIN_COUNT_LOW" + slot + "flag CKF_USER_PIN_FINAL_TRY", "finalTry"},
        // A PIN that must be changed says nothing of wrong PINs.
        {"flag CKF_USER_PIN_TO_BE_CHANGED", ""},
    };
    for (const auto& c : cases) {
        faults->setRules("flag CKF_PROTECTED_AUTHENTICATION_PATH" + slot + c.first + slot);
        std::unique_ptr<TokenInfo> info = getTokenInfo(token.slot);
        EXPECT_TRUE(info->pinPad) << c.first;
        EXPECT_EQ(info->userPinState, c.second) << c.first;
        EXPECT_TRUE(findToken(token.serial).pinPad) << c.first;
        EXPECT_EQ(findToken(token.serial).slot, token.slot) << c.first;
    }
}

TEST_F(TokenTest, SerialPaddedWithTabsStillMatches) {
    load(true);
    faults->setRules("serial text " + token.serial.substr(0, 10) + " pad \\t slot " +
                     std::to_string(token.slot) + "\n");
    EXPECT_EQ(getTokenInfo(token.slot)->tokenSN, token.serial.substr(0, 10));
    EXPECT_EQ(findTokenSlot(token.serial.substr(0, 10)), token.slot);
}

// Of two tokens with one serial the right one cannot be told: neither is
// chosen. Listing still shows both.
TEST_F(TokenTest, ASerialThatTwoTokensShareFindsNeither) {
    SoftHsmToken second = hsm.createToken("Token two");
    SoftHsmToken third = hsm.createToken("Token three");
    load(true);
    faults->setRules("serial copy " + std::to_string(token.slot) + " slot " +
                     std::to_string(second.slot) + "\n");
    EXPECT_EQ(getTokenInfo(second.slot)->tokenSN, token.serial);
    EXPECT_EQ(failureOf([&] { findTokenSlot(token.serial); }),
              "Several tokens have the serial number " + token.serial);
    EXPECT_EQ(findTokenSlot(third.serial), third.slot);
    // A token that cannot be read is no rival.
    faults->setRules("serial copy " + std::to_string(token.slot) + " slot " +
                     std::to_string(second.slot) + "\nfail C_GetTokenInfo CKR_DEVICE_ERROR slot " +
                     std::to_string(second.slot) + "\n");
    EXPECT_EQ(findTokenSlot(token.serial), token.slot);
}

// A token without CKF_TOKEN_INITIALIZED is blank whatever its module reports
// (tpm2-pkcs11 gives its empty slot the serial of its tokens): it is listed
// and found under the empty serial, and never under the one it reports.
TEST_F(TokenTest, ABlankTokenIsKnownByItsFlagNotByWhatItReports) {
    load(true);
    const std::string blank = std::to_string(hsm.blankSlot());
    const std::string shared = "0000000000000000";
    faults->setRules("serial text " + shared + " slot " + blank + "\nlabel text Empty slot " +
                     blank + "\nserial text " + shared + " slot " + std::to_string(token.slot) +
                     "\n");
    std::unique_ptr<TokenInfo> info = getTokenInfo(hsm.blankSlot());
    EXPECT_EQ(info->tokenSN, "");
    EXPECT_EQ(info->tokenLabel, "");
    EXPECT_EQ(info->tokenModel, "SoftHSM v2");
    EXPECT_EQ(getTokenInfo(token.slot)->tokenSN, shared);
    EXPECT_EQ(findTokenSlot(""), hsm.blankSlot());
    EXPECT_EQ(findTokenSlot(shared), token.slot);
    faults->setRules("serial text " + shared + " slot " + blank + "\n");
    EXPECT_EQ(failureOf([&] { findTokenSlot(shared); }), "No token with serial number " + shared);
}

TEST_F(TokenTest, ATokenThatCannotBeReadIsSkippedBySearchButReportedWhenAsked) {
    SoftHsmToken second = hsm.createToken("Token two");
    load(true);
    faults->setRules("fail C_GetTokenInfo CKR_DEVICE_ERROR slot " + std::to_string(token.slot) +
                     "\n");
    EXPECT_EQ(findTokenSlot(second.serial), second.slot);
    EXPECT_EQ(failureOf([&] { findTokenSlot(token.serial); }),
              "No token with serial number " + token.serial);
    EXPECT_EQ(failureOf([&] { getTokenInfo(token.slot); }), "Failed to get token info (rc=48)");
}

TEST_F(TokenTest, SlotListFailuresAreReported) {
    load(true);
    faults->setRules("fail C_GetSlotList CKR_DEVICE_ERROR call 1\n");
    EXPECT_EQ(failureOf([] { getTokenSlots(); }), "Error retrieving the token slot count (rc=48)");
    faults->setRules("fail C_GetSlotList CKR_FUNCTION_FAILED call 2\n");
    EXPECT_EQ(failureOf([] { getTokenSlots(); }), "Error retrieving the token slots (rc=6)");
    faults->setRules("hide\n");
    EXPECT_TRUE(getTokenSlots().empty());
    EXPECT_EQ(failureOf([] { findTokenSlot("x"); }), "No token with serial number x");
}

TEST_F(TokenTest, LoginFailuresCarryTheirMessageAndCode) {
    load(true);
    const std::pair<const char*, const char*> cases[] = {
        {"CKR_PIN_INCORRECT", "Incorrect PIN  (rc=160)"},
        {"CKR_PIN_INVALID", "Invalid PIN (rc=161)"},
        {"CKR_PIN_LEN_RANGE", "Invaliod PIN length (rc=162)"},
        {"CKR_PIN_EXPIRED", "Expired PIN (rc=163)"},
        {"CKR_PIN_LOCKED", "Locked PIN (rc=164)"},
        {"CKR_USER_ALREADY_LOGGED_IN", "Already logged-in (rc=256)"},
        {"CKR_USER_PIN_NOT_INITIALIZED", "PIN is not initialised (rc=258)"},
        {"CKR_DEVICE_ERROR", "Login failed (rc=48)"},
        {"0x80000001", "Login failed (rc=2147483649)"},
    };
    CK_SESSION_HANDLE session = openSession(token.slot, false);
    for (const auto& c : cases) {
        faults->setRules(std::string("fail C_Login ") + c.first + "\n");
        EXPECT_EQ(failureOf([&] { loginUser(session, token.userPin); }), c.second);
    }
    faults->clearRules();
    closeSession(session);
    EXPECT_EQ(FaultModule::loadedOpenSessions(), 0u);
}

// An empty PIN reaches the module as no PIN at all only for the keypad of a
// token that has one; a cancel on the reader is told apart only there.
TEST_F(TokenTest, AnEmptyPinIsEnteredOnTheKeypadOnlyWhereThereIsOne) {
    load(true);
    faults->setRules("keypad " + token.userPin + " slot " + std::to_string(token.slot) + "\n");
    CK_SESSION_HANDLE session = openSession(token.slot, false);
    struct Case {
        PinPath path;
        std::string pin;
        std::string failure;
    };
    const Case cases[] = {
        {{}, "", "Login failed (rc=7)"},
        {PinPath{true}, "", "Login failed (rc=7)"},
        {keypadFor(false), "", "Login failed (rc=7)"},
        {keypadFor(true), token.userPin, "Login failed (rc=7)"},
        {keypadFor(true), "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(failureOf([&] { loginUser(session, c.pin, c.path); }), c.failure);
    }
    logout(session);
    faults->setRules("fail C_Login CKR_FUNCTION_CANCELED\n");
    EXPECT_EQ(failureOf([&] { loginUser(session, "", keypadFor(true)); }),
              "The PIN entry on the reader was cancelled (rc=80)");
    EXPECT_EQ(failureOf([&] { loginUser(session, "1234", PinPath{true}); }),
              "The PIN entry on the reader was cancelled (rc=80)");
    EXPECT_EQ(failureOf([&] { loginUser(session, "", keypadFor(false)); }), "Login failed (rc=80)");
    EXPECT_EQ(failureOf([&] { loginSecurityOfficer(session, token.soPin); }),
              "Login failed (rc=80)");
    closeSession(session);
}

TEST_F(TokenTest, LoginTakesTheWholePin) {
    load();
    CK_SESSION_HANDLE session = openSession(token.slot, false);
    EXPECT_EQ(failureOf([&] { loginUser(session, "wrong-pin"); }), "Incorrect PIN  (rc=160)");
    // A PIN with a NUL inside is passed whole, not cut at the NUL.
    EXPECT_EQ(failureOf([&] { loginUser(session, token.userPin + std::string("\0x", 2)); }),
              "Incorrect PIN  (rc=160)");
    EXPECT_EQ(failureOf([&] { loginUser(session, token.userPin); }), "");
    // The security officer cannot log in while a read-only session is open
    // (CKR_SESSION_READ_ONLY_EXISTS), a code without a message of its own.
    EXPECT_EQ(failureOf([&] { loginSecurityOfficer(session, token.soPin); }),
              "Login failed (rc=183)");
    logout(session);
    closeSession(session);
}

TEST_F(TokenTest, SessionsOpenInTheAskedModeAndWarnWhenTheyCannotClose) {
    load(true);
    CK_SESSION_HANDLE readOnly = openSession(token.slot, false);
    CK_SESSION_HANDLE readWrite = openSession(token.slot, true);
    EXPECT_EQ(FaultModule::loadedOpenSessions(), 2u);
    loginUser(readWrite, token.userPin);
    EXPECT_EQ(codeOf([&] { destroyObject(readOnly, 12345, "not deleted"); }),
              CKR_OBJECT_HANDLE_INVALID);
    EXPECT_EQ(codeOf([&] { generateKeyPair(readOnly); }), CKR_SESSION_READ_ONLY);
    faults->setRules("fail C_OpenSession CKR_TOKEN_NOT_PRESENT\n");
    EXPECT_EQ(failureOf([&] { openSession(token.slot, true); }),
              "Failed to open token session (rc=224)");
    faults->setRules("fail C_CloseSession CKR_DEVICE_ERROR\nfail C_Logout CKR_DEVICE_ERROR\n");
    testing::internal::CaptureStderr();
    logout(readWrite);
    closeSession(readOnly);
    std::string lines = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines, "Warning - failed to logout from token session " +
                         std::to_string(logValue(readWrite)) +
                         " (rc=48)Warning - failed to close token session " +
                         std::to_string(logValue(readOnly)) + " (rc=48)");
    faults->clearRules();
    closeSession(readWrite);
    EXPECT_EQ(FaultModule::loadedOpenSessions(), 0u)
        << "the failing close still closed the session";
}
