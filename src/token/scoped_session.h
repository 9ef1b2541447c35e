// A token session that is closed when the object goes, unless handed on.
#pragma once

#include "token/token.h"

class ScopedSession {
  public:
    ScopedSession() = default;
    ScopedSession(CK_SLOT_ID slot, bool readWrite)
        : session(openSession(slot, readWrite)), isOpen(true) {}
    ~ScopedSession() { close(); }
    ScopedSession(const ScopedSession&) = delete;
    ScopedSession& operator=(const ScopedSession&) = delete;

    void open(CK_SLOT_ID slot, bool readWrite) {
        close();
        session = openSession(slot, readWrite);
        isOpen = true;
    }
    CK_SESSION_HANDLE get() const { return session; }
    void close() {
        if (isOpen) {
            isOpen = false;
            closeSession(session);
        }
    }
    // The caller owns the session from now on.
    CK_SESSION_HANDLE release() {
        isOpen = false;
        return session;
    }

  private:
    CK_SESSION_HANDLE session = CK_INVALID_HANDLE;
    bool isOpen = false;
};
