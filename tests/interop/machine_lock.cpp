#include "interop/machine_lock.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace interop {

MachineLock::MachineLock(const std::string& name, std::chrono::seconds timeout) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string abstractName = "vantrel-test-lock-" + name;
    if (abstractName.size() + 1 > sizeof address.sun_path) {
        throw std::runtime_error("lock name too long: " + name);
    }
    // A leading NUL makes the name abstract: no file is created.
    std::memcpy(address.sun_path + 1, abstractName.data(), abstractName.size());
    socklen_t length = static_cast<socklen_t>(sizeof(sa_family_t) + 1 + abstractName.size());
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (socketFd < 0) {
            throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
        }
        if (bind(socketFd, reinterpret_cast<sockaddr*>(&address), length) == 0) {
            return;
        }
        int error = errno;
        close(socketFd);
        socketFd = -1;
        if (error != EADDRINUSE) {
            throw std::runtime_error("cannot take the lock " + name + ": " + std::strerror(error));
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw std::runtime_error("another process holds the lock " + name);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
}

MachineLock::~MachineLock() {
    if (socketFd >= 0) {
        close(socketFd);
    }
}

}  // namespace interop
