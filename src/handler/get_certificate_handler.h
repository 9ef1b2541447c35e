// getCertificate: the DER encoding of a certificate on the logged-in token.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class GetCertificateHandler : public RequestHandler<GetCertificateRequest> {
  public:
    std::unique_ptr<Response> handle(GetCertificateRequest& request, SessionState* state) override;
};
