// One handler per action. Each answers with its own response class, in its
// error form when anything of the error family goes wrong.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

#define VANTREL_DECLARE_HANDLER(Handler, Request)                                         \
    class Handler : public RequestHandler<Request> {                                      \
      public:                                                                             \
        std::unique_ptr<Response> handle(Request& request, SessionState* state) override; \
    }

VANTREL_DECLARE_HANDLER(InfoHandler, InfoRequest);
VANTREL_DECLARE_HANDLER(ListCertificatesHandler, ListCertificatesRequest);
VANTREL_DECLARE_HANDLER(GetCertificateHandler, GetCertificateRequest);
VANTREL_DECLARE_HANDLER(LoginHandler, LoginRequest);
VANTREL_DECLARE_HANDLER(SelectCertificateHandler, SelectCertificateRequest);
VANTREL_DECLARE_HANDLER(SignHandler, SignRequest);
VANTREL_DECLARE_HANDLER(DeleteCertificateHandler, DeleteCertificateRequest);
VANTREL_DECLARE_HANDLER(DeleteOrphanKeysHandler, DeleteOrphanKeysRequest);
VANTREL_DECLARE_HANDLER(FormatTokenHandler, FormatTokenRequest);
VANTREL_DECLARE_HANDLER(GetOrphanKeysHandler, GetOrphanKeysRequest);
VANTREL_DECLARE_HANDLER(GetTokensHandler, GetTokensRequest);
VANTREL_DECLARE_HANDLER(ChangePinHandler, ChangePinRequest);
VANTREL_DECLARE_HANDLER(GenerateKeysHandler, GenerateKeysRequest);
VANTREL_DECLARE_HANDLER(ImportCertificateHandler, ImportCertificateRequest);

#undef VANTREL_DECLARE_HANDLER
