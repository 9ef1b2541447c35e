// An anonymous pipe whose ends close with the object.
#pragma once

#include <string>

// frame(): what the tests write to a host's standard input.
#include "nmp/frame.h"

class Pipe {
  public:
    Pipe();
    ~Pipe();
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int readEnd() const { return fds[0]; }
    int writeEnd() const { return fds[1]; }
    void closeRead();
    void closeWrite();

    // Writes all bytes to the write end (the pipe must have room or a reader).
    void write(const std::string& bytes) const;
    // Reads until the write end is closed.
    std::string readAll() const;

  private:
    int fds[2];
};
