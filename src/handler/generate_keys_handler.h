// generateKeys: makes an RSA key pair on the logged-in token and answers with a
// certification request for it.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class GenerateKeysHandler : public RequestHandler<GenerateKeysRequest> {
  public:
    std::unique_ptr<Response> handle(GenerateKeysRequest& request, SessionState* state) override;
};
