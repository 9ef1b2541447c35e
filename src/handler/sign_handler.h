// sign: signs a payload on the logged-in token with the private key of a
// certificate.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class SignHandler : public RequestHandler<SignRequest> {
  public:
    std::unique_ptr<Response> handle(SignRequest& request, SessionState* state) override;
};
