#include "common/logger.h"
#include "common/native_host_exception.h"
#include "token/token.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

using token_internal::check;
using token_internal::functions;

using token_internal::CodeMeaning;

namespace {

void login(CK_SESSION_HANDLE session, std::string_view pin, CK_USER_TYPE user, PinPath path) {
    // The whole PIN, NUL bytes included, with its byte length; none at all
    // when the reader's keypad is to ask for it.
    auto pinBytes = reinterpret_cast<CK_UTF8CHAR*>(const_cast<char*>(pin.data()));
    CK_ULONG pinLength = pin.size();
    if (path.onKeypad(pin)) {
        pinBytes = nullptr;
        pinLength = 0;
    }
    check(functions()->C_Login(session, user, pinBytes, pinLength), kLoginFailed,
          {
              token_internal::cancelOnKeypad(path.pinPad),
              {CKR_PIN_INCORRECT, kPinIncorrect},
              {CKR_PIN_INVALID, kPinInvalid},
              {CKR_PIN_LEN_RANGE, kPinLengthInvalid},
              {CKR_PIN_EXPIRED, kPinExpired},
              {CKR_PIN_LOCKED, kPinLocked},
              {CKR_USER_ALREADY_LOGGED_IN, kAlreadyLoggedIn},
              {CKR_USER_PIN_NOT_INITIALIZED, kPinNotInitialised},
          });
}

}  // namespace

CodeMeaning token_internal::cancelOnKeypad(bool pinPad) {
    // check() returns before it looks at meanings for CKR_OK, so without a
    // keypad this meaning never applies.
    return {pinPad ? CKR_FUNCTION_CANCELED : CKR_OK, kPinEntryCancelled};
}

CK_SESSION_HANDLE openSession(CK_SLOT_ID slot, bool readWrite) {
    CK_FLAGS flags = CKF_SERIAL_SESSION | (readWrite ? CKF_RW_SESSION : 0);
    CK_SESSION_HANDLE session = CK_INVALID_HANDLE;
    check(functions()->C_OpenSession(slot, flags, nullptr, nullptr, &session), kSessionNotOpened);
    return session;
}

void closeSession(CK_SESSION_HANDLE session) {
    CK_RV rv = functions()->C_CloseSession(session);
    if (rv != CKR_OK) {
        Logger::instance()->error("Warning - failed to close token session %d (rc=%d)",
                                  logValue(session), logValue(rv));
    }
}

void loginUser(CK_SESSION_HANDLE session, std::string_view pin, PinPath path) {
    login(session, pin, CKU_USER, path);
}

// A security officer PIN is always typed, even for a token with a keypad.
void loginSecurityOfficer(CK_SESSION_HANDLE session, std::string_view pin) {
    login(session, pin, CKU_SO, PinPath{});
}

void loginContextSpecific(CK_SESSION_HANDLE session, std::string_view pin, PinPath path) {
    login(session, pin, CKU_CONTEXT_SPECIFIC, path);
}

void logout(CK_SESSION_HANDLE session) {
    CK_RV rv = functions()->C_Logout(session);
    if (rv != CKR_OK) {
        Logger::instance()->error("Warning - failed to logout from token session %d (rc=%d)",
                                  logValue(session), logValue(rv));
    }
}
