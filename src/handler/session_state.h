// The one piece of token state kept from one request to the next: the login.
#pragma once

#include <optional>
#include <string>

#include "token/pkcs11.h"
#include "token/token_mechanisms.h"

// What a handler needs of the login: any login, or one in a read-write session.
enum class LoginAccess { Any, ReadWrite };

class SessionState {
  public:
    // Stores the login; the state owns the session from now on. `pinPad`:
    // the token takes its PINs on its reader's keypad.
    void setLogin(std::string tokenSerial, CK_SLOT_ID slot, CK_SESSION_HANDLE session,
                  bool readWrite, bool pinPad = false);
    // Ends the login, if there is one: closes its session (a failure is logged)
    // and forgets it. Nothing else is said to the token.
    void endLogin();
    // The login's session, for a handler that works in it. Raises
    // HandlerException(refusal) when there is no login, or when `access` asks
    // for read-write and the session is read-only; then, when `tokenSN` is
    // given and the login is to another token, kLoggedInToOtherToken.
    CK_SESSION_HANDLE requireLogin(LoginAccess access, const char* refusal,
                                   const std::string* tokenSN = nullptr) const;

    // The mechanisms of the login's token, read at the first use and kept
    // until the login ends. Only while logged in.
    TokenMechanisms& getMechanisms();

    bool isLoggedIn() const { return loggedIn; }
    CK_SLOT_ID getSlot() const { return slot; }
    CK_SESSION_HANDLE getSession() const { return session; }
    bool isReadWrite() const { return readWrite; }
    bool hasPinPad() const { return pinPad; }
    const std::string& getTokenSerial() const { return tokenSerial; }
    bool getDevMode() const { return devMode; }
    void setDevMode(bool value) { devMode = value; }

  private:
    bool loggedIn = false;
    CK_SLOT_ID slot = 0;
    CK_SESSION_HANDLE session = 0;
    bool readWrite = false;
    bool pinPad = false;
    std::string tokenSerial;
    std::optional<TokenMechanisms> mechanisms;
    bool devMode = false;
};
