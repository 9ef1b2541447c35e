#include "handler/select_certificate_handler.h"

#include "handler/handler_errors.h"
#include "response/token_responses.h"

std::unique_ptr<Response> SelectCertificateHandler::handle(SelectCertificateRequest&,
                                                           SessionState*) {
    return std::make_unique<SelectCertificateResponse>(HandlerException(kNotImplemented));
}
