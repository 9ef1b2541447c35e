#include "handler/handler_steps.h"

#include "common/native_host_exception.h"
#include "token/token.h"

void requireOk(CK_RV rv, const char* failure) {
    if (rv != CKR_OK) {
        throw HandlerException(failure, rv);
    }
}

void logoutAndClose(ScopedSession& session) {
    logout(session.get());
    session.close();
}
