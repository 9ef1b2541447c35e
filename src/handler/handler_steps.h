// Steps that several handlers take on the token.
#pragma once

#include "token/pkcs11.h"
#include "token/scoped_session.h"

// Raises HandlerException(failure, rv) unless a token call returned CKR_OK.
void requireOk(CK_RV rv, const char* failure);

// Logs out of a session opened for one operation and closes it.
void logoutAndClose(ScopedSession& session);
