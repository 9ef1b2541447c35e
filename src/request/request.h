// The fourteen typed requests. Each constructor reads its members from the
// request's JSON object, in a fixed order, and throws RequestException at the
// first one that is missing or malformed. Requests copy what they need: none
// of them points into the JSON tree. PIN members are SecretStrings, read with
// getMandatoryPin or getOptionalPin, so that they are wiped with the request.
#pragma once

#include <optional>
#include <string>

#include "common/secret_string.h"
#include "json/json.h"
#include "request/request_visitor.h"

class Request {
  public:
    virtual ~Request() = default;
    virtual void accept(RequestVisitor& visitor) = 0;

    // Empty when the request had none.
    const std::string& getPort() const { return port; }

    // Absent or not a string: kStringMemberMissing + name.
    // Never for a PIN member, whose copy would outlive the request unwiped.
    static std::string getMandatoryString(const JsonObject& json, const std::string& name);
    // Absent or not a boolean: kBooleanMemberMissing + name.
    static bool getMandatoryBoolean(const JsonObject& json, const std::string& name);
    // The text held by the object, or `defaultValue` when the member is absent;
    // present with another type: kStringMemberExpected + name
    // + kStringMemberExpectedEnd. The pointer lives as long as the tree.
    // Never for a PIN member.
    static const std::string* getOptionalString(const JsonObject& json, const std::string& name,
                                                const std::string* defaultValue = nullptr);
    // What getMandatoryString and getOptionalString read, for PIN members
    // ("pin", "oldPIN", ..., see common/pin_keys.h) and for them only.
    static SecretString getMandatoryPin(const JsonObject& json, const std::string& name);
    static std::optional<SecretString> getOptionalPin(const JsonObject& json,
                                                      const std::string& name);

  protected:
    // Reads "port" first, so a wrongly typed port is reported before any
    // member of the concrete request.
    explicit Request(const JsonObject& json);

    Request(const Request&) = delete;
    Request& operator=(const Request&) = delete;

  private:
    std::string port;
};

class InfoRequest : public Request {
  public:
    explicit InfoRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;
};

class ListCertificatesRequest : public Request {
  public:
    explicit ListCertificatesRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    // Absent means every token; an empty text names the token whose serial
    // number is empty.
    const std::optional<std::string>& getTokenSN() const { return tokenSN; }
    // Whether each record is to carry the certificate itself: only when the
    // request says "includeCertificate": true (any other value means no).
    bool includesCertificates() const { return includeCertificate; }

  private:
    std::optional<std::string> tokenSN;
    bool includeCertificate = false;
};

class GetCertificateRequest : public Request {
  public:
    explicit GetCertificateRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    const std::string& getCertificateSN() const { return certificateSN; }

  private:
    std::string certificateSN;
};

class LoginRequest : public Request {
  public:
    explicit LoginRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    const std::string& getTokenSN() const { return tokenSN; }
    const SecretString& getPin() const { return pin; }
    // True only for "mode":"write"; any other mode, or none, asks for a
    // read-only session.
    bool isReadWrite() const { return readWrite; }

  private:
    std::string tokenSN;
    SecretString pin;
    bool readWrite;
};

class SelectCertificateRequest : public Request {
  public:
    explicit SelectCertificateRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    bool getForceLogon() const { return forceLogon; }

  private:
    bool forceLogon;
};

class SignRequest : public Request {
  public:
    // Moves a string payload's text out of `json` rather than copying it:
    // payloads can be tens of MiB.
    explicit SignRequest(JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    const std::string& getCertificateSN() const { return certificateSN; }
    // The bytes to sign: the string as sent, or the XML-like text of an object.
    const std::string& getPayload() const { return payload; }
    // The key's own PIN, for a key that needs it for every signature.
    const std::optional<SecretString>& getPin() const { return pin; }

  private:
    std::string certificateSN;
    std::string payload;
    std::optional<SecretString> pin;
};

class DeleteCertificateRequest : public Request {
  public:
    explicit DeleteCertificateRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    const std::string& getCertificateSN() const { return certificateSN; }

  private:
    std::string certificateSN;
};

// The members getOrphanKeys and deleteOrphanKeys share: a token and the one
// kind of key ("keyType") they are about.
class OrphanKeysRequest : public Request {
  public:
    const std::string& getTokenSN() const { return tokenSN; }
    bool getPrivateKeys() const { return privateKeys; }
    bool getPublicKeys() const { return publicKeys; }

  protected:
    explicit OrphanKeysRequest(const JsonObject& json);

  private:
    std::string tokenSN;
    bool privateKeys = false;
    bool publicKeys = false;
};

class DeleteOrphanKeysRequest : public OrphanKeysRequest {
  public:
    explicit DeleteOrphanKeysRequest(const JsonObject& json) : OrphanKeysRequest(json) {}
    void accept(RequestVisitor& visitor) override;
};

class FormatTokenRequest : public Request {
  public:
    explicit FormatTokenRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    const std::string& getTokenSN() const { return tokenSN; }
    const SecretString& getTokenPIN() const { return tokenPIN; }
    // Absent and empty differ: an empty text is a PIN like any other.
    const std::optional<SecretString>& getAdminPIN() const { return adminPIN; }

  private:
    std::string tokenSN;
    SecretString tokenPIN;
    std::optional<SecretString> adminPIN;
};

class GetOrphanKeysRequest : public OrphanKeysRequest {
  public:
    explicit GetOrphanKeysRequest(const JsonObject& json) : OrphanKeysRequest(json) {}
    void accept(RequestVisitor& visitor) override;
};

class GetTokensRequest : public Request {
  public:
    explicit GetTokensRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;
};

class ChangePinRequest : public Request {
  public:
    explicit ChangePinRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    const std::string& getTokenSN() const { return tokenSN; }
    const SecretString& getOldPIN() const { return oldPIN; }
    const SecretString& getNewPIN() const { return newPIN; }

  private:
    std::string tokenSN;
    SecretString oldPIN;
    SecretString newPIN;
};

class GenerateKeysRequest : public Request {
  public:
    explicit GenerateKeysRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    // The key pair asked for by "algorithm"; RSA-2048 when it is absent.
    enum class Algorithm { Rsa2048, EcP256, EcP384 };

    const std::string& getTokenSN() const { return tokenSN; }
    // True for "result":"csr", false for "publicKey".
    bool getWantCsr() const { return wantCsr; }
    Algorithm getAlgorithm() const { return algorithm; }

  private:
    std::string tokenSN;
    bool wantCsr;
    Algorithm algorithm = Algorithm::Rsa2048;
};

class ImportCertificateRequest : public Request {
  public:
    explicit ImportCertificateRequest(const JsonObject& json);
    void accept(RequestVisitor& visitor) override;

    // Base64 of the certificate's DER encoding.
    const std::string& getCertificate() const { return certificate; }

  private:
    std::string certificate;
};
