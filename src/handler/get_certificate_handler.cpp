#include "handler/handlers.h"
#include "handler/session_state.h"
#include "response/certificate_responses.h"
#include "token/token.h"

std::unique_ptr<Response> GetCertificateHandler::handle(GetCertificateRequest& request,
                                                        SessionState* state) {
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            if (!state->isLoggedIn()) {
                throw HandlerException("Must login before being able to sign");
            }
            CK_OBJECT_HANDLE certificate =
                findCertificate(state->getSession(), request.getCertificateSN());
            return std::make_unique<GetCertificateResponse>(
                readCertificateValue(state->getSession(), certificate));
        },
        [](const NativeHostException& failure) {
            return std::make_unique<GetCertificateResponse>(failure);
        });
}
