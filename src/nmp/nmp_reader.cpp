#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "nmp/frame.h"
#include "nmp/nmp.h"
#include "platform/platform.h"

namespace {
const size_t kReadAhead = 64 * 1024;
// Messages grow by at most this much per step, so a prefix that announces far
// more than ever arrives does not make the host reserve it all at once.
const size_t kFirstChunk = 64 * 1024;
}  // namespace

NMPReader::NMPReader(int fd) : logger(Logger::instance()), fd(fd) {
    buffer.resize(kReadAhead);
}

size_t NMPReader::readSome(char* destination, size_t size) {
    if (bufferStart == bufferEnd) {
        if (size >= buffer.size()) {
            // Large reads go straight into the message.
            platform::clearErrorNumber();
            long count = platform::readFd(fd, destination, size);
            return count > 0 ? static_cast<size_t>(count) : 0;
        }
        platform::clearErrorNumber();
        long count = platform::readFd(fd, buffer.data(), buffer.size());
        if (count <= 0) {
            return 0;
        }
        bufferStart = 0;
        bufferEnd = static_cast<size_t>(count);
    }
    size_t available = std::min(size, bufferEnd - bufferStart);
    std::memcpy(destination, buffer.data() + bufferStart, available);
    wipeMemory(buffer.data() + bufferStart, available);
    bufferStart += available;
    return available;
}

void NMPReader::reportCutShort() {
    logger->error("End of input %s\n", platform::errorText().c_str());
}

uint32_t NMPReader::readLength() {
    char prefix[kFramePrefixSize];
    for (size_t i = 0; i < kFramePrefixSize; ++i) {
        if (readSome(&prefix[i], 1) == 0) {
            if (i > 0) {
                reportCutShort();
            }
            throw NMPEndOfInputException();
        }
    }
    return frameLength(prefix);
}

void NMPReader::finishMessage() {
    if (message.capacity() > kKeptBlock) {
        message.release();
    } else {
        message.clear();
    }
}

SecretString& NMPReader::readMessage() {
    finishMessage();
    uint32_t length = readLength();
    // The message and its terminating NUL must fit in 32 bits.
    if (length == UINT32_MAX) {
        throw NMPException("Unable to allocate memory for NMP input message");
    }
    const size_t keptCapacity = message.capacity();
    try {
        while (message.size() < length) {
            size_t received = message.size();
            // The block kept from earlier messages is used whole at once.
            size_t step = std::max({received, kFirstChunk, message.capacity() - received});
            // A rest smaller than the step is taken with it: a block grown
            // once more for a few bytes would be copied whole, and the two
            // would be held side by side.
            if (length - received < 2 * step) {
                step = length - received;
            }
            message.resizeForOverwrite(received + step);
            while (received < message.size()) {
                size_t count = readSome(&message[received], message.size() - received);
                if (count == 0) {
                    reportCutShort();
                    throw NMPEndOfInputException();
                }
                received += count;
            }
        }
    } catch (const std::bad_alloc&) {
        throw NMPException("Unable to allocate memory for NMP input message");
    } catch (const std::length_error&) {
        throw NMPException("Unable to allocate memory for NMP input message");
    }
    if (message.capacity() > keptCapacity) {
        platform::releaseFreedMemory();
    }
    return message;
}
