#include "handler/delete_certificate_handler.h"

#include "handler/handler_errors.h"
#include "handler/handler_steps.h"
#include "handler/session_state.h"
#include "response/admin_responses.h"
#include "token/log_value.h"
#include "token/token.h"

namespace {

// A key that cannot be found or deleted never stops the certificate's own deletion.
void deleteCertificateKey(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE certificate, bool privateKey,
                          const std::string& certificateSN, Logger* logger) {
    try {
        CK_OBJECT_HANDLE key = findCertificateKey(session, certificate, privateKey);
        CK_RV rv = deleteIfPossible(session, key);
        if (rv == CKR_OK) {
            return;
        }
        if (privateKey) {
            logger->error("Warning: Failed to delete private key for certificate sn=%s (rc = %d) ",
                          certificateSN.c_str(), logValue(rv));
        } else {
            logger->error("Warning: Failed to delete public key for certificate sn=%s (rc = %d) ",
                          certificateSN.c_str(), logValue(rv));
        }
    } catch (const NativeHostException& failure) {
        if (privateKey) {
            logger->error(
                "Warning: Failed to retrive private key for certificate (sn=%s) during certificate "
                "detetion : %s",
                certificateSN.c_str(), failure.getMessage().c_str());
        } else {
            logger->error(
                "Info: Failed to retrive the public key for certificate (sn=%s) during certificate "
                "detetion : %s",
                certificateSN.c_str(), failure.getMessage().c_str());
        }
    }
}

}  // namespace

std::unique_ptr<Response> DeleteCertificateHandler::handle(DeleteCertificateRequest& request,
                                                           SessionState* state) {
    const std::string& certificateSN = request.getCertificateSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session =
                state->requireLogin(LoginAccess::ReadWrite, kWriteLoginToDeleteCertificate);
            CK_OBJECT_HANDLE certificate = findCertificate(session, certificateSN);
            deleteCertificateKey(session, certificate, false, certificateSN, logger);
            deleteCertificateKey(session, certificate, true, certificateSN, logger);
            destroyObject(session, certificate, kCertificateNotDeleted);
            return std::make_unique<DeleteCertificateResponse>(certificateSN);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<DeleteCertificateResponse>(certificateSN, failure);
        });
}
