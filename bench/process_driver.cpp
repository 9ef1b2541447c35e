// Drives a native messaging host (or a baseline program) over pipes, the way
// a browser does, and times what scripts/bench.sh asks for.
//
//   vantrel-bench-driver roundtrip COUNT -- PROGRAM [ARGS...]
//       one untimed info request, then COUNT info requests one after another;
//       prints the seconds they took.
//   vantrel-bench-driver startup -- PROGRAM [ARGS...]
//       prints the seconds from starting the program to its first reply (an
//       info request is written at once).
//   vantrel-bench-driver sign COUNT TOKEN_SERIAL PIN CERT_SN PAYLOAD -- PROGRAM [ARGS...]
//       logs in, makes one untimed signature, then COUNT sign requests one
//       after another; prints the seconds they took and the processor
//       seconds the program used for them.
//   vantrel-bench-driver memory BYTES -- PROGRAM [ARGS...]
//       one sign request whose string payload is BYTES long, with no login;
//       prints the program's peak resident set size in bytes.
//   vantrel-bench-driver requests COUNT FILE REPLY_PART -- PROGRAM [ARGS...]
//       sends the text of FILE as one message, untimed, then COUNT more times,
//       each after the previous reply, which must hold REPLY_PART ("-" for
//       any reply); prints the seconds each of the COUNT took on one line,
//       and on a second the minor page faults the program had per request
//       from the untimed reply to its exit.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "nmp/frame.h"

extern char** environ;

namespace {

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "vantrel-bench-driver: %s\n", message.c_str());
    std::exit(1);
}

struct Child {
    pid_t pid = -1;
    int input = -1;   // the child's standard input
    int output = -1;  // the child's standard output
};

Child spawn(char** argv) {
    int toChild[2];
    int fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) {
        fail("pipe");
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    // The host's error lines ("End of input" at the end of every run) are not
    // what is measured.
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) {
        posix_spawn_file_actions_addclose(&actions, fd);
    }
    Child child;
    if (posix_spawn(&child.pid, argv[0], &actions, nullptr, argv, environ) != 0) {
        fail(std::string("cannot start ") + argv[0]);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    child.input = toChild[1];
    child.output = fromChild[0];
    return child;
}

void writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t count = write(fd, data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            fail("write to the program failed");
        }
        data += count;
        size -= static_cast<size_t>(count);
    }
}

void readAll(int fd, char* data, size_t size) {
    while (size > 0) {
        ssize_t count = read(fd, data, size);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            fail("the program closed its output");
        }
        data += count;
        size -= static_cast<size_t>(count);
    }
}

std::string readFrame(const Child& child) {
    char prefix[kFramePrefixSize];
    readAll(child.output, prefix, sizeof(prefix));
    uint32_t length = frameLength(prefix);
    std::string text(length, '\0');
    readAll(child.output, &text[0], length);
    return text;
}

std::string exchange(const Child& child, const std::string& framedRequest) {
    writeAll(child.input, framedRequest.data(), framedRequest.size());
    return readFrame(child);
}

rusage finish(Child& child) {
    close(child.input);
    close(child.output);
    int status = 0;
    rusage usage{};
    if (wait4(child.pid, &status, 0, &usage) != child.pid) {
        fail("wait4");
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fail("the program did not exit with status 0");
    }
    return usage;
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The processor time a running child has had so far: the first field of its
// schedstat, in nanoseconds.
double cpuSeconds(pid_t pid) {
    FILE* file = std::fopen(("/proc/" + std::to_string(pid) + "/schedstat").c_str(), "r");
    unsigned long long nanoseconds = 0;
    if (file == nullptr || std::fscanf(file, "%llu", &nanoseconds) != 1) {
        fail("cannot read the program's schedstat");
    }
    std::fclose(file);
    return static_cast<double>(nanoseconds) / 1e9;
}

void expect(const std::string& reply, const std::string& part) {
    if (reply.find(part) == std::string::npos) {
        fail("unexpected reply " + reply.substr(0, 200));
    }
}

const std::string kInfo = frame("{\"action\":\"info\",\"port\":\"bench\"}");

int roundtrip(long count, char** program) {
    Child child = spawn(program);
    exchange(child, kInfo);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < count; ++i) {
        if (exchange(child, kInfo).empty()) {
            fail("empty reply");
        }
    }
    const double seconds = secondsSince(start);
    finish(child);
    std::printf("%.6f\n", seconds);
    return 0;
}

int startup(char** program) {
    const auto start = std::chrono::steady_clock::now();
    Child child = spawn(program);
    writeAll(child.input, kInfo.data(), kInfo.size());
    std::string reply = readFrame(child);
    const double seconds = secondsSince(start);
    finish(child);
    if (reply.find("\"driver\":\"None\"") != std::string::npos) {
        fail("the host did not load its token module");
    }
    std::printf("%.6f\n", seconds);
    return 0;
}

int sign(long count, const std::string& tokenSerial, const std::string& pin,
         const std::string& certificateSN, const std::string& payload, char** program) {
    Child child = spawn(program);
    expect(exchange(child, frame("{\"action\":\"login\",\"tokenSN\":\"" + tokenSerial +
                                 "\",\"pin\":\"" + pin + "\"}")),
           "\"action\":\"login\"");
    const std::string request = frame("{\"action\":\"sign\",\"certificateSN\":\"" + certificateSN +
                                      "\",\"payload\":\"" + payload + "\"}");
    expect(exchange(child, request), "\"signature\":");
    const double cpuStart = cpuSeconds(child.pid);
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < count; ++i) {
        expect(exchange(child, request), "\"signature\":");
    }
    const double seconds = secondsSince(start);
    const double cpu = cpuSeconds(child.pid) - cpuStart;
    finish(child);
    std::printf("%.6f %.6f\n", seconds, cpu);
    return 0;
}

int memory(size_t bytes, char** program) {
    // Started before the request is built: a child made by posix_spawn
    // shares this process's memory until it runs the program, and Linux
    // counts what was resident then in the child's peak.
    Child child = spawn(program);
    std::string payload(bytes, ' ');
    for (size_t i = 0; i < bytes; ++i) {
        payload[i] = static_cast<char>('a' + i % 26);
    }
    const std::string request =
        frame("{\"action\":\"sign\",\"certificateSN\":\"02055a17c0de42\",\"payload\":\"" + payload +
              "\",\"port\":\"bench\"}");
    payload = std::string();
    expect(exchange(child, request), "Must login before being able to sign");
    rusage usage = finish(child);
    std::printf("%ld\n", usage.ru_maxrss * 1024L);
    return 0;
}

// Minor page faults a running child has had so far: field 10 of its stat.
long minorFaults(pid_t pid) {
    FILE* file = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (file == nullptr) {
        fail("cannot read the program's stat");
    }
    char line[1024];
    const bool read = std::fgets(line, sizeof(line), file) != nullptr;
    std::fclose(file);
    // The command name may hold blanks; the fields after it are counted from
    // its closing parenthesis.
    const char* fields = read ? std::strrchr(line, ')') : nullptr;
    long faults = -1;
    if (fields == nullptr ||
        std::sscanf(fields, ") %*c %*d %*d %*d %*d %*d %*u %ld", &faults) != 1) {
        fail("cannot parse the program's stat");
    }
    return faults;
}

std::string fileText(const char* path) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        fail(std::string("cannot open ") + path);
    }
    std::string text;
    char chunk[65536];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof(chunk), file)) > 0) {
        text.append(chunk, count);
    }
    std::fclose(file);
    return text;
}

int requests(long count, const char* path, const std::string& replyPart, char** program) {
    const std::string request = frame(fileText(path));
    Child child = spawn(program);
    auto answer = [&] {
        std::string reply = exchange(child, request);
        if (replyPart != "-") {
            expect(reply, replyPart);
        }
    };
    answer();
    const long faultsBefore = minorFaults(child.pid);
    std::vector<double> seconds;
    for (long i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        answer();
        seconds.push_back(secondsSince(start));
    }
    rusage usage = finish(child);
    for (double s : seconds) {
        std::printf("%.6f ", s);
    }
    std::printf("\n%.1f\n", count > 0 ? static_cast<double>(usage.ru_minflt - faultsBefore) /
                                            static_cast<double>(count)
                                      : 0.0);
    return 0;
}

char** programAfterSeparator(int argc, char** argv, int separator) {
    if (separator >= argc - 1 || std::strcmp(argv[separator], "--") != 0) {
        fail("expected -- PROGRAM [ARGS...]");
    }
    return argv + separator + 1;
}

}  // namespace

int main(int argc, char** argv) {
    signal(SIGPIPE, SIG_IGN);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "roundtrip" && argc > 4) {
        return roundtrip(std::atol(argv[2]), programAfterSeparator(argc, argv, 3));
    }
    if (mode == "startup" && argc > 3) {
        return startup(programAfterSeparator(argc, argv, 2));
    }
    if (mode == "sign" && argc > 8) {
        return sign(std::atol(argv[2]), argv[3], argv[4], argv[5], argv[6],
                    programAfterSeparator(argc, argv, 7));
    }
    if (mode == "memory" && argc > 4) {
        return memory(std::strtoul(argv[2], nullptr, 10), programAfterSeparator(argc, argv, 3));
    }
    if (mode == "requests" && argc > 6) {
        return requests(std::atol(argv[2]), argv[3], argv[4], programAfterSeparator(argc, argv, 5));
    }
    fail(
        "usage: roundtrip COUNT | startup | sign COUNT TOKEN_SERIAL PIN CERT_SN PAYLOAD | "
        "memory BYTES | requests COUNT FILE REPLY_PART, then -- PROGRAM [ARGS...]");
}
