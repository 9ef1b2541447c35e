// The one piece of token state kept from one request to the next: the login.
#pragma once

#include <string>

#include "token/pkcs11.h"

class SessionState {
  public:
    // Stores the login; the state owns the session from now on.
    void setLogin(std::string tokenSerial, CK_SLOT_ID slot, CK_SESSION_HANDLE session,
                  bool readWrite);
    // Forgets the login without touching the token (callers close the session first).
    void clearLogin();

    bool isLoggedIn() const { return loggedIn; }
    CK_SLOT_ID getSlot() const { return slot; }
    CK_SESSION_HANDLE getSession() const { return session; }
    bool isReadWrite() const { return readWrite; }
    const std::string& getTokenSerial() const { return tokenSerial; }
    bool getDevMode() const { return devMode; }
    void setDevMode(bool value) { devMode = value; }

  private:
    bool loggedIn = false;
    CK_SLOT_ID slot = 0;
    CK_SESSION_HANDLE session = 0;
    bool readWrite = false;
    std::string tokenSerial;
    bool devMode = false;
};
