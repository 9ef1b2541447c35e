#include "response/admin_responses.h"

void GetOrphanKeysResponse::writeMembers(JsonObject& result) {
    SerialNumberResponse::writeMembers(result);
    if (hasError()) {
        return;
    }
    auto list = std::make_unique<JsonList>();
    for (const auto& key : orphanKeys) {
        list->add(orphanKeyJson(*key));
    }
    result.put("orphanKeys", std::move(list));
}

void DeleteOrphanKeysResponse::writeMembers(JsonObject& result) {
    SerialNumberResponse::writeMembers(result);
    putNumber(result, "deletedSK", deletedSK);
    putNumber(result, "deletedPK", deletedPK);
}
