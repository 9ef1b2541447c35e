// Replies: one class per action, in a success and an error form, each turned
// into the JSON object that goes on the wire.
#pragma once

#include <memory>
#include <string>

#include "json/json.h"

class NativeHostException;
struct TokenInfo;
struct OrphanKey;
struct CertificateInfo;

class Response {
  public:
    virtual ~Response() = default;

    // {"action", "port" when set, the class's members, "error" when set}.
    std::unique_ptr<JsonObject> toJson();
    void setPort(std::string value) { port = std::move(value); }
    bool hasError() const { return !error.empty(); }
    std::string getError() const { return error; }
    virtual std::string getAction() const = 0;

  protected:
    Response() = default;
    explicit Response(const NativeHostException& failure);

    // Adds the class's own members; those written only on success check hasError().
    virtual void writeMembers(JsonObject& result) = 0;

    static void putString(JsonObject& result, const std::string& key, const std::string& value);
    static void putNumber(JsonObject& result, const std::string& key, int32_t value);
    static std::unique_ptr<JsonObject> tokenInfoJson(const TokenInfo& token);
    static std::unique_ptr<JsonObject> orphanKeyJson(const OrphanKey& key);
    // With `withValue`, the record also carries the certificate itself (base64 of its DER).
    static std::unique_ptr<JsonObject> certificateInfoJson(const CertificateInfo& certificate,
                                                           bool withValue = false);

  private:
    std::string port;
    std::string error;
};
