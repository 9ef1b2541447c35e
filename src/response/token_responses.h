// Replies of info, listTokens, login and selectCertificate.
#pragma once

#include <memory>
#include <vector>

#include "response/response.h"
#include "token/token_info.h"

class InfoResponse : public Response {
  public:
    InfoResponse(std::string token, std::string model, int32_t pmin, int32_t pmax, std::string host,
                 std::string driver);
    InfoResponse(std::string host, std::string driver, const NativeHostException& failure);
    std::string getAction() const override { return "info"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::string token;
    std::string model;
    int32_t pmin = 0;
    int32_t pmax = 0;
    std::string host;
    std::string driver;
};

class GetTokensResponse : public Response {
  public:
    GetTokensResponse() = default;
    explicit GetTokensResponse(const NativeHostException& failure) : Response(failure) {}
    void add(std::unique_ptr<TokenInfo> token) { tokens.push_back(std::move(token)); }
    std::string getAction() const override { return "listTokens"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::vector<std::unique_ptr<TokenInfo>> tokens;
};

class LoginResponse : public Response {
  public:
    explicit LoginResponse(std::string tokenSN) : tokenSN(std::move(tokenSN)) {}
    LoginResponse(std::string tokenSN, const NativeHostException& failure)
        : Response(failure), tokenSN(std::move(tokenSN)) {}
    std::string getAction() const override { return "login"; }

  protected:
    void writeMembers(JsonObject& result) override { putString(result, "tokenSN", tokenSN); }

  private:
    std::string tokenSN;
};

// The action is not implemented: this reply only exists in its error form.
class SelectCertificateResponse : public Response {
  public:
    explicit SelectCertificateResponse(const NativeHostException& failure) : Response(failure) {}
    std::string getAction() const override { return "selectCertificate"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::string certificate;
};
