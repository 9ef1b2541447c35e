#include "handler/format_token_handler.h"

#include "handler/handler_steps.h"
#include "response/admin_responses.h"
#include "token/token.h"

std::unique_ptr<Response> FormatTokenHandler::handle(FormatTokenRequest& request, SessionState*) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            // Without an admin PIN the new security officer PIN is random and
            // known to nobody.
            SecretString securityOfficerPin =
                request.getAdminPIN() ? *request.getAdminPIN() : randomPin(8);
            CK_SLOT_ID slot = findTokenSlot(tokenSN);
            initToken(slot, securityOfficerPin);
            ScopedSession session(slot, true);
            loginSecurityOfficer(session.get(), securityOfficerPin);
            initUserPin(session.get(), request.getTokenPIN());
            logoutAndClose(session);
            return std::make_unique<FormatTokenResponse>(tokenSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<FormatTokenResponse>(tokenSN, failure);
        });
}
