#include "handler/default_request_handler.h"

std::unique_ptr<Response> DefaultRequestHandler::handle(Request& request,
                                                        SessionState* sessionState) {
    state = sessionState;
    request.accept(*this);
    return std::move(response);
}
