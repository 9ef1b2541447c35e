#include "interop/daemon.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "support/whole_file.h"

extern char** environ;

namespace interop {

namespace {

int decodeStatus(int status) {
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace

Daemon::Daemon(const std::vector<std::string>& arguments, std::string logPath)
    : program(arguments.at(0)), logFile(std::move(logPath)) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND,
                                     0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    int spawned = posix_spawn(&processId, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
    }
}

Daemon::~Daemon() {
    stop();
}

bool Daemon::running() {
    if (exitStatus) {
        return false;
    }
    int status = 0;
    if (waitpid(processId, &status, WNOHANG) == processId) {
        exitStatus = decodeStatus(status);
        return false;
    }
    return true;
}

bool Daemon::waitForLog(const std::string& text, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (log().find(text) == std::string::npos) {
        if (!running() || std::chrono::steady_clock::now() >= deadline) {
            return log().find(text) != std::string::npos;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int Daemon::stop(std::chrono::milliseconds grace) {
    if (!running()) {
        return *exitStatus;
    }
    kill(processId, SIGTERM);
    auto deadline = std::chrono::steady_clock::now() + grace;
    while (running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!exitStatus) {
        kill(processId, SIGKILL);
        int status = 0;
        waitpid(processId, &status, 0);
        exitStatus = decodeStatus(status);
    }
    return *exitStatus;
}

std::string Daemon::log() const {
    std::error_code ignored;
    return std::filesystem::exists(logFile, ignored) ? readWholeFile(logFile) : "";
}

}  // namespace interop
