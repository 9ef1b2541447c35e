// deleteOrphanKeys: deletes the keys of the logged-in token that no certificate
// claims.
#pragma once

#include "handler/request_handler.h"
#include "request/request.h"

class DeleteOrphanKeysHandler : public RequestHandler<DeleteOrphanKeysRequest> {
  public:
    std::unique_ptr<Response> handle(DeleteOrphanKeysRequest& request,
                                     SessionState* state) override;
};
