#include "response/token_responses.h"

InfoResponse::InfoResponse(std::string token, std::string model, int32_t pmin, int32_t pmax,
                           std::string host, std::string driver)
    : token(std::move(token)),
      model(std::move(model)),
      pmin(pmin),
      pmax(pmax),
      host(std::move(host)),
      driver(std::move(driver)) {}

InfoResponse::InfoResponse(std::string host, std::string driver, const NativeHostException& failure)
    : Response(failure), host(std::move(host)), driver(std::move(driver)) {}

void InfoResponse::writeMembers(JsonObject& result) {
    putString(result, "host", host);
    putString(result, "driver", driver);
    if (!hasError()) {
        putString(result, "token", token);
        putString(result, "model", model);
        putNumber(result, "pmin", pmin);
        putNumber(result, "pmax", pmax);
    }
}

void GetTokensResponse::writeMembers(JsonObject& result) {
    if (hasError()) {
        return;
    }
    auto list = std::make_unique<JsonList>();
    for (const auto& token : tokens) {
        list->add(tokenInfoJson(*token));
    }
    result.put("tokens", std::move(list));
}

void SelectCertificateResponse::writeMembers(JsonObject& result) {
    if (!hasError()) {
        putString(result, "certificate", certificate);
    }
}
