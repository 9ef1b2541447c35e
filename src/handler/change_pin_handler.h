// changePIN: changes the user PIN of a token; the host is logged out after it.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class ChangePinHandler : public RequestHandler<ChangePinRequest> {
  public:
    std::unique_ptr<Response> handle(ChangePinRequest& request, SessionState* state) override;
};
