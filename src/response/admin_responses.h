// Replies of changePIN, formatToken, deleteCertificate, getOrphanKeys and
// deleteOrphanKeys.
#pragma once

#include <memory>
#include <vector>

#include "response/response.h"
#include "token/orphan_key.h"

// A reply that carries one serial number whether or not the action failed.
class SerialNumberResponse : public Response {
  protected:
    SerialNumberResponse(const char* key, std::string serial)
        : key(key), serial(std::move(serial)) {}
    SerialNumberResponse(const char* key, std::string serial, const NativeHostException& failure)
        : Response(failure), key(key), serial(std::move(serial)) {}
    void writeMembers(JsonObject& result) override { putString(result, key, serial); }

  private:
    const char* key;
    std::string serial;
};

class ChangePinResponse : public SerialNumberResponse {
  public:
    explicit ChangePinResponse(std::string tokenSN)
        : SerialNumberResponse("tokenSN", std::move(tokenSN)) {}
    ChangePinResponse(std::string tokenSN, const NativeHostException& failure)
        : SerialNumberResponse("tokenSN", std::move(tokenSN), failure) {}
    std::string getAction() const override { return "changePIN"; }
};

class FormatTokenResponse : public SerialNumberResponse {
  public:
    explicit FormatTokenResponse(std::string tokenSN)
        : SerialNumberResponse("tokenSN", std::move(tokenSN)) {}
    FormatTokenResponse(std::string tokenSN, const NativeHostException& failure)
        : SerialNumberResponse("tokenSN", std::move(tokenSN), failure) {}
    std::string getAction() const override { return "formatToken"; }
};

class DeleteCertificateResponse : public SerialNumberResponse {
  public:
    explicit DeleteCertificateResponse(std::string certificateSN)
        : SerialNumberResponse("certificateSN", std::move(certificateSN)) {}
    DeleteCertificateResponse(std::string certificateSN, const NativeHostException& failure)
        : SerialNumberResponse("certificateSN", std::move(certificateSN), failure) {}
    std::string getAction() const override { return "deleteCertificate"; }
};

class GetOrphanKeysResponse : public SerialNumberResponse {
  public:
    explicit GetOrphanKeysResponse(std::string tokenSN)
        : SerialNumberResponse("tokenSN", std::move(tokenSN)) {}
    GetOrphanKeysResponse(std::string tokenSN, const NativeHostException& failure)
        : SerialNumberResponse("tokenSN", std::move(tokenSN), failure) {}
    void add(std::unique_ptr<OrphanKey> key) { orphanKeys.push_back(std::move(key)); }
    std::string getAction() const override { return "getOrphanKeys"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::vector<std::unique_ptr<OrphanKey>> orphanKeys;
};

class DeleteOrphanKeysResponse : public SerialNumberResponse {
  public:
    DeleteOrphanKeysResponse(std::string tokenSN, int32_t deletedSK, int32_t deletedPK)
        : SerialNumberResponse("tokenSN", std::move(tokenSN)),
          deletedSK(deletedSK),
          deletedPK(deletedPK) {}
    DeleteOrphanKeysResponse(std::string tokenSN, int32_t deletedSK, int32_t deletedPK,
                             const NativeHostException& failure)
        : SerialNumberResponse("tokenSN", std::move(tokenSN), failure),
          deletedSK(deletedSK),
          deletedPK(deletedPK) {}
    std::string getAction() const override { return "deleteOrphanKeys"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    int32_t deletedSK;
    int32_t deletedPK;
};
