// A program a set-up keeps running in the background (pcscd, pkcsslotd, the
// virtual card), its standard output and error collected in a log file.
//
// It is stopped by its process ID only, never by name: SIGTERM, then SIGKILL
// when it has not ended after the grace period. The destructor stops it if
// it still runs, so no path out of a test leaves it behind.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace interop {

class Daemon {
  public:
    // Starts arguments[0] (a path) with these arguments.
    Daemon(const std::vector<std::string>& arguments, std::string logPath);
    ~Daemon();
    Daemon(const Daemon&) = delete;
    Daemon& operator=(const Daemon&) = delete;

    pid_t pid() const { return processId; }
    // False once it has ended (it is then reaped).
    bool running();
    // Waits until its log holds `text`; false when it ended first or the
    // time ran out.
    bool waitForLog(const std::string& text, std::chrono::milliseconds timeout);
    // Stops it if it still runs; its exit status (128 + the signal's number
    // when a signal ended it).
    int stop(std::chrono::milliseconds grace = std::chrono::seconds(15));
    std::string log() const;
    const std::string& name() const { return program; }

  private:
    std::string program;
    std::string logFile;
    pid_t processId = -1;
    std::optional<int> exitStatus;
};

}  // namespace interop
