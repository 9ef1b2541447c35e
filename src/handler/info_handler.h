// info: the host's version, the token library and the logged-in token.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class InfoHandler : public RequestHandler<InfoRequest> {
  public:
    std::unique_ptr<Response> handle(InfoRequest& request, SessionState* state) override;
};
