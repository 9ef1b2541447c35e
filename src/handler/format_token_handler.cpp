#include "handler/handlers.h"
#include "response/admin_responses.h"
#include "token/scoped_session.h"

std::unique_ptr<Response> FormatTokenHandler::handle(FormatTokenRequest& request, SessionState*) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            // Without an admin PIN the new security officer PIN is random and
            // known to nobody.
            std::string securityOfficerPin =
                request.getAdminPIN() ? *request.getAdminPIN() : randomPin(8);
            CK_SLOT_ID slot = findTokenSlot(tokenSN);
            CK_RV rv = initToken(slot, securityOfficerPin);
            if (rv != CKR_OK) {
                throw HandlerException("Failed to format the token", rv);
            }
            ScopedSession session(slot, true);
            loginSecurityOfficer(session.get(), securityOfficerPin);
            rv = initUserPin(session.get(), request.getTokenPIN());
            if (rv != CKR_OK) {
                throw HandlerException("Failed to set token PIN", rv);
            }
            logout(session.get());
            session.close();
            return std::make_unique<FormatTokenResponse>(tokenSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<FormatTokenResponse>(tokenSN, failure);
        });
}
