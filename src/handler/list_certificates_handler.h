// listCertificates: the certificates of one token, or of every token.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class ListCertificatesHandler : public RequestHandler<ListCertificatesRequest> {
  public:
    std::unique_ptr<Response> handle(ListCertificatesRequest& request,
                                     SessionState* state) override;
};
