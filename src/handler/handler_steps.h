// Steps that several handlers take on the token.
#pragma once

#include "token/pkcs11.h"
#include "token/scoped_session.h"

// Deletes an object whose deletion may fail without failing the action:
// CKR_OK, or the code the token refused with, for the caller's log line.
CK_RV deleteIfPossible(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object);

// Logs out of a session opened for one operation and closes it.
void logoutAndClose(ScopedSession& session);
