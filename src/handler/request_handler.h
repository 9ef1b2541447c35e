// The base of the handlers, one per action, and the guarded block they share.
// Each handler answers with its own response class, in its error form when
// anything of the error family goes wrong.
#pragma once

#include <memory>
#include <stdexcept>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "response/response.h"

class SessionState;

template <typename T>
class RequestHandler {
  public:
    RequestHandler() : logger(Logger::instance()) {}
    virtual ~RequestHandler() = default;
    // A new response, also for a failed operation (its error form).
    virtual std::unique_ptr<Response> handle(T& request, SessionState* state) = 0;

  protected:
    Logger* logger;
};

// Runs `work`; an error of the family, or a byte access outside a buffer that
// slipped through, becomes the response that `onError` builds from it.
template <typename Work, typename OnError>
std::unique_ptr<Response> guarded(Work work, OnError onError) {
    try {
        return work();
    } catch (const NativeHostException& failure) {
        return onError(failure);
    } catch (const std::out_of_range& failure) {
        return onError(NativeHostException(failure.what()));
    }
}
