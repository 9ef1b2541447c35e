#include "handler/generate_keys_handler.h"

#include "handler/handler_steps.h"
#include "handler/session_state.h"
#include "response/enrolment_responses.h"
#include "token/token.h"

std::unique_ptr<Response> GenerateKeysHandler::handle(GenerateKeysRequest& request,
                                                      SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session = state->requireLogin(
                LoginAccess::ReadWrite,
                "Need to be logged in in rw mode to token to be able to generate keypair");
            KeyPairResult pair = generateKeyPair(session);
            requireOk(pair.rv, "Failed to generate keypair on the token");
            // The reply always carries the certification request, whatever
            // result the page asked for.
            std::string csr = buildCsr(session, pair.publicKey, pair.privateKey);
            return std::make_unique<GenerateKeysResponse>(tokenSN, csr, true);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<GenerateKeysResponse>(tokenSN, failure);
        });
}
