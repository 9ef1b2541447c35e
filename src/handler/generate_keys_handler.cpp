#include "handler/generate_keys_handler.h"

#include "handler/handler_errors.h"
#include "handler/handler_steps.h"
#include "handler/session_state.h"
#include "response/enrolment_responses.h"
#include "token/log_value.h"
#include "token/token.h"

namespace {

KeyAlgorithm keyAlgorithmOf(GenerateKeysRequest::Algorithm algorithm) {
    switch (algorithm) {
        case GenerateKeysRequest::Algorithm::EcP256:
            return KeyAlgorithm::EcP256;
        case GenerateKeysRequest::Algorithm::EcP384:
            return KeyAlgorithm::EcP384;
        default:
            return KeyAlgorithm::Rsa2048;
    }
}

// The pair made here must be able to sign its own certification request.
void requireKeyPairMechanisms(KeyAlgorithm algorithm, TokenMechanisms& mechanisms) {
    if (algorithm == KeyAlgorithm::Rsa2048) {
        if (!mechanisms.offers(CKM_RSA_PKCS_KEY_PAIR_GEN) ||
            !(mechanisms.offers(CKM_SHA256_RSA_PKCS) || mechanisms.offers(CKM_RSA_PKCS))) {
            throw HandlerException(kNoRsa2048Generation);
        }
        return;
    }
    if (!mechanisms.offers(CKM_EC_KEY_PAIR_GEN) ||
        !(mechanisms.offers(CKM_ECDSA) || mechanisms.offers(CKM_ECDSA_SHA256))) {
        throw HandlerException(algorithm == KeyAlgorithm::EcP384 ? kNoEcP384Generation
                                                                 : kNoEcP256Generation);
    }
}

// A pair whose request cannot be made is of no use to anyone: it goes again,
// the private key first, and the request's error is what the page hears.
std::string csrOrDestroy(CK_SESSION_HANDLE session, const KeyPairResult& pair,
                         KeyAlgorithm algorithm, TokenMechanisms& mechanisms, Logger* logger) {
    try {
        return buildCsr(session, pair.publicKey, pair.privateKey, mechanisms, algorithm);
    } catch (const NativeHostException&) {
        for (CK_OBJECT_HANDLE key : {pair.privateKey, pair.publicKey}) {
            CK_RV rv = deleteIfPossible(session, key);
            if (rv != CKR_OK) {
                logger->error("Failed to delete a generated key (rc=%d)\n", logValue(rv));
            }
        }
        throw;
    }
}

}  // namespace

std::unique_ptr<Response> GenerateKeysHandler::handle(GenerateKeysRequest& request,
                                                      SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session =
                state->requireLogin(LoginAccess::ReadWrite, kWriteLoginToGenerate);
            TokenMechanisms& mechanisms = state->getMechanisms();
            KeyAlgorithm algorithm = keyAlgorithmOf(request.getAlgorithm());
            requireKeyPairMechanisms(algorithm, mechanisms);
            KeyPairResult pair = generateKeyPair(session, algorithm);
            // The reply always carries the certification request, whatever
            // result the page asked for.
            std::string csr = csrOrDestroy(session, pair, algorithm, mechanisms, logger);
            return std::make_unique<GenerateKeysResponse>(tokenSN, csr, true);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<GenerateKeysResponse>(tokenSN, failure);
        });
}
