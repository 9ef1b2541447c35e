#include "common/logger.h"
#include "common/native_host_exception.h"
#include "token/token.h"
#include "token/token_internal.h"

using token_internal::check;
using token_internal::functions;

namespace {

const char* loginFailureMessage(CK_RV rv) {
    switch (rv) {
        case CKR_PIN_INCORRECT:
            return "Incorrect PIN ";
        case CKR_PIN_INVALID:
            return "Invalid PIN";
        case CKR_PIN_LEN_RANGE:
            return "Invaliod PIN length";
        case CKR_PIN_EXPIRED:
            return "Expired PIN";
        case CKR_PIN_LOCKED:
            return "Locked PIN";
        case CKR_USER_ALREADY_LOGGED_IN:
            return "Already logged-in";
        case CKR_USER_PIN_NOT_INITIALIZED:
            return "PIN is not initialised";
        default:
            return "Login failed";
    }
}

void login(CK_SESSION_HANDLE session, std::string_view pin, CK_USER_TYPE user, PinPath path) {
    // The whole PIN, NUL bytes included, with its byte length; none at all
    // when the reader's keypad is to ask for it.
    auto pinBytes = reinterpret_cast<CK_UTF8CHAR*>(const_cast<char*>(pin.data()));
    CK_ULONG pinLength = pin.size();
    if (path.onKeypad(pin)) {
        pinBytes = nullptr;
        pinLength = 0;
    }
    CK_RV rv = functions()->C_Login(session, user, pinBytes, pinLength);
    if (rv == CKR_FUNCTION_CANCELED && path.pinPad) {
        throw TokenException(kPinEntryCancelled, rv);
    }
    if (rv != CKR_OK) {
        throw TokenException(loginFailureMessage(rv), rv);
    }
}

}  // namespace

const char kPinEntryCancelled[] = "The PIN entry on the reader was cancelled";

CK_SESSION_HANDLE openSession(CK_SLOT_ID slot, bool readWrite) {
    CK_FLAGS flags = CKF_SERIAL_SESSION | (readWrite ? CKF_RW_SESSION : 0);
    CK_SESSION_HANDLE session = CK_INVALID_HANDLE;
    check(functions()->C_OpenSession(slot, flags, nullptr, nullptr, &session),
          "Failed to open token session");
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
