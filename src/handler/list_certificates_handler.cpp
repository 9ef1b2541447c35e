#include "handler/list_certificates_handler.h"

#include <vector>

#include "common/logger.h"
#include "response/certificate_responses.h"
#include "token/log_value.h"
#include "token/scoped_session.h"
#include "token/token.h"

namespace {

using Certificates = std::vector<std::unique_ptr<CertificateInfo>>;

// The records of one token's certificates. A certificate whose value the
// module withholds cannot be named or used: it is left out.
Certificates readCertificates(CK_SESSION_HANDLE session, const TokenInfo& token, Logger* logger) {
    Certificates certificates;
    for (CK_OBJECT_HANDLE handle : findCertificates(session)) {
        std::unique_ptr<CertificateInfo> certificate = readCertificateInfo(session, handle);
        if (!certificate) {
            logger->error("Skipping a certificate without a value\n");
            continue;
        }
        certificate->tokenSN = token.tokenSN;
        certificates.push_back(std::move(certificate));
    }
    return certificates;
}

void addAll(Certificates certificates, ListCertificatesResponse& response) {
    for (std::unique_ptr<CertificateInfo>& certificate : certificates) {
        response.add(std::move(certificate));
    }
}

void listNamedToken(const std::string& tokenSN, ListCertificatesResponse& response,
                    Logger* logger) {
    CK_SLOT_ID slot = findTokenSlot(tokenSN);
    ScopedSession session(slot, false);
    std::unique_ptr<TokenInfo> token = getTokenInfo(slot);
    addAll(readCertificates(session.get(), *token, logger), response);
}

// Modules report blank tokens as present, and a card or store may hold a
// certificate that cannot be read; neither must hide the certificates of all
// the other tokens, so a slot that fails is skipped whole.
void listEveryToken(ListCertificatesResponse& response, Logger* logger) {
    for (CK_SLOT_ID slot : getTokenSlots()) {
        Certificates certificates;
        try {
            ScopedSession session(slot, false);
            std::unique_ptr<TokenInfo> token = getTokenInfo(slot);
            certificates = readCertificates(session.get(), *token, logger);
        } catch (const NativeHostException& failure) {
            logger->error("Failed to list certificates in slot %d - %s\n", logValue(slot),
                          failure.getMessage().c_str());
            continue;
        }
        addAll(std::move(certificates), response);
    }
}

}  // namespace

std::unique_ptr<Response> ListCertificatesHandler::handle(ListCertificatesRequest& request,
                                                          SessionState*) {
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            auto response =
                std::make_unique<ListCertificatesResponse>(request.includesCertificates());
            if (request.getTokenSN()) {
                listNamedToken(*request.getTokenSN(), *response, logger);
            } else {
                listEveryToken(*response, logger);
            }
            return response;
        },
        [](const NativeHostException& failure) {
            return std::make_unique<ListCertificatesResponse>(failure);
        });
}
