// formatToken: initialises a token and sets its user PIN.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class FormatTokenHandler : public RequestHandler<FormatTokenRequest> {
  public:
    std::unique_ptr<Response> handle(FormatTokenRequest& request, SessionState* state) override;
};
