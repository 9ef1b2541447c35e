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
            FoundToken token = findToken(tokenSN);
            ScopedSession session(token.slot, request.isReadWrite());
            loginUser(session.get(), request.getPin(), keypadFor(token.pinPad));
            state->setLogin(tokenSN, token.slot, session.release(), request.isReadWrite(),
                            token.pinPad);
            return std::make_unique<LoginResponse>(tokenSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<LoginResponse>(tokenSN, failure);
        });
}
