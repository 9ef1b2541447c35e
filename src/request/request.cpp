#include "request/request.h"

#include <cassert>
#include <utility>

#include "common/native_host_exception.h"
#include "common/pin_keys.h"
#include "json/json_serializer.h"
#include "request/request_errors.h"

namespace {

// "private" or "public"; sets exactly one of the two flags.
void readKeyType(const JsonObject& json, bool& privateKeys, bool& publicKeys) {
    const std::string keyType = Request::getMandatoryString(json, "keyType");
    if (keyType == "private") {
        privateKeys = true;
        publicKeys = false;
    } else if (keyType == "public") {
        privateKeys = false;
        publicKeys = true;
    } else {
        throw RequestException(kKeyTypeInvalid + keyType);
    }
}

std::optional<std::string> readOptionalString(const JsonObject& json, const std::string& name) {
    const std::string* value = Request::getOptionalString(json, name);
    if (value == nullptr) {
        return std::nullopt;
    }
    return *value;
}

}  // namespace

namespace {

const std::string& mandatoryText(const JsonObject& json, const std::string& name) {
    const JsonValue* value = json.get(name);
    if (value == nullptr || !isString(value)) {
        throw RequestException(kStringMemberMissing + name);
    }
    return static_cast<const JsonString*>(value)->getValue();
}

const std::string* optionalText(const JsonObject& json, const std::string& name) {
    const JsonValue* value = json.get(name);
    if (value == nullptr) {
        return nullptr;
    }
    if (!isString(value)) {
        throw RequestException(kStringMemberExpected + name + kStringMemberExpectedEnd);
    }
    return &static_cast<const JsonString*>(value)->getValue();
}

}  // namespace

std::string Request::getMandatoryString(const JsonObject& json, const std::string& name) {
    assert(!isPinKey(name) && "PIN members are read with getMandatoryPin");
    return mandatoryText(json, name);
}

SecretString Request::getMandatoryPin(const JsonObject& json, const std::string& name) {
    assert(isPinKey(name) && "name");
    return SecretString(mandatoryText(json, name));
}

std::optional<SecretString> Request::getOptionalPin(const JsonObject& json,
                                                    const std::string& name) {
    assert(isPinKey(name) && "name");
    const std::string* text = optionalText(json, name);
    if (text == nullptr) {
        return std::nullopt;
    }
    return SecretString(*text);
}

bool Request::getMandatoryBoolean(const JsonObject& json, const std::string& name) {
    const JsonValue* value = json.get(name);
    if (value == nullptr || !isBoolean(value)) {
        throw RequestException(kBooleanMemberMissing + name);
    }
    return static_cast<const JsonBoolean*>(value)->getValue();
}

const std::string* Request::getOptionalString(const JsonObject& json, const std::string& name,
                                              const std::string* defaultValue) {
    assert(!isPinKey(name) && "PIN members are read with getOptionalPin");
    const std::string* text = optionalText(json, name);
    return text != nullptr ? text : defaultValue;
}

Request::Request(const JsonObject& json) {
    if (const std::string* value = getOptionalString(json, "port")) {
        port = *value;
    }
}

InfoRequest::InfoRequest(const JsonObject& json) : Request(json) {}

void InfoRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

ListCertificatesRequest::ListCertificatesRequest(const JsonObject& json)
    : Request(json), tokenSN(readOptionalString(json, "tokenSN")) {
    // Read leniently, as "mode" is: a request that did not mean it is served as ever.
    const JsonValue* include = json.get("includeCertificate");
    includeCertificate = include != nullptr && isBoolean(include) &&
                         static_cast<const JsonBoolean*>(include)->getValue();
}

void ListCertificatesRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

GetCertificateRequest::GetCertificateRequest(const JsonObject& json)
    : Request(json), certificateSN(getMandatoryString(json, "certificateSN")) {}

void GetCertificateRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

LoginRequest::LoginRequest(const JsonObject& json)
    : Request(json),
      tokenSN(getMandatoryString(json, "tokenSN")),
      pin(getMandatoryPin(json, "pin")) {
    const std::string* mode = getOptionalString(json, "mode");
    readWrite = mode != nullptr && *mode == "write";
}

void LoginRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

SelectCertificateRequest::SelectCertificateRequest(const JsonObject& json)
    : Request(json), forceLogon(getMandatoryBoolean(json, "forceLogon")) {}

void SelectCertificateRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

SignRequest::SignRequest(JsonObject& json)
    : Request(json), certificateSN(getMandatoryString(json, "certificateSN")) {
    JsonValue* value = json.get("payload");
    if (value == nullptr) {
        throw RequestException(kPayloadMissing);
    }
    if (isObject(value)) {
        payload = JsonXmlSerializer(*value).takeText();
    } else if (isString(value)) {
        payload = static_cast<JsonString*>(value)->takeValue();
    } else {
        throw RequestException(kPayloadType);
    }
    pin = getOptionalPin(json, "pin");
}

void SignRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

DeleteCertificateRequest::DeleteCertificateRequest(const JsonObject& json)
    : Request(json), certificateSN(getMandatoryString(json, "certificateSN")) {}

void DeleteCertificateRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

OrphanKeysRequest::OrphanKeysRequest(const JsonObject& json)
    : Request(json), tokenSN(getMandatoryString(json, "tokenSN")) {
    readKeyType(json, privateKeys, publicKeys);
}

void DeleteOrphanKeysRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

FormatTokenRequest::FormatTokenRequest(const JsonObject& json)
    : Request(json),
      tokenSN(getMandatoryString(json, "tokenSN")),
      tokenPIN(getMandatoryPin(json, "tokenPIN")),
      adminPIN(getOptionalPin(json, "adminPIN")) {}

void FormatTokenRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

void GetOrphanKeysRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

GetTokensRequest::GetTokensRequest(const JsonObject& json) : Request(json) {}

void GetTokensRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

ChangePinRequest::ChangePinRequest(const JsonObject& json)
    : Request(json),
      tokenSN(getMandatoryString(json, "tokenSN")),
      oldPIN(getMandatoryPin(json, "oldPIN")),
      newPIN(getMandatoryPin(json, "newPIN")) {}

void ChangePinRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

namespace {

GenerateKeysRequest::Algorithm algorithmNamed(const std::string& name) {
    using Algorithm = GenerateKeysRequest::Algorithm;
    const std::pair<const char*, Algorithm> names[] = {
        {"RSA-2048", Algorithm::Rsa2048},
        {"EC-P256", Algorithm::EcP256},
        {"EC-P384", Algorithm::EcP384},
    };
    for (const auto& entry : names) {
        if (name == entry.first) {
            return entry.second;
        }
    }
    throw RequestException(kAlgorithmInvalid + name);
}

}  // namespace

GenerateKeysRequest::GenerateKeysRequest(const JsonObject& json)
    : Request(json), tokenSN(getMandatoryString(json, "tokenSN")) {
    const std::string result = getMandatoryString(json, "result");
    if (result == "csr") {
        wantCsr = true;
    } else if (result == "publicKey") {
        wantCsr = false;
    } else {
        throw RequestException(kResultInvalid + result);
    }
    if (const std::string* name = getOptionalString(json, "algorithm")) {
        algorithm = algorithmNamed(*name);
    }
}

void GenerateKeysRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}

ImportCertificateRequest::ImportCertificateRequest(const JsonObject& json)
    : Request(json), certificate(getMandatoryString(json, "certificate")) {}

void ImportCertificateRequest::accept(RequestVisitor& visitor) {
    visitor.visit(*this);
}
