#include "response/enrolment_responses.h"

void GenerateKeysResponse::writeMembers(JsonObject& result) {
    SerialNumberResponse::writeMembers(result);
    if (!hasError()) {
        putString(result, isCsr ? "csr" : "publicKey", data);
    }
}
