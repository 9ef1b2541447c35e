#include "handler/handler_steps.h"

#include "common/native_host_exception.h"
#include "token/token.h"

CK_RV deleteIfPossible(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object) {
    try {
        // The text goes nowhere: the caller logs the code in words of its own.
        destroyObject(session, object, "");
        return CKR_OK;
    } catch (const TokenException& refusal) {
        return *refusal.getReturnCode();
    }
}

void logoutAndClose(ScopedSession& session) {
    logout(session.get());
    session.close();
}
