#include "handler/get_orphan_keys_handler.h"

#include "handler/handler_errors.h"
#include "handler/session_state.h"
#include "response/admin_responses.h"
#include "token/token.h"

namespace {

void addOrphans(CK_SESSION_HANDLE session, const std::vector<CK_OBJECT_HANDLE>& keys,
                GetOrphanKeysResponse& response) {
    for (CK_OBJECT_HANDLE key : keys) {
        if (isOrphanKey(session, key)) {
            response.add(readOrphanKey(session, key));
        }
    }
}

}  // namespace

std::unique_ptr<Response> GetOrphanKeysHandler::handle(GetOrphanKeysRequest& request,
                                                       SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session =
                state->requireLogin(LoginAccess::Any, kLoginFirst, &tokenSN);
            auto response = std::make_unique<GetOrphanKeysResponse>(tokenSN);
            if (request.getPublicKeys()) {
                addOrphans(session, findPublicKeys(session), *response);
            }
            if (request.getPrivateKeys()) {
                addOrphans(session, findPrivateKeys(session), *response);
            }
            return response;
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<GetOrphanKeysResponse>(tokenSN, failure);
        });
}
