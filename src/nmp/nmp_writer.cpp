#include "common/logger.h"
#include "common/native_host_exception.h"
#include "nmp/frame.h"
#include "nmp/nmp.h"
#include "platform/platform.h"

NMPWriter::NMPWriter(int fd) : logger(Logger::instance()), fd(fd) {}

bool NMPWriter::writeAll(const char* data, size_t size, size_t& written) {
    while (written < size) {
        long count = platform::writeFd(fd, data + written, size - written);
        if (count <= 0) {
            return false;
        }
        written += static_cast<size_t>(count);
    }
    return true;
}

void NMPWriter::writeLength(uint32_t length) {
    std::array<char, kFramePrefixSize> prefix = framePrefix(length);
    size_t written = 0;
    if (!writeAll(prefix.data(), prefix.size(), written)) {
        reportPrefixFailure();
    }
}

void NMPWriter::writeMessage(const std::string& text) {
    if (text.size() > kJoinedFrameLimit) {
        writeLength(static_cast<uint32_t>(text.size()));
        writeText(text.data(), text.size());
        return;
    }
    // Prefix and text in one write: a reader woken by the prefix alone would
    // find the text missing and have to wait for it, which doubles the wake-ups
    // of a request-reply exchange.
    frame.clear();
    appendFrame(frame, text);
    size_t written = 0;
    if (!writeAll(frame.data(), frame.size(), written)) {
        if (written < kFramePrefixSize) {
            reportPrefixFailure();
        }
        reportTextFailure();
    }
}

void NMPWriter::writeText(const char* data, size_t size) {
    size_t written = 0;
    if (!writeAll(data, size, written)) {
        reportTextFailure();
    }
}

void NMPWriter::reportPrefixFailure() {
    std::string error = platform::errorText();
    logger->error("Error: unexpected IO error writing to stdout - %s\n", error.c_str());
    throw NMPException(error);
}

void NMPWriter::reportTextFailure() {
    std::string error = platform::errorText();
    logger->error("Error writing message - %s\n", error.c_str());
    throw NMPException(error);
}
