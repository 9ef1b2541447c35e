// Arbitrary byte streams through the message reader, read from a pipe as the
// host reads its standard input: every message it returns is exactly the
// frame on the wire, it stops only where the stream stops being readable as
// frames, and what it read can be written back as the same frames.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "common/native_host_exception.h"
#include "fuzz_checks.h"
#include "nmp/nmp.h"

namespace {

// A descriptor that yields the bytes and then end of input: a pipe when they
// fit into one, otherwise an in-memory file.
int inputOf(const uint8_t* data, size_t size) {
    int fds[2];
    FUZZ_CHECK(pipe(fds) == 0);
    if (fcntl(fds[1], F_SETPIPE_SZ, 1 << 20) < 0 || size > (1u << 20)) {
        close(fds[0]);
        close(fds[1]);
        int fd = memfd_create("vantrel-fuzz-input", 0);
        FUZZ_CHECK(fd >= 0);
        FUZZ_CHECK(write(fd, data, size) == static_cast<ssize_t>(size));
        FUZZ_CHECK(lseek(fd, 0, SEEK_SET) == 0);
        return fd;
    }
    size_t written = 0;
    while (written < size) {
        ssize_t count = write(fds[1], data + written, size - written);
        FUZZ_CHECK(count > 0);
        written += static_cast<size_t>(count);
    }
    close(fds[1]);
    return fds[0];
}

std::string contentsOf(int fd) {
    FUZZ_CHECK(lseek(fd, 0, SEEK_SET) == 0);
    std::string bytes;
    char chunk[65536];
    ssize_t count;
    while ((count = read(fd, chunk, sizeof(chunk))) > 0) {
        bytes.append(chunk, static_cast<size_t>(count));
    }
    FUZZ_CHECK(count == 0);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string stream(reinterpret_cast<const char*>(data), size);
    int input = inputOf(data, size);
    int output = memfd_create("vantrel-fuzz-output", 0);
    FUZZ_CHECK(output >= 0);
    NMPReader reader(input);
    NMPWriter writer(output);
    size_t pos = 0;
    for (;;) {
        size_t left = size - pos;
        uint32_t length = 0;
        for (size_t i = 0; i < 4 && i < left; ++i) {
            length |= uint32_t{data[pos + i]} << (8 * i);
        }
        std::string message;
        try {
            message = reader.readMessage();
        } catch (const NMPEndOfInputException&) {
            FUZZ_CHECK(left < 4 || left - 4 < length);
            break;
        } catch (const NMPException&) {
            FUZZ_CHECK(left >= 4 && length == UINT32_MAX);
            break;
        }
        FUZZ_CHECK(left >= 4 && left - 4 >= length);
        FUZZ_CHECK(message == stream.substr(pos + 4, length));
        writer.writeMessage(message);
        pos += 4 + size_t{length};
    }
    FUZZ_CHECK(contentsOf(output) == stream.substr(0, pos));
    close(input);
    close(output);
    return 0;
}
