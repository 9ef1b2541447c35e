// selectCertificate: not implemented; always answers with its error.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class SelectCertificateHandler : public RequestHandler<SelectCertificateRequest> {
  public:
    std::unique_ptr<Response> handle(SelectCertificateRequest& request,
                                     SessionState* state) override;
};
