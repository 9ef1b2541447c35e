// listTokens: every token the library reports that can be read.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class GetTokensHandler : public RequestHandler<GetTokensRequest> {
  public:
    std::unique_ptr<Response> handle(GetTokensRequest& request, SessionState* state) override;
};
