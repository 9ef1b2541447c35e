// vantrel-client: talks to a Vantrel host the way a browser does. Starts the
// host, sends each request (the arguments, the lines of standard input where an
// argument is "-", or those lines alone without arguments) as one frame and
// prints each reply on a line of its own.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "common/pin_masking.h"
#include "json/json_parser.h"
#include "nmp/nmp.h"

namespace {

// Stands for the lines of standard input among the requests.
const char kStandardInput[] = "-";

struct Options {
    std::string host;
    bool echo = false;
    // kStandardInput where the lines of standard input go.
    std::vector<std::string> requests{kStandardInput};
};

void usage() {
    std::cerr << "usage: vantrel-client [--host PATH] [--echo] [REQUEST...]\n"
                 "  Starts the host (default: vantrel beside this program) and sends each JSON\n"
                 "  request, given as an argument or as a line of standard input, as one message.\n"
                 "  A REQUEST of - stands for the lines of standard input; without any REQUEST\n"
                 "  they are read alone. Give PINs that way: arguments are visible to every user\n"
                 "  in the process list, so a REQUEST with a PIN is refused (exit status 2).\n"
                 "  Each reply is printed on a line of its own. --echo prints each request\n"
                 "  first (\"> \" before it, without blanks, PINs masked as the host masks them\n"
                 "  in its log) and marks replies with \"< \". Exits 1 when the host stops\n"
                 "  without answering.\n";
}

std::string besideThisProgram(const char* argv0, const std::string& name) {
    char self[4096];
    ssize_t length = readlink("/proc/self/exe", self, sizeof(self) - 1);
    std::string path =
        length > 0 ? std::string(self, static_cast<size_t>(length)) : std::string(argv0);
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
}

bool parseOptions(int argc, char** argv, Options& options) {
    options.host = besideThisProgram(argv[0], "vantrel");
    std::vector<std::string> requests;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--host" && i + 1 < argc) {
            options.host = argv[++i];
        } else if (arg == "--echo") {
            options.echo = true;
        } else if (arg == "--help" || arg == "-h") {
            return false;
        } else {
            requests.push_back(arg);
        }
    }
    if (!requests.empty()) {
        options.requests = requests;
    }
    return true;
}

struct Host {
    pid_t pid = -1;
    int input = -1;   // the host's standard input
    int output = -1;  // the host's standard output
};

bool startHost(const std::string& path, Host& host) {
    int toHost[2];
    int fromHost[2];
    if (pipe(toHost) != 0 || pipe(fromHost) != 0) {
        return false;
    }
    host.pid = fork();
    if (host.pid < 0) {
        return false;
    }
    if (host.pid == 0) {
        dup2(toHost[0], 0);
        dup2(fromHost[1], 1);
        close(toHost[0]);
        close(toHost[1]);
        close(fromHost[0]);
        close(fromHost[1]);
        // A browser passes the extension's origin as the one argument.
        execl(path.c_str(), path.c_str(), "chrome-extension://vantrel-client/",
              static_cast<char*>(nullptr));
        std::fprintf(stderr, "vantrel-client: cannot start %s: %s\n", path.c_str(),
                     std::strerror(errno));
        _exit(127);
    }
    close(toHost[0]);
    close(fromHost[1]);
    host.input = toHost[1];
    host.output = fromHost[0];
    return true;
}

int waitForHost(Host& host) {
    if (host.input >= 0) {
        close(host.input);
        host.input = -1;
    }
    int status = 0;
    waitpid(host.pid, &status, 0);
    return status;
}

bool parsesAsJsonObject(const std::string& text) {
    // Its parsers borrow it.
    static JsonObjectParserFactory factory;
    std::unique_ptr<Parser<JsonValue>> parser = factory.create();
    ParserInput input(text.data(), text.size());
    return parser->parse(input)->isSuccess();
}

// The request as the host logs it: without blanks between its tokens, which
// would hide a PIN key from the masking, and with its PINs masked the way the
// host masks them (more widely when the request does not parse).
std::string echoed(std::string request) {
    compactJson(request);
    return parsesAsJsonObject(request) ? maskPins(request) : maskPinsOfUnparsable(request);
}

// Whether masking would hide anything in the request: a PIN member with a
// value, under any of the names, however it is spelt or quoted.
bool holdsPin(std::string request) {
    compactJson(request);
    return echoed(request) != request;
}

// A PIN among the arguments is in the process list for every user to read:
// refused before anything starts, with the way to give it instead.
bool refusePinArguments(const Options& options) {
    for (const std::string& request : options.requests) {
        if (request == kStandardInput || !holdsPin(request)) {
            continue;
        }
        std::cerr << "vantrel-client: refusing the request " << echoed(request)
                  << ": it holds a PIN, and every user of this machine can read a program's\n"
                     "arguments. Give it on standard input instead (a REQUEST of - or none),\n"
                     "for example (read and printf are built into the shell):\n"
                     "  read -rs -p 'PIN: ' pin && echo\n"
                     "  printf '{\"action\":\"login\",\"tokenSN\":\"%s\",\"pin\":\"%s\"}\\n' "
                     "\"$token_sn\" \"$pin\" | vantrel-client -\n";
        return true;
    }
    return false;
}

// Sends one request and prints its reply; false when the host gave none.
bool exchange(NMPWriter& writer, NMPReader& reader, const std::string& request, bool echo) {
    if (echo) {
        std::cout << "> " << echoed(request) << std::endl;
    }
    try {
        writer.writeMessage(request);
        const SecretString& reply = reader.readMessage();
        std::cout << (echo ? "< " : "") << reply.view() << std::endl;
        return true;
    } catch (const NativeHostException&) {
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parseOptions(argc, argv, options)) {
        usage();
        return 2;
    }
    if (refusePinArguments(options)) {
        return 2;
    }
    signal(SIGPIPE, SIG_IGN);
    Host host;
    if (!startHost(options.host, host)) {
        std::perror("vantrel-client");
        return 1;
    }
    NMPWriter writer(host.input);
    NMPReader reader(host.output);
    bool answered = true;
    auto send = [&](const std::string& request) {
        if (answered && !exchange(writer, reader, request, options.echo)) {
            answered = false;
        }
    };
    for (const std::string& request : options.requests) {
        if (request != kStandardInput) {
            send(request);
            continue;
        }
        std::string line;
        while (answered && std::getline(std::cin, line)) {
            if (!line.empty()) {
                send(line);
            }
        }
    }
    int status = waitForHost(host);
    Logger::destroyInstance();
    if (!answered) {
        std::cerr << "vantrel-client: the host stopped without answering";
        if (WIFEXITED(status)) {
            std::cerr << " (exit status " << WEXITSTATUS(status) << ")";
        }
        std::cerr << std::endl;
        return 1;
    }
    return 0;
}
