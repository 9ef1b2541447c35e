#include "common/native_host_exception.h"

std::string NativeHostException::getMessage() const {
    if (!returnCode) {
        return text;
    }
    return text + " (rc=" + std::to_string(*returnCode) + ")";
}
