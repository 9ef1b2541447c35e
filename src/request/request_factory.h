// Turns a parsed request object into the typed request its "action" names.
#pragma once

#include <memory>

#include "json/json.h"
#include "request/request.h"

class RequestFactory {
  public:
    // Throws RequestException when the action is missing, not a string or
    // unknown, or when a member of the request is. A string "payload" of a
    // sign request is moved out of `json`.
    std::unique_ptr<Request> createRequest(JsonObject& json) const;
};
