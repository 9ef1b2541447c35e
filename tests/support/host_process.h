// Runs programs the way a browser runs the host: as a child process with pipes
// on its standard input, output and error, for tests that talk to the built
// executable.
//
// Nothing here can hang a test: every read and write waits with poll against
// a deadline and throws HostTimeout when it passes. The child inherits this
// process's environment (SOFTHSM2_CONF, the fault module's variables,
// LSAN_OPTIONS, ...), as it is at the moment the child starts.
//
// A test executable that uses HostSettings' default executable defines
// VANTREL_HOST_EXE as the path of the built host (its tests.cmake passes
// $<TARGET_FILE:vantrel>).
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/pin_watch.h"
#include "support/temp_dir.h"

class HostTimeout : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Long enough for a sanitizer-built host to generate an RSA-2048 key pair.
constexpr std::chrono::milliseconds kDefaultChildTimeout{60000};

// A child process whose three standard streams are pipes held by this object.
// What the child writes on standard error is collected whenever this object
// waits for anything, so a child that writes much there never blocks.
class ChildProcess {
  public:
    // Starts arguments[0] (a path) with these arguments.
    explicit ChildProcess(const std::vector<std::string>& arguments);
    // Starts `program` (a path) with these arguments, arguments[0] being
    // what the program sees as its own name.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    // Kills the child if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return childPid; }

    // Writes bytes to the child's standard input. False when the child no
    // longer reads it (it closed it or exited) before all bytes went.
    bool write(const std::string& bytes, std::chrono::milliseconds timeout = kDefaultChildTimeout);
    // Closes the child's standard input: it sees end of input.
    void closeInput();
    // Closes this end of the child's standard output, like a reader that went
    // away; the child's next write fails with EPIPE.
    void closeOutput();

    // Exactly `count` bytes of standard output, or fewer when the output
    // ended before; throws HostTimeout when neither happens in time.
    std::string readOutput(size_t count, std::chrono::milliseconds timeout = kDefaultChildTimeout);
    // Everything up to the end of standard output.
    std::string readAllOutput(std::chrono::milliseconds timeout = kDefaultChildTimeout);
    // Standard output that has arrived and was not read yet (no waiting).
    std::string pendingOutput();

    // Standard error as far as it has arrived.
    std::string errorText();

    // Closes standard input, reads both outputs to their end and waits for
    // the child to exit. The exit status, or 128 + the signal's number when a
    // signal ended it. A child still running at the deadline is killed and
    // HostTimeout thrown.
    int wait(std::chrono::milliseconds timeout = kDefaultChildTimeout);
    bool hasExited() const { return exitStatus.has_value(); }
    // The child's peak resident memory in KiB, known once it has exited. The
    // system counts this process's own peak at the time of the start too (the
    // child shares this process's memory until its program is loaded).
    long peakMemoryKiB() const { return maxResidentKiB; }

  private:
    using Clock = std::chrono::steady_clock;
    // Waits until something can be read or written, or the deadline; reads
    // what is there into the buffers. False at the deadline.
    bool pump(Clock::time_point deadline, bool wantWrite);
    void readInto(int& fd, std::string& buffer);
    void kill();

    pid_t childPid = -1;
    int input = -1;
    int output = -1;
    int error = -1;
    std::string outputBuffer;
    std::string errorBuffer;
    std::optional<int> exitStatus;
    long maxResidentKiB = 0;
};

inline std::string builtHostExecutable() {
#ifdef VANTREL_HOST_EXE
    return VANTREL_HOST_EXE;
#else
    return "";
#endif
}

// The host's configuration file, vantrel.cfg beside the copied executable.
struct HostSettings {
    std::string executable = builtHostExecutable();
    // "pkcs11Library=": the module to load; empty leaves the key out, so the
    // host tries its default module.
    std::string pkcs11Library;
    // "logDir=" the folder's logs/ and "maxLogFiles="; 0 leaves both out (no
    // log files).
    int maxLogFiles = 1000;
    bool devMode = false;
    // Lines written after the others, each ending in "\n".
    std::string extraLines;
    // False: no configuration file at all.
    bool writeConfig = true;
    // The host's argv[0]; empty: the copied executable's path. A bare name
    // is what the host sees when it was started through PATH.
    std::string argv0;
    // The user the host runs as (through setpriv, which needs root), as a
    // browser of that user would start it; the host's folder becomes that
    // user's. Empty: this process's user.
    std::string user;
};

// A fresh folder with a copy of the host and its configuration, as an
// installation would have it, and the log folder the configuration names.
class HostFolder {
  public:
    explicit HostFolder(const HostSettings& settings);

    const std::string& path() const { return dir.path(); }
    std::string executable() const { return dir.file("vantrel"); }
    std::string configPath() const { return dir.file("vantrel.cfg"); }
    std::string logDir() const { return dir.file("logs"); }

    // Names of the host's log files (vantrel-*.log), oldest first.
    std::vector<std::string> logFileNames() const;
    // Their contents in the same order.
    std::vector<std::string> logFiles() const;

  private:
    std::string configText(const HostSettings& settings) const;

    TempDir dir;
};

// The host started from a HostFolder, spoken to in frames.
//
// Every PIN in what is sent is remembered; when the object goes, the test
// fails if any of them appears in the log folder or on standard error.
class HostProcess {
  public:
    explicit HostProcess(const HostSettings& settings = HostSettings());
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    HostFolder& folder() { return hostFolder; }
    ChildProcess& process() { return child; }

    // Raw bytes, framed or not; false when the host stopped reading.
    bool send(const std::string& bytes, std::chrono::milliseconds timeout = kDefaultChildTimeout);
    bool sendFrame(const std::string& text);
    // The text of the next reply frame; nullopt when the output ended at a
    // frame boundary. Throws when it ends inside a frame or nothing comes in time.
    std::optional<std::string> readFrame(std::chrono::milliseconds timeout = kDefaultChildTimeout);
    // Sends one request and returns its reply; throws when there is none.
    std::string request(const std::string& json);

    // Closes the host's input and returns its exit status (see ChildProcess::wait).
    int stop(std::chrono::milliseconds timeout = kDefaultChildTimeout) {
        return child.wait(timeout);
    }
    std::string errorText() { return child.errorText(); }

    // The PINs looked for; add those the host may learn other than by a request.
    PinWatch& pins() { return pinWatch; }

  private:
    static ChildProcess startHost(const HostSettings& settings, const std::string& executable);

    HostFolder hostFolder;
    ChildProcess child;
    PinWatch pinWatch;
};
