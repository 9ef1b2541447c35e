// Double dispatch over the fourteen request classes: Request::accept calls the
// overload for the request's own class.
#pragma once

class ImportCertificateRequest;
class GenerateKeysRequest;
class ChangePinRequest;
class GetTokensRequest;
class GetOrphanKeysRequest;
class FormatTokenRequest;
class DeleteOrphanKeysRequest;
class DeleteCertificateRequest;
class SignRequest;
class SelectCertificateRequest;
class LoginRequest;
class GetCertificateRequest;
class ListCertificatesRequest;
class InfoRequest;

class RequestVisitor {
  public:
    virtual ~RequestVisitor() = default;
    virtual void visit(ImportCertificateRequest& request) = 0;
    virtual void visit(GenerateKeysRequest& request) = 0;
    virtual void visit(ChangePinRequest& request) = 0;
    virtual void visit(GetTokensRequest& request) = 0;
    virtual void visit(GetOrphanKeysRequest& request) = 0;
    virtual void visit(FormatTokenRequest& request) = 0;
    virtual void visit(DeleteOrphanKeysRequest& request) = 0;
    virtual void visit(DeleteCertificateRequest& request) = 0;
    virtual void visit(SignRequest& request) = 0;
    virtual void visit(SelectCertificateRequest& request) = 0;
    virtual void visit(LoginRequest& request) = 0;
    virtual void visit(GetCertificateRequest& request) = 0;
    virtual void visit(ListCertificatesRequest& request) = 0;
    virtual void visit(InfoRequest& request) = 0;
};
