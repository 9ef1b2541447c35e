// What a set-up changes on the machine outside its own temporary folders,
// put back when the object goes: a folder restored as it was, entries a
// daemon leaves in shared folders removed, a system service stopped and
// started again.
#pragma once

#include <sys/types.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace interop {

// A folder saved (cp -a: contents, owners, modes) and restored exactly when
// the object goes; a folder that did not exist is removed again.
class SavedFolder {
  public:
    explicit SavedFolder(std::string path);
    ~SavedFolder();
    SavedFolder(const SavedFolder&) = delete;
    SavedFolder& operator=(const SavedFolder&) = delete;

  private:
    std::string original;
    bool existed = false;
    TempDir copy;
};

// Entries of a shared folder (/dev/shm, /run) whose names start with
// `prefix`: those that were not there when the object was made are removed
// when it goes.
class LeftoverCleanup {
  public:
    LeftoverCleanup(std::string folder, std::string prefix);
    ~LeftoverCleanup();
    LeftoverCleanup(const LeftoverCleanup&) = delete;
    LeftoverCleanup& operator=(const LeftoverCleanup&) = delete;

  private:
    std::set<std::string> names() const;

    std::string folder;
    std::string prefix;
    std::set<std::string> before;
};

// A system service that must not run while a set-up does. When systemd
// manages the machine, those of its units that are active are stopped, and
// started again when the object goes; without systemd, a daemon its init
// script started (found by its pid file) is stopped and started again with
// that script. Whether the daemon still runs is for the owner to check.
class PausedService {
  public:
    PausedService(std::string name, std::vector<std::string> units, std::string pidFile);
    ~PausedService();
    PausedService(const PausedService&) = delete;
    PausedService& operator=(const PausedService&) = delete;

  private:
    std::string name;
    std::vector<std::string> stoppedUnits;
    bool stoppedByScript = false;
};

// The process a pid file names, when it runs and is the program `name`
// (/proc/<pid>/comm), so a stale file naming a reused ID does not count.
std::optional<pid_t> runningProcess(const std::string& pidFile, const std::string& name);

}  // namespace interop
