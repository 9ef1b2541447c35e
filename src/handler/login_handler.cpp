#include "handler/login_handler.h"

#include "handler/session_state.h"
#include "response/token_responses.h"
#include "token/scoped_session.h"

std::unique_ptr<Response> LoginHandler::handle(LoginRequest& request, SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            // A new attempt always ends the current login, whatever its outcome.
            state->endLogin();
            CK_SLOT_ID slot = findTokenSlot(tokenSN);
            ScopedSession session(slot, request.isReadWrite());
            loginUser(session.get(), request.getPin());
            state->setLogin(tokenSN, slot, session.release(), request.isReadWrite());
            return std::make_unique<LoginResponse>(tokenSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<LoginResponse>(tokenSN, failure);
        });
}
