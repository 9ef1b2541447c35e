#include "handler/import_certificate_handler.h"

#include "der/base64.h"
#include "der/certificate_builder.h"
#include "der/parsed_certificate.h"
#include "handler/handler_errors.h"
#include "handler/session_state.h"
#include "response/enrolment_responses.h"
#include "token/token.h"

std::unique_ptr<Response> ImportCertificateHandler::handle(ImportCertificateRequest& request,
                                                           SessionState* state) {
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session =
                state->requireLogin(LoginAccess::ReadWrite, kWriteLoginToImport);
            auto der = std::make_unique<ByteBuffer>(base64Decode(request.getCertificate()));
            std::unique_ptr<ParsedCertificate> certificate =
                CertificateBuilder(std::move(der)).getCertificate();
            CK_OBJECT_HANDLE publicKey = findPublicKeyForCertificate(session, *certificate);
            if (publicKey == CK_INVALID_HANDLE) {
                throw HandlerException(kCertificateKeyMissing);
            }
            importCertificate(session, *certificate, publicKey);
            return std::make_unique<ImportCertificateResponse>();
        },
        [](const NativeHostException& failure) {
            return std::make_unique<ImportCertificateResponse>(failure);
        });
}
