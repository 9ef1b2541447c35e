#include "interop/tpm_tokens.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

#include "interop/modules.h"
#include "support/run_tool.h"

namespace interop {

namespace {

// swtpm takes two ports: the TPM's and, one above it, its control channel.
constexpr int kFirstPort = 23210;
constexpr int kPortPairs = 40;
constexpr char kTcti[] = "tabrmd:bus_type=session";
constexpr char kResourceManagerName[] = "com.intel.tss2.Tabrmd";
const std::chrono::seconds kStartLimit(60);

// Whether a TCP connection to the port on loopback is accepted (`listening`)
// or the port can be bound (free).
bool canConnect(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

bool canBind(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

// The first pair of ports that no other test run holds and no other program
// uses; its lock stays taken for the life of the set-up.
std::unique_ptr<MachineLock> takePortPair(int& port) {
    for (int pair = 0; pair < kPortPairs; ++pair) {
        int candidate = kFirstPort + 2 * pair;
        std::unique_ptr<MachineLock> lock;
        try {
            lock = std::make_unique<MachineLock>("swtpm-" + std::to_string(candidate),
                                                 std::chrono::seconds(0));
        } catch (const std::runtime_error&) {
            continue;
        }
        if (canBind(candidate) && canBind(candidate + 1)) {
            port = candidate;
            return lock;
        }
    }
    throw std::runtime_error("no free port pair for swtpm");
}

// Polls `ready` until it holds; the daemon ending or the time running out
// first fails the set-up with its output.
template <typename Ready>
void waitUntil(Daemon& daemon, Ready ready, const std::string& what) {
    auto deadline = std::chrono::steady_clock::now() + kStartLimit;
    while (!ready()) {
        if (!daemon.running() || std::chrono::steady_clock::now() >= deadline) {
            throw std::runtime_error(what + " did not start: " + daemon.log());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace

TpmTokens::TpmTokens()
    : portLock(takePortPair(serverPort)),
      busAddress("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + folder.file("bus")),
      pkcs11Tcti("TPM2_PKCS11_TCTI", kTcti),
      toolsTcti("TPM2TOOLS_TCTI", kTcti),
      store("TPM2_PKCS11_STORE", folder.file("store")),
      logLevel("TPM2_PKCS11_LOG_LEVEL", "0") {
    startTpm();
    startBus();
    startResourceManager();
    prepareTpm();
}

TpmTokens::~TpmTokens() {
    for (std::optional<Daemon>* daemon : {&resourceManager, &bus, &tpm}) {
        if (*daemon) {
            (*daemon)->stop();
        }
    }
}

std::string TpmTokens::modulePath() {
    return tpm2Module();
}

void TpmTokens::startTpm() {
    std::filesystem::create_directories(folder.file("state"));
    std::filesystem::create_directories(folder.file("store"));
    const std::string port = std::to_string(serverPort);
    const std::string controlPort = std::to_string(serverPort + 1);
    tpm.emplace(std::vector<std::string>{"/usr/bin/swtpm", "socket", "--tpm2", "--tpmstate",
                                         "dir=" + folder.file("state"), "--server",
                                         "type=tcp,port=" + port + ",bindaddr=127.0.0.1", "--ctrl",
                                         "type=tcp,port=" + controlPort + ",bindaddr=127.0.0.1",
                                         "--flags", "not-need-init,startup-clear"},
                folder.file("swtpm.log"));
    waitUntil(
        *tpm, [&] { return canConnect(serverPort + 1); }, "swtpm");
}

void TpmTokens::startBus() {
    folder.write("bus.conf", R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=)" + folder.file("bus") +
                                 R"(</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)");
    // The address is printed once the bus listens.
    bus.emplace(std::vector<std::string>{"/usr/bin/dbus-daemon", "--nofork", "--print-address",
                                         "--config-file=" + folder.file("bus.conf")},
                folder.file("dbus.log"));
    if (!bus->waitForLog("unix:path=", kStartLimit)) {
        throw std::runtime_error("dbus-daemon did not start: " + bus->log());
    }
}

void TpmTokens::startResourceManager() {
    resourceManager.emplace(
        std::vector<std::string>{"/usr/sbin/tpm2-abrmd", "--session", "--allow-root", "--flush-all",
                                 "--tcti=swtpm:host=127.0.0.1,port=" + std::to_string(serverPort)},
        folder.file("tpm2-abrmd.log"));
    auto owned = [] {
        ToolResult result =
            tryTool({"dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                     "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                     std::string("string:") + kResourceManagerName});
        return result.status == 0 && result.output.find("boolean true") != std::string::npos;
    };
    waitUntil(*resourceManager, owned, "tpm2-abrmd");
}

void TpmTokens::prepareTpm() {
    runTool(
        {"tpm2_dictionarylockout", "--setup-parameters", "--max-tries=1000", "--clear-lockout"});
    runTool({"tpm2_ptool", "init"});
}

void TpmTokens::addToken(const std::string& label) {
    runTool({"tpm2_ptool", "addtoken", "--pid=1", "--label=" + label, "--userpin=" + userPin(),
             "--sopin=" + soPin()});
}

std::string TpmTokens::logs() const {
    std::string text;
    for (const std::optional<Daemon>* daemon : {&tpm, &bus, &resourceManager}) {
        if (*daemon) {
            text += (*daemon)->name() + ":\n" + (*daemon)->log() + "\n";
        }
    }
    return text;
}

}  // namespace interop
