#include "handler/handlers.h"
#include "handler/session_state.h"
#include "response/admin_responses.h"
#include "token/scoped_session.h"

std::unique_ptr<Response> ChangePinHandler::handle(ChangePinRequest& request, SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            // The host is logged out from here on, whatever the outcome.
            if (state->isLoggedIn()) {
                closeSession(state->getSession());
                state->clearLogin();
            }
            ScopedSession session(findTokenSlot(tokenSN), true);
            loginUser(session.get(), request.getOldPIN());
            CK_RV rv = setUserPin(session.get(), request.getOldPIN(), request.getNewPIN());
            if (rv != CKR_OK) {
                throw HandlerException("Failed to set token PIN", rv);
            }
            logout(session.get());
            session.close();
            return std::make_unique<ChangePinResponse>(tokenSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<ChangePinResponse>(tokenSN, failure);
        });
}
