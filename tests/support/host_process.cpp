#include "support/host_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <thread>

#include "nmp/frame.h"
#include "support/file_owner.h"
#include "support/pipe.h"

extern char** environ;

namespace {

void closeFd(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

struct PipeFds {
    int read = -1;
    int write = -1;
};

PipeFds makePipe() {
    int fds[2];
    // Close-on-exec: a second child must not hold this child's pipes open.
    if (pipe2(fds, O_CLOEXEC) != 0) {
        throw std::runtime_error(std::string("pipe2 failed: ") + std::strerror(errno));
    }
    return {fds[0], fds[1]};
}

int decodeStatus(int status) {
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return -1;
}

std::string milliseconds(std::chrono::milliseconds timeout) {
    return std::to_string(timeout.count()) + " ms";
}

// The program and arguments that start the host as HostSettings say.
std::vector<std::string> hostCommand(const HostSettings& settings, const std::string& executable) {
    if (settings.user.empty()) {
        return {executable, settings.argv0.empty() ? executable : settings.argv0};
    }
    UserIds ids = userIds(settings.user);
    return {"/usr/bin/setpriv",
            "setpriv",
            "--reuid=" + std::to_string(ids.uid),
            "--regid=" + std::to_string(ids.gid),
            "--clear-groups",
            "--",
            executable};
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments)
    : ChildProcess(arguments.empty() ? std::string() : arguments[0], arguments) {}

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments) {
    if (program.empty() || arguments.empty()) {
        throw std::runtime_error("ChildProcess: no program to start");
    }
    // A child that stops reading must show as a failed write, not kill the test.
    signal(SIGPIPE, SIG_IGN);
    PipeFds in = makePipe();
    PipeFds out = makePipe();
    PipeFds err = makePipe();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.read, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, err.write, 2);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int spawned = posix_spawn(&childPid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in.read);
    close(out.write);
    close(err.write);
    input = in.write;
    output = out.read;
    error = err.read;
    if (spawned != 0) {
        closeFd(input);
        closeFd(output);
        closeFd(error);
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
    }
    fcntl(input, F_SETFL, fcntl(input, F_GETFL) | O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    kill();
    closeFd(input);
    closeFd(output);
    closeFd(error);
}

void ChildProcess::kill() {
    if (childPid > 0 && !exitStatus) {
        ::kill(childPid, SIGKILL);
        int status = 0;
        rusage usage{};
        wait4(childPid, &status, 0, &usage);
        exitStatus = decodeStatus(status);
        maxResidentKiB = usage.ru_maxrss;
    }
}

void ChildProcess::readInto(int& fd, std::string& buffer) {
    char chunk[65536];
    ssize_t got = read(fd, chunk, sizeof chunk);
    if (got > 0) {
        buffer.append(chunk, static_cast<size_t>(got));
    } else if (got == 0 || (errno != EINTR && errno != EAGAIN)) {
        closeFd(fd);
    }
}

bool ChildProcess::pump(Clock::time_point deadline, bool wantWrite) {
    pollfd fds[3];
    nfds_t count = 0;
    int outputSlot = -1;
    int errorSlot = -1;
    if (output >= 0) {
        outputSlot = static_cast<int>(count);
        fds[count++] = {output, POLLIN, 0};
    }
    if (error >= 0) {
        errorSlot = static_cast<int>(count);
        fds[count++] = {error, POLLIN, 0};
    }
    if (wantWrite && input >= 0) {
        fds[count++] = {input, POLLOUT, 0};
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
        return false;
    }
    if (count == 0) {
        // Nothing left to watch: let time pass so callers polling the child's
        // exit do not spin.
        std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(5)));
        return true;
    }
    int ready = poll(fds, count, static_cast<int>(std::min<long long>(left.count(), 1000)));
    if (ready < 0 && errno != EINTR) {
        throw std::runtime_error(std::string("poll failed: ") + std::strerror(errno));
    }
    if (ready <= 0) {
        return Clock::now() < deadline;
    }
    if (outputSlot >= 0 && fds[outputSlot].revents != 0) {
        readInto(output, outputBuffer);
    }
    if (errorSlot >= 0 && fds[errorSlot].revents != 0) {
        readInto(error, errorBuffer);
    }
    return true;
}

bool ChildProcess::write(const std::string& bytes, std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    size_t done = 0;
    while (done < bytes.size()) {
        if (input < 0) {
            return false;
        }
        ssize_t wrote = ::write(input, bytes.data() + done, bytes.size() - done);
        if (wrote > 0) {
            done += static_cast<size_t>(wrote);
            continue;
        }
        if (wrote < 0 && errno == EPIPE) {
            return false;
        }
        if (wrote < 0 && errno != EAGAIN && errno != EINTR) {
            throw std::runtime_error(std::string("write failed: ") + std::strerror(errno));
        }
        // The pipe is full: keep draining the child's output meanwhile, or a
        // child blocked on writing its replies would never read on.
        if (!pump(deadline, true)) {
            throw HostTimeout("the child did not read its input within " + milliseconds(timeout));
        }
    }
    return true;
}

void ChildProcess::closeInput() {
    closeFd(input);
}

void ChildProcess::closeOutput() {
    closeFd(output);
}

std::string ChildProcess::readOutput(size_t count, std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    while (outputBuffer.size() < count && output >= 0) {
        if (!pump(deadline, false)) {
            throw HostTimeout("expected " + std::to_string(count) + " bytes of output, got " +
                              std::to_string(outputBuffer.size()) + " within " +
                              milliseconds(timeout) + "; standard error: " + errorBuffer);
        }
    }
    size_t taken = std::min(count, outputBuffer.size());
    std::string result = outputBuffer.substr(0, taken);
    outputBuffer.erase(0, taken);
    return result;
}

std::string ChildProcess::readAllOutput(std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    while (output >= 0) {
        if (!pump(deadline, false)) {
            throw HostTimeout("the output did not end within " + milliseconds(timeout));
        }
    }
    std::string result;
    result.swap(outputBuffer);
    return result;
}

std::string ChildProcess::pendingOutput() {
    while (output >= 0) {
        pollfd fd = {output, POLLIN, 0};
        if (poll(&fd, 1, 0) <= 0) {
            break;
        }
        readInto(output, outputBuffer);
    }
    std::string result;
    result.swap(outputBuffer);
    return result;
}

std::string ChildProcess::errorText() {
    while (error >= 0) {
        pollfd fd = {error, POLLIN, 0};
        if (poll(&fd, 1, 0) <= 0) {
            break;
        }
        readInto(error, errorBuffer);
    }
    return errorBuffer;
}

int ChildProcess::wait(std::chrono::milliseconds timeout) {
    if (exitStatus) {
        return *exitStatus;
    }
    auto deadline = Clock::now() + timeout;
    closeInput();
    while (true) {
        int status = 0;
        rusage usage{};
        pid_t done = wait4(childPid, &status, WNOHANG, &usage);
        if (done == childPid) {
            exitStatus = decodeStatus(status);
            maxResidentKiB = usage.ru_maxrss;
            break;
        }
        if (!pump(deadline, false)) {
            kill();
            throw HostTimeout("the child did not exit within " + milliseconds(timeout) +
                              "; standard error: " + errorBuffer);
        }
    }
    // The child is gone: what it wrote is all in the pipes by now, unless a
    // process it started still holds them.
    while ((output >= 0 || error >= 0) && pump(deadline, false)) {
    }
    return *exitStatus;
}

HostFolder::HostFolder(const HostSettings& settings) {
    if (settings.executable.empty()) {
        throw std::runtime_error("HostSettings: the host executable is not known");
    }
    std::filesystem::copy_file(settings.executable, executable());
    std::filesystem::create_directory(logDir());
    if (settings.writeConfig) {
        writeWholeFile(configPath(), configText(settings));
    }
    if (!settings.user.empty()) {
        giveToUser(path(), settings.user);
    }
}

std::string HostFolder::configText(const HostSettings& settings) const {
    std::string config;
    if (!settings.pkcs11Library.empty()) {
        config += "pkcs11Library=" + settings.pkcs11Library + "\n";
    }
    if (settings.maxLogFiles != 0) {
        config += "logDir=" + logDir() + "\n";
        config += "maxLogFiles=" + std::to_string(settings.maxLogFiles) + "\n";
    }
    if (settings.devMode) {
        config += "devMode=true\n";
    }
    config += settings.extraLines;
    return config;
}

std::vector<std::string> HostFolder::logFileNames() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(logDir())) {
        std::string name = entry.path().filename().string();
        if (name.rfind("vantrel-", 0) == 0 && name.size() > 12 &&
            name.compare(name.size() - 4, 4, ".log") == 0) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> HostFolder::logFiles() const {
    std::vector<std::string> contents;
    for (const std::string& name : logFileNames()) {
        contents.push_back(readWholeFile(logDir() + "/" + name));
    }
    return contents;
}

HostProcess::HostProcess(const HostSettings& settings)
    : hostFolder(settings), child(startHost(settings, hostFolder.executable())) {}

ChildProcess HostProcess::startHost(const HostSettings& settings, const std::string& executable) {
    std::vector<std::string> command = hostCommand(settings, executable);
    return ChildProcess(command[0], std::vector<std::string>(command.begin() + 1, command.end()));
}

HostProcess::~HostProcess() {
    EXPECT_TRUE(pinWatch.nothingLeaked(hostFolder.logDir(), child.errorText()));
}

bool HostProcess::send(const std::string& bytes, std::chrono::milliseconds timeout) {
    pinWatch.recordRequest(bytes);
    return child.write(bytes, timeout);
}

bool HostProcess::sendFrame(const std::string& text) {
    pinWatch.recordRequest(text);
    return child.write(frame(text));
}

std::optional<std::string> HostProcess::readFrame(std::chrono::milliseconds timeout) {
    std::string prefix = child.readOutput(kFramePrefixSize, timeout);
    if (prefix.empty()) {
        return std::nullopt;
    }
    if (prefix.size() < kFramePrefixSize) {
        throw std::runtime_error("the output ended inside a length prefix");
    }
    uint32_t length = frameLength(prefix.data());
    std::string text = child.readOutput(length, timeout);
    if (text.size() < length) {
        throw std::runtime_error("the output ended inside a frame of " + std::to_string(length) +
                                 " bytes after " + std::to_string(text.size()));
    }
    return text;
}

std::string HostProcess::request(const std::string& json) {
    if (!sendFrame(json)) {
        throw std::runtime_error("the host stopped reading before " + json +
                                 "; standard error: " + errorText());
    }
    std::optional<std::string> reply = readFrame();
    if (!reply) {
        throw std::runtime_error("the host gave no reply to " + json +
                                 "; standard error: " + errorText());
    }
    return *reply;
}
