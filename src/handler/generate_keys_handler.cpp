#include "handler/handlers.h"
#include "handler/session_state.h"
#include "response/enrolment_responses.h"
#include "token/token.h"

std::unique_ptr<Response> GenerateKeysHandler::handle(GenerateKeysRequest& request,
                                                      SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            if (!state->isLoggedIn() || !state->isReadWrite()) {
                throw HandlerException(
                    "Need to be logged in in rw mode to token to be able to generate keypair");
            }
            KeyPairResult pair = generateKeyPair(state->getSession());
            if (pair.rv != CKR_OK) {
                throw HandlerException("Failed to generate keypair on the token", pair.rv);
            }
            // The reply always carries the certification request, whatever
            // result the page asked for.
            std::string csr = buildCsr(state->getSession(), pair.publicKey, pair.privateKey);
            return std::make_unique<GenerateKeysResponse>(tokenSN, csr, true);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<GenerateKeysResponse>(tokenSN, failure);
        });
}
