#include "handler/get_certificate_handler.h"

#include "handler/handler_errors.h"
#include "handler/session_state.h"
#include "response/certificate_responses.h"
#include "token/token.h"

std::unique_ptr<Response> GetCertificateHandler::handle(GetCertificateRequest& request,
                                                        SessionState* state) {
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session = state->requireLogin(LoginAccess::Any, kLoginToSign);
            CK_OBJECT_HANDLE certificate = findCertificate(session, request.getCertificateSN());
            return std::make_unique<GetCertificateResponse>(
                readCertificateValue(session, certificate));
        },
        [](const NativeHostException& failure) {
            return std::make_unique<GetCertificateResponse>(failure);
        });
}
