#include "response/response.h"

#include "common/native_host_exception.h"
#include "token/certificate_info.h"
#include "token/orphan_key.h"
#include "token/token_info.h"

Response::Response(const NativeHostException& failure) : error(failure.getMessage()) {}

std::unique_ptr<JsonObject> Response::toJson() {
    auto result = std::make_unique<JsonObject>();
    putString(*result, "action", getAction());
    if (!port.empty()) {
        putString(*result, "port", port);
    }
    writeMembers(*result);
    if (!error.empty()) {
        putString(*result, "error", error);
    }
    return result;
}

void Response::putString(JsonObject& result, const std::string& key, const std::string& value) {
    result.put(key, std::make_unique<JsonString>(value));
}

void Response::putNumber(JsonObject& result, const std::string& key, int32_t value) {
    result.put(key, std::make_unique<JsonNumber>(value));
}

std::unique_ptr<JsonObject> Response::tokenInfoJson(const TokenInfo& token) {
    auto object = std::make_unique<JsonObject>();
    putNumber(*object, "pmax", token.pmax);
    putNumber(*object, "pmin", token.pmin);
    putString(*object, "tokenLabel", token.tokenLabel);
    putString(*object, "tokenModel", token.tokenModel);
    putString(*object, "tokenSN", token.tokenSN);
    // Only the tokens that have them carry these: every other record stays as it was.
    if (token.pinPad) {
        object->put("pinPad", std::make_unique<JsonBoolean>(true));
    }
    if (!token.userPinState.empty()) {
        putString(*object, "userPinState", token.userPinState);
    }
    return object;
}

std::unique_ptr<JsonObject> Response::orphanKeyJson(const OrphanKey& key) {
    auto object = std::make_unique<JsonObject>();
    putString(*object, "id", key.id);
    putString(*object, "keyType", key.privateKey ? "private" : "public");
    return object;
}

std::unique_ptr<JsonObject> Response::certificateInfoJson(const CertificateInfo& certificate,
                                                          bool withValue) {
    auto object = std::make_unique<JsonObject>();
    putString(*object, "activationCode", certificate.activationCode);
    if (withValue) {
        putString(*object, "certificate", certificate.value);
    }
    putString(*object, "issuerDN", certificate.issuerDN);
    putString(*object, "serialNumber", certificate.serialNumber);
    putString(*object, "subjectAN", certificate.subjectAN);
    putString(*object, "subjectDN", certificate.subjectDN);
    putString(*object, "tokenSN", certificate.tokenSN);
    putString(*object, "validFrom", certificate.validFrom);
    putString(*object, "validUntil", certificate.validUntil);
    return object;
}
