// The least a native messaging host can do: read a frame, answer it with a
// fixed 100-byte reply. The round-trip benchmark compares the host with it.
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

bool readAll(char* data, size_t size) {
    while (size > 0) {
        ssize_t count = read(0, data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        data += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

bool writeAll(const char* data, size_t size) {
    while (size > 0) {
        ssize_t count = write(1, data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        data += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

}  // namespace

int main() {
    char reply[4 + 100];
    reply[0] = 100;
    reply[1] = reply[2] = reply[3] = 0;
    std::memset(reply + 4, 'x', 100);
    reply[4] = '{';
    reply[103] = '}';
    std::vector<char> message;
    for (;;) {
        unsigned char prefix[4];
        if (!readAll(reinterpret_cast<char*>(prefix), 4)) {
            return 0;
        }
        uint32_t length = prefix[0] | prefix[1] << 8 | prefix[2] << 16 | uint32_t{prefix[3]} << 24;
        message.resize(length);
        if (!readAll(message.data(), length) || !writeAll(reply, sizeof(reply))) {
            return 0;
        }
    }
}
