#include "common/logger.h"
#include "nmp/nmp.h"
#include "platform/platform.h"
#include "request/native_host_exception.h"

NMPWriter::NMPWriter(int fd) : logger(Logger::instance()), fd(fd) {}

bool NMPWriter::writeAll(const char* data, size_t size) {
    while (size > 0) {
        long count = platform::writeFd(fd, data, size);
        if (count <= 0) {
            return false;
        }
        data += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

void NMPWriter::writeLength(uint32_t length) {
    const char prefix[4] = {
        static_cast<char>(length & 0xFF), static_cast<char>((length >> 8) & 0xFF),
        static_cast<char>((length >> 16) & 0xFF), static_cast<char>((length >> 24) & 0xFF)};
    if (!writeAll(prefix, sizeof(prefix))) {
        std::string error = platform::errorText();
        logger->error("Error: unexpected IO error writing to stdout - %s\n", error.c_str());
        throw NMPException(error);
    }
}

void NMPWriter::writeMessage(const std::string& text) {
    writeLength(static_cast<uint32_t>(text.size()));
    if (!writeAll(text.data(), text.size())) {
        std::string error = platform::errorText();
        logger->error("Error writing message - %s\n", error.c_str());
        throw NMPException(error);
    }
}
