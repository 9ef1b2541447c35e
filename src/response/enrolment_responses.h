// Replies of generateKeys and importCertificate.
#pragma once

#include "response/admin_responses.h"

class GenerateKeysResponse : public SerialNumberResponse {
  public:
    GenerateKeysResponse(std::string tokenSN, std::string data, bool isCsr)
        : SerialNumberResponse("tokenSN", std::move(tokenSN)),
          data(std::move(data)),
          isCsr(isCsr) {}
    GenerateKeysResponse(std::string tokenSN, const NativeHostException& failure)
        : SerialNumberResponse("tokenSN", std::move(tokenSN), failure) {}
    std::string getAction() const override { return "generateKeys"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::string data;
    bool isCsr = false;
};

class ImportCertificateResponse : public Response {
  public:
    ImportCertificateResponse() = default;
    explicit ImportCertificateResponse(const NativeHostException& failure) : Response(failure) {}
    std::string getAction() const override { return "importCertificate"; }

  protected:
    void writeMembers(JsonObject&) override {}
};
