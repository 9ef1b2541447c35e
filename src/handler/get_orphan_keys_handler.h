// getOrphanKeys: the keys of the logged-in token that no certificate claims.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class GetOrphanKeysHandler : public RequestHandler<GetOrphanKeysRequest> {
  public:
    std::unique_ptr<Response> handle(GetOrphanKeysRequest& request, SessionState* state) override;
};
