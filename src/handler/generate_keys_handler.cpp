#include "handler/generate_keys_handler.h"

#include "handler/handler_steps.h"
#include "handler/session_state.h"
#include "response/enrolment_responses.h"
#include "token/log_value.h"
#include "token/token.h"

namespace {

// The pair made here must be able to sign its own certification request.
bool canMakeSigningRsaPairs(TokenMechanisms& mechanisms) {
    return mechanisms.offers(CKM_RSA_PKCS_KEY_PAIR_GEN) &&
           (mechanisms.offers(CKM_SHA256_RSA_PKCS) || mechanisms.offers(CKM_RSA_PKCS));
}

// A pair whose request cannot be made is of no use to anyone: it goes again,
// the private key first, and the request's error is what the page hears.
std::string csrOrDestroy(CK_SESSION_HANDLE session, const KeyPairResult& pair,
                         TokenMechanisms& mechanisms, Logger* logger) {
    try {
        return buildCsr(session, pair.publicKey, pair.privateKey, mechanisms);
    } catch (const NativeHostException&) {
        for (CK_OBJECT_HANDLE key : {pair.privateKey, pair.publicKey}) {
            CK_RV rv = destroyObject(session, key);
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
            CK_SESSION_HANDLE session = state->requireLogin(
                LoginAccess::ReadWrite,
                "Need to be logged in in rw mode to token to be able to generate keypair");
            TokenMechanisms& mechanisms = state->getMechanisms();
            if (!canMakeSigningRsaPairs(mechanisms)) {
                throw HandlerException("The token cannot generate RSA-2048 key pairs");
            }
            KeyPairResult pair = generateKeyPair(session);
            requireOk(pair.rv, "Failed to generate keypair on the token");
            // The reply always carries the certification request, whatever
            // result the page asked for.
            std::string csr = csrOrDestroy(session, pair, mechanisms, logger);
            return std::make_unique<GenerateKeysResponse>(tokenSN, csr, true);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<GenerateKeysResponse>(tokenSN, failure);
        });
}
