#include "handler/get_tokens_handler.h"

#include "response/token_responses.h"
#include "token/log_value.h"
#include "token/token.h"

std::unique_ptr<Response> GetTokensHandler::handle(GetTokensRequest&, SessionState*) {
    return guarded(
        [&]() -> std::unique_ptr<Response> {
            requireTokenLibrary();
            auto response = std::make_unique<GetTokensResponse>();
            for (CK_SLOT_ID slot : getTokenSlots()) {
                try {
                    response->add(getTokenInfo(slot));
                } catch (const TokenException& failure) {
                    logger->error("Failed to get token info in slot %d - %s", logValue(slot),
                                  failure.getMessage().c_str());
                }
            }
            return response;
        },
        [](const NativeHostException& failure) {
            return std::make_unique<GetTokensResponse>(failure);
        });
}
