#include "handler/info_handler.h"

#include "handler/handler_errors.h"
#include "handler/session_state.h"
#include "response/token_responses.h"
#include "token/token.h"

namespace {
const char kHostVersion[] = "1.4";
}

std::unique_ptr<Response> InfoHandler::handle(InfoRequest&, SessionState* state) {
    std::string driver = tokenLibraryDriverName();
    if (!state->isLoggedIn()) {
        return std::make_unique<InfoResponse>(kHostVersion, driver,
                                              HandlerException(kNoActiveToken));
    }
    // A token that can no longer be read (unplugged) is reported, not fatal.
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            std::unique_ptr<TokenInfo> token = getTokenInfo(state->getSlot());
            return std::make_unique<InfoResponse>(state->getTokenSerial(), token->tokenModel,
                                                  token->pmin, token->pmax, kHostVersion, driver);
        },
        [&](const NativeHostException& failure) {
            return std::make_unique<InfoResponse>(kHostVersion, driver, failure);
        });
}
