#include <gtest/gtest.h>

#include <string>

#include "common/native_host_exception.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

namespace {

using token_internal::cancelOnKeypad;
using token_internal::check;

// What check() raises for `rv` among a login's meanings, "" when it passes.
std::string messageOf(CK_RV rv, bool pinPad) {
    try {
        check(rv, kLoginFailed, {cancelOnKeypad(pinPad), {CKR_PIN_INCORRECT, kPinIncorrect}});
    } catch (const TokenException& refusal) {
        EXPECT_EQ(refusal.getReturnCode(), rv);
        return refusal.getMessage();
    }
    return "";
}

TEST(TokenGateTest, ACodeGetsTheTextOfItsMeaningElseTheCallsFailure) {
    struct Case {
        const char* what;
        CK_RV rv;
        bool pinPad;
        const char* expected;
    } cases[] = {
        {"success", CKR_OK, false, ""},
        {"success on a keypad", CKR_OK, true, ""},
        {"a code with a meaning", CKR_PIN_INCORRECT, false, "Incorrect PIN  (rc=160)"},
        {"a code without one", CKR_DEVICE_ERROR, true, "Login failed (rc=48)"},
        {"a cancel on a keypad", CKR_FUNCTION_CANCELED, true,
         "The PIN entry on the reader was cancelled (rc=80)"},
        {"a cancel without a keypad", CKR_FUNCTION_CANCELED, false, "Login failed (rc=80)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(messageOf(c.rv, c.pinPad), c.expected) << c.what;
    }
}

}  // namespace
