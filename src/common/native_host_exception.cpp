#include "common/native_host_exception.h"

std::string NativeHostException::withReturnCode(const char* text, unsigned long returnCode) {
    return std::string(text) + " (rc=" + std::to_string(returnCode) + ")";
}
