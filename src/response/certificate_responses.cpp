#include "response/certificate_responses.h"

void ListCertificatesResponse::writeMembers(JsonObject& result) {
    if (hasError()) {
        return;
    }
    auto list = std::make_unique<JsonList>();
    for (const auto& certificate : certificates) {
        list->add(certificateInfoJson(*certificate, withValues));
    }
    result.put("certificates", std::move(list));
}

void GetCertificateResponse::writeMembers(JsonObject& result) {
    if (!hasError()) {
        putString(result, "certificate", certificate);
    }
}

void SignResponse::writeMembers(JsonObject& result) {
    if (!hasError()) {
        putString(result, "signature", signature);
    }
}
