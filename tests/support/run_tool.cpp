#include "support/run_tool.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace {

struct Pipe {
    int read = -1;
    int write = -1;
    Pipe() {
        int fds[2];
        // Close-on-exec: only the dup2'd copies reach the child.
        if (pipe2(fds, O_CLOEXEC) != 0) {
            throw std::runtime_error(std::string("pipe2 failed: ") + std::strerror(errno));
        }
        read = fds[0];
        write = fds[1];
    }
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (read >= 0) {
            close(read);
            read = -1;
        }
    }
    void closeWrite() {
        if (write >= 0) {
            close(write);
            write = -1;
        }
    }
};

}  // namespace

ToolResult tryTool(const std::vector<std::string>& arguments, const std::string& input) {
    if (arguments.empty()) {
        throw std::runtime_error("tryTool: no program");
    }
    // A tool that exits without reading its input must not kill the test.
    signal(SIGPIPE, SIG_IGN);
    Pipe in;
    Pipe out;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.read, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, 1);
    posix_spawn_file_actions_adddup2(&actions, out.write, 2);
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    in.closeRead();
    out.closeWrite();
    if (spawned != 0) {
        throw std::runtime_error("cannot run " + arguments[0] + ": " + std::strerror(spawned));
    }
    // Inputs are a few lines: they fit in the pipe before the tool reads them.
    size_t written = 0;
    while (written < input.size()) {
        ssize_t wrote = ::write(in.write, input.data() + written, input.size() - written);
        if (wrote <= 0 && errno != EINTR) {
            break;
        }
        written += wrote > 0 ? static_cast<size_t>(wrote) : 0;
    }
    in.closeWrite();
    ToolResult result;
    char buffer[4096];
    ssize_t got;
    while ((got = read(out.read, buffer, sizeof buffer)) != 0) {
        if (got > 0) {
            result.output.append(buffer, static_cast<size_t>(got));
        } else if (errno != EINTR) {
            break;
        }
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

std::string runTool(const std::vector<std::string>& arguments, const std::string& input) {
    ToolResult result = tryTool(arguments, input);
    if (result.status != 0) {
        throw std::runtime_error(arguments[0] + " failed (status " + std::to_string(result.status) +
                                 "): " + result.output);
    }
    return result.output;
}
