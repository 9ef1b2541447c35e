// importCertificate: stores a certificate beside the public key it belongs to.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class ImportCertificateHandler : public RequestHandler<ImportCertificateRequest> {
  public:
    std::unique_ptr<Response> handle(ImportCertificateRequest& request,
                                     SessionState* state) override;
};
