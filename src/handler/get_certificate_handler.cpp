#include "handler/handlers.h"
#include "handler/session_state.h"
#include "handler/token.h"
#include "response/certificate_responses.h"

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
