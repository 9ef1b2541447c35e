#include "support/pipe.h"

#include <unistd.h>

#include <stdexcept>

Pipe::Pipe() {
    if (pipe(fds) != 0) {
        throw std::runtime_error("pipe failed");
    }
}

Pipe::~Pipe() {
    closeRead();
    closeWrite();
}

void Pipe::closeRead() {
    if (fds[0] >= 0) {
        close(fds[0]);
        fds[0] = -1;
    }
}

void Pipe::closeWrite() {
    if (fds[1] >= 0) {
        close(fds[1]);
        fds[1] = -1;
    }
}

void Pipe::write(const std::string& bytes) const {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t count = ::write(fds[1], bytes.data() + done, bytes.size() - done);
        if (count <= 0) {
            throw std::runtime_error("pipe write failed");
        }
        done += static_cast<size_t>(count);
    }
}

std::string Pipe::readAll() const {
    std::string bytes;
    char chunk[4096];
    ssize_t count;
    while ((count = ::read(fds[0], chunk, sizeof(chunk))) > 0) {
        bytes.append(chunk, static_cast<size_t>(count));
    }
    return bytes;
}
