#include "handler/session_state.h"

#include "common/native_host_exception.h"
#include "handler/handler_errors.h"
#include "token/token.h"

void SessionState::setLogin(std::string serial, CK_SLOT_ID loginSlot,
                            CK_SESSION_HANDLE loginSession, bool loginReadWrite, bool loginPinPad) {
    tokenSerial = std::move(serial);
    slot = loginSlot;
    session = loginSession;
    readWrite = loginReadWrite;
    pinPad = loginPinPad;
    mechanisms.emplace(loginSlot);
    loggedIn = true;
}

void SessionState::endLogin() {
    if (!loggedIn) {
        return;
    }
    closeSession(session);
    loggedIn = false;
    slot = 0;
    session = 0;
    pinPad = false;
    tokenSerial.clear();
    mechanisms.reset();
}

TokenMechanisms& SessionState::getMechanisms() {
    if (!mechanisms) {
        mechanisms.emplace(slot);
    }
    return *mechanisms;
}

CK_SESSION_HANDLE SessionState::requireLogin(LoginAccess access, const char* refusal,
                                             const std::string* tokenSN) const {
    if (!loggedIn || (access == LoginAccess::ReadWrite && !readWrite)) {
        throw HandlerException(refusal);
    }
    if (tokenSN != nullptr && *tokenSN != tokenSerial) {
        throw HandlerException(kLoggedInToOtherToken);
    }
    return session;
}
