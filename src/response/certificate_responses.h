// Replies of listCertificates, getCertificate and sign.
#pragma once

#include <memory>
#include <vector>

#include "response/response.h"
#include "token/certificate_info.h"

class ListCertificatesResponse : public Response {
  public:
    // `withValues`: each record also carries the certificate itself.
    explicit ListCertificatesResponse(bool withValues = false) : withValues(withValues) {}
    explicit ListCertificatesResponse(const NativeHostException& failure) : Response(failure) {}
    void add(std::unique_ptr<CertificateInfo> certificate) {
        certificates.push_back(std::move(certificate));
    }
    std::string getAction() const override { return "listCertificates"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::vector<std::unique_ptr<CertificateInfo>> certificates;
    bool withValues = false;
};

class GetCertificateResponse : public Response {
  public:
    explicit GetCertificateResponse(std::string certificate)
        : certificate(std::move(certificate)) {}
    explicit GetCertificateResponse(const NativeHostException& failure) : Response(failure) {}
    std::string getAction() const override { return "getCertificate"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::string certificate;
};

class SignResponse : public Response {
  public:
    explicit SignResponse(std::string signature) : signature(std::move(signature)) {}
    explicit SignResponse(const NativeHostException& failure) : Response(failure) {}
    std::string getAction() const override { return "sign"; }

  protected:
    void writeMembers(JsonObject& result) override;

  private:
    std::string signature;
};
