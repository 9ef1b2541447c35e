// login: logs in to a token with its user PIN; the login is kept for the
// requests that follow.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class LoginHandler : public RequestHandler<LoginRequest> {
  public:
    std::unique_ptr<Response> handle(LoginRequest& request, SessionState* state) override;
};
