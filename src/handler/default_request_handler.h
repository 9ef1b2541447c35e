// Routes each decoded request to the handler of its class by double dispatch.
#pragma once

#include <memory>

#include "handler/change_pin_handler.h"
#include "handler/delete_certificate_handler.h"
#include "handler/delete_orphan_keys_handler.h"
#include "handler/format_token_handler.h"
#include "handler/generate_keys_handler.h"
#include "handler/get_certificate_handler.h"
#include "handler/get_orphan_keys_handler.h"
#include "handler/get_tokens_handler.h"
#include "handler/import_certificate_handler.h"
#include "handler/info_handler.h"
#include "handler/list_certificates_handler.h"
#include "handler/login_handler.h"
#include "handler/select_certificate_handler.h"
#include "handler/sign_handler.h"
#include "request/request_visitor.h"

class DefaultRequestHandler : public RequestHandler<Request>, public RequestVisitor {
  public:
    // The handler's response, which the caller owns. An error of the family
    // that still escapes a handler passes through unchanged.
    std::unique_ptr<Response> handle(Request& request, SessionState* state) override;

    void visit(ImportCertificateRequest& request) override {
        dispatch(importCertificateHandler, request);
    }
    void visit(GenerateKeysRequest& request) override { dispatch(generateKeysHandler, request); }
    void visit(ChangePinRequest& request) override { dispatch(changePinHandler, request); }
    void visit(GetTokensRequest& request) override { dispatch(getTokensHandler, request); }
    void visit(GetOrphanKeysRequest& request) override { dispatch(getOrphanKeysHandler, request); }
    void visit(FormatTokenRequest& request) override { dispatch(formatTokenHandler, request); }
    void visit(DeleteOrphanKeysRequest& request) override {
        dispatch(deleteOrphanKeysHandler, request);
    }
    void visit(DeleteCertificateRequest& request) override {
        dispatch(deleteCertificateHandler, request);
    }
    void visit(SignRequest& request) override { dispatch(signHandler, request); }
    void visit(SelectCertificateRequest& request) override {
        dispatch(selectCertificateHandler, request);
    }
    void visit(LoginRequest& request) override { dispatch(loginHandler, request); }
    void visit(GetCertificateRequest& request) override {
        dispatch(getCertificateHandler, request);
    }
    void visit(ListCertificatesRequest& request) override {
        dispatch(listCertificatesHandler, request);
    }
    void visit(InfoRequest& request) override { dispatch(infoHandler, request); }

  private:
    template <typename Handler, typename T>
    void dispatch(Handler& handler, T& request) {
        response = handler.handle(request, state);
    }

    std::unique_ptr<Response> response;
    SessionState* state = nullptr;
    InfoHandler infoHandler;
    ListCertificatesHandler listCertificatesHandler;
    GetCertificateHandler getCertificateHandler;
    LoginHandler loginHandler;
    SelectCertificateHandler selectCertificateHandler;
    SignHandler signHandler;
    DeleteCertificateHandler deleteCertificateHandler;
    DeleteOrphanKeysHandler deleteOrphanKeysHandler;
    FormatTokenHandler formatTokenHandler;
    GetOrphanKeysHandler getOrphanKeysHandler;
    GetTokensHandler getTokensHandler;
    ChangePinHandler changePinHandler;
    GenerateKeysHandler generateKeysHandler;
    ImportCertificateHandler importCertificateHandler;
};
