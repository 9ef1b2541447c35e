#include "handler/list_certificates_handler.h"

#include "common/logger.h"
#include "response/certificate_responses.h"
#include "token/log_value.h"
#include "token/scoped_session.h"
#include "token/token.h"

namespace {

void addCertificates(CK_SESSION_HANDLE session, const TokenInfo& token,
                     ListCertificatesResponse& response) {
    for (CK_OBJECT_HANDLE handle : findCertificates(session)) {
        std::unique_ptr<CertificateInfo> certificate = readCertificateInfo(session, handle);
        certificate->tokenSN = token.tokenSN;
        response.add(std::move(certificate));
    }
}

void listNamedToken(const std::string& tokenSN, ListCertificatesResponse& response) {
    CK_SLOT_ID slot = findTokenSlot(tokenSN);
    ScopedSession session(slot, false);
    std::unique_ptr<TokenInfo> token = getTokenInfo(slot);
    addCertificates(session.get(), *token, response);
}

// Modules report blank tokens as present; one of them must not hide the
// certificates of all the others, so a slot that cannot be opened is skipped.
void listEveryToken(ListCertificatesResponse& response, Logger* logger) {
    for (CK_SLOT_ID slot : getTokenSlots()) {
        ScopedSession session;
        std::unique_ptr<TokenInfo> token;
        try {
            session.open(slot, false);
            token = getTokenInfo(slot);
        } catch (const NativeHostException& failure) {
            logger->error("Failed to list certificates in slot %d - %s\n", logValue(slot),
                          failure.getMessage().c_str());
            continue;
        }
        addCertificates(session.get(), *token, response);
    }
}

}  // namespace

std::unique_ptr<Response> ListCertificatesHandler::handle(ListCertificatesRequest& request,
                                                          SessionState*) {
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            auto response = std::make_unique<ListCertificatesResponse>();
            if (request.getTokenSN()) {
                listNamedToken(*request.getTokenSN(), *response);
            } else {
                listEveryToken(*response, logger);
            }
            return response;
        },
        [](const NativeHostException& failure) {
            return std::make_unique<ListCertificatesResponse>(failure);
        });
}
