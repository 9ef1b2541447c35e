#include "handler/session_state.h"

void SessionState::setLogin(std::string serial, CK_SLOT_ID loginSlot,
                            CK_SESSION_HANDLE loginSession, bool loginReadWrite) {
    tokenSerial = std::move(serial);
    slot = loginSlot;
    session = loginSession;
    readWrite = loginReadWrite;
    loggedIn = true;
}

void SessionState::clearLogin() {
    loggedIn = false;
    slot = 0;
    session = 0;
    tokenSerial.clear();
}
