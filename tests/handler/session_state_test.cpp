#include "handler/session_state.h"

#include <gtest/gtest.h>

#include "token/log_value.h"
#include "token/token_fixture.h"

namespace {

const CK_SESSION_HANDLE kLoginSession = 42;

// What requireLogin gives: "session N" for the session it returns, or the
// message it raises.
std::string requireLoginOutcome(const SessionState& state, LoginAccess access,
                                const std::string* tokenSN) {
    try {
        return "session " + std::to_string(state.requireLogin(access, "refused", tokenSN));
    } catch (const NativeHostException& failure) {
        return failure.getMessage();
    }
}

}  // namespace

TEST(SessionStateTest, RequireLoginHandsOutTheSessionOnlyForTheLoginAHandlerNeeds) {
    const std::string loggedInToken = "TOKEN-1";
    const std::string otherToken = "TOKEN-2";
    struct Case {
        bool loggedIn;
        bool readWrite;
        LoginAccess access;
        const std::string* tokenSN;
        const char* expected;
    };
    const Case cases[] = {
        {false, false, LoginAccess::Any, nullptr, "refused"},
        {false, false, LoginAccess::ReadWrite, &loggedInToken, "refused"},
        {true, false, LoginAccess::Any, nullptr, "session 42"},
        {true, false, LoginAccess::ReadWrite, nullptr, "refused"},
        {true, true, LoginAccess::ReadWrite, nullptr, "session 42"},
        {true, false, LoginAccess::Any, &loggedInToken, "session 42"},
        {true, false, LoginAccess::Any, &otherToken, "Logged in to diferent token"},
        // The kind of login is judged before the token.
        {true, false, LoginAccess::ReadWrite, &otherToken, "refused"},
        {true, true, LoginAccess::ReadWrite, &otherToken, "Logged in to diferent token"},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const Case& c = cases[i];
        SessionState state;
        if (c.loggedIn) {
            state.setLogin(loggedInToken, 7, kLoginSession, c.readWrite);
        }
        EXPECT_EQ(requireLoginOutcome(state, c.access, c.tokenSN), c.expected) << "case " << i;
    }
}

TEST_F(TokenTest, EndLoginClosesTheLoginsSessionAndNothingElse) {
    load(true);
    SessionState state;
    CK_SESSION_HANDLE session = openSession(token.slot, true);
    loginUser(session, token.userPin);
    state.setLogin(token.serial, token.slot, session, true);

    state.endLogin();
    EXPECT_FALSE(state.isLoggedIn());
    EXPECT_EQ(state.getTokenSerial(), "");
    EXPECT_EQ(FaultModule::loadedOpenSessions(), 0u);
    EXPECT_EQ(FaultModule::loadedCalls("C_CloseSession"), 1u);
    EXPECT_EQ(FaultModule::loadedCalls("C_Logout"), 0u);
    EXPECT_EQ(requireLoginOutcome(state, LoginAccess::Any, nullptr), "refused");

    // Without a login there is nothing to end.
    state.endLogin();
    EXPECT_EQ(FaultModule::loadedCalls("C_CloseSession"), 1u);
}

TEST_F(TokenTest, EndLoginForgetsTheLoginWhenItsSessionFailsToClose) {
    load(true);
    SessionState state;
    CK_SESSION_HANDLE session = openSession(token.slot, false);
    state.setLogin(token.serial, token.slot, session, false);
    faults->setRules("fail C_CloseSession CKR_DEVICE_ERROR\n");

    testing::internal::CaptureStderr();
    state.endLogin();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Warning - failed to close token session " +
                                                          std::to_string(logValue(session)) +
                                                          " (rc=48)");
    EXPECT_FALSE(state.isLoggedIn());
    EXPECT_EQ(FaultModule::loadedOpenSessions(), 0u);
}

// The token's mechanisms are read at most once per login: kept while the
// login lasts, read again for the next one.
TEST_F(TokenTest, TheMechanismsGoWithTheLogin) {
    load(true);
    SessionState state;
    for (int login = 1; login <= 2; ++login) {
        state.setLogin(token.serial, token.slot, openSession(token.slot, false), false);
        for (int use = 0; use < 3; ++use) {
            EXPECT_TRUE(state.getMechanisms().offers(CKM_SHA256_RSA_PKCS));
            EXPECT_FALSE(state.getMechanisms().offers(CKM_ECDSA_SHA256));
        }
        EXPECT_EQ(FaultModule::loadedCalls("C_GetMechanismList"), 2u * login);
        state.endLogin();
    }
}
