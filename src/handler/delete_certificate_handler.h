// deleteCertificate: deletes a certificate of the logged-in token with its keys.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class DeleteCertificateHandler : public RequestHandler<DeleteCertificateRequest> {
  public:
    std::unique_ptr<Response> handle(DeleteCertificateRequest& request,
                                     SessionState* state) override;
};
