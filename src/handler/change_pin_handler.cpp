#include "handler/change_pin_handler.h"

#include "handler/handler_steps.h"
#include "handler/session_state.h"
#include "response/admin_responses.h"
#include "token/token.h"

std::unique_ptr<Response> ChangePinHandler::handle(ChangePinRequest& request, SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            // The host is logged out from here on, whatever the outcome.
            state->endLogin();
            ScopedSession session(findTokenSlot(tokenSN), true);
            loginUser(session.get(), request.getOldPIN());
            requireOk(setUserPin(session.get(), request.getOldPIN(), request.getNewPIN()),
                      "Failed to set token PIN");
            logoutAndClose(session);
            return std::make_unique<ChangePinResponse>(tokenSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<ChangePinResponse>(tokenSN, failure);
        });
}
