#include "handler/change_pin_handler.h"

#include "handler/handler_steps.h"
#include "handler/session_state.h"
#include "response/admin_responses.h"
#include "token/token.h"

namespace {

bool onKeypad(const FoundToken& token, const ChangePinRequest& request) {
    return token.pinPad && request.getOldPIN().view().empty() && request.getNewPIN().view().empty();
}

}  // namespace

std::unique_ptr<Response> ChangePinHandler::handle(ChangePinRequest& request, SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            // The host is logged out from here on, whatever the outcome.
            state->endLogin();
            FoundToken token = findToken(tokenSN);
            ScopedSession session(token.slot, true);
            if (onKeypad(token, request)) {
                // The reader asks for the old PIN and the new one itself.
                setUserPinOnKeypad(session.get());
                session.close();
            } else {
                // Typed PINs go as typed, even on a token with a keypad.
                loginUser(session.get(), request.getOldPIN(), PinPath{token.pinPad});
                setUserPin(session.get(), request.getOldPIN(), request.getNewPIN(), token.pinPad);
                logoutAndClose(session);
            }
            return std::make_unique<ChangePinResponse>(tokenSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<ChangePinResponse>(tokenSN, failure);
        });
}
