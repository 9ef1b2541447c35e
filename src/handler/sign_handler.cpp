#include "handler/sign_handler.h"

#include "handler/handler_errors.h"
#include "handler/session_state.h"
#include "response/certificate_responses.h"
#include "token/token.h"

namespace {

std::optional<std::string_view> keyPinOf(const SignRequest& request) {
    if (!request.getPin()) {
        return std::nullopt;
    }
    return request.getPin()->view();
}

}  // namespace

std::unique_ptr<Response> SignHandler::handle(SignRequest& request, SessionState* state) {
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session = state->requireLogin(LoginAccess::Any, kLoginToSign);
            CK_OBJECT_HANDLE certificate = findCertificate(session, request.getCertificateSN());
            CK_OBJECT_HANDLE key = findCertificatePrivateKey(session, certificate);
            if (!state->getDevMode() && isKeyExtractable(session, key)) {
                throw HandlerException(kExtractableKeyRefused);
            }
            return std::make_unique<SignResponse>(
                signToBase64(session, key, state->getMechanisms(), request.getPayload(),
                             keyPinOf(request), state->hasPinPad()));
        },
        [](const NativeHostException& failure) { return std::make_unique<SignResponse>(failure); });
}
