#include "handler/delete_orphan_keys_handler.h"

#include <string>

#include "handler/handler_errors.h"
#include "handler/handler_steps.h"
#include "handler/session_state.h"
#include "response/admin_responses.h"
#include "token/log_value.h"
#include "token/token.h"

namespace {

// Deletes the orphans among `keys`; a failed deletion is logged and counted,
// and the others go on.
void deleteOrphans(CK_SESSION_HANDLE session, const std::vector<CK_OBJECT_HANDLE>& keys,
                   const char* warning, int32_t& deleted, int32_t& failures, Logger* logger) {
    for (CK_OBJECT_HANDLE key : keys) {
        if (!isOrphanKey(session, key)) {
            continue;
        }
        CK_RV rv = deleteIfPossible(session, key);
        if (rv == CKR_OK) {
            ++deleted;
        } else {
            logger->error(warning, logValue(rv));
            ++failures;
        }
    }
}

}  // namespace

std::unique_ptr<Response> DeleteOrphanKeysHandler::handle(DeleteOrphanKeysRequest& request,
                                                          SessionState* state) {
    const std::string& tokenSN = request.getTokenSN();
    int32_t failures = 0;
    int32_t deletedPK = 0;
    int32_t deletedSK = 0;
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            CK_SESSION_HANDLE session =
                state->requireLogin(LoginAccess::ReadWrite, kWriteLoginToDeleteOrphans, &tokenSN);
            if (request.getPublicKeys()) {
                deleteOrphans(session, findPublicKeys(session),
                              "Warning: Failed to delete orphan public key (rc = %d)", deletedPK,
                              failures, logger);
            }
            if (request.getPrivateKeys()) {
                deleteOrphans(session, findPrivateKeys(session),
                              "Warning: Failed to delete orphan private key (rc = %d)", deletedSK,
                              failures, logger);
            }
            if (failures > 0) {
                throw HandlerException(kOrphansNotDeleted + std::to_string(failures) +
                                       kOrphansNotDeletedEnd);
            }
            return std::make_unique<DeleteOrphanKeysResponse>(tokenSN, deletedSK, deletedPK);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<DeleteOrphanKeysResponse>(tokenSN, deletedSK, deletedPK,
                                                              failure);
        });
}
