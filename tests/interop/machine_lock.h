// A lock shared by every process of the machine, held for the life of the
// object: test runs of other build folders that need the same daemon or
// store wait for it (CTest's resource lock only orders the tests of one run).
//
// The lock is an abstract Unix socket bound under the name: the kernel
// releases it with the process, so a test that crashed leaves no lock file
// behind.
#pragma once

#include <chrono>
#include <string>

namespace interop {

class MachineLock {
  public:
    // Throws when another process still holds it after `timeout`.
    explicit MachineLock(const std::string& name,
                         std::chrono::seconds timeout = std::chrono::seconds(600));
    ~MachineLock();
    MachineLock(const MachineLock&) = delete;
    MachineLock& operator=(const MachineLock&) = delete;

  private:
    int socketFd = -1;
};

}  // namespace interop
