#include "interop/opencryptoki_token.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <thread>

#include "interop/modules.h"
#include "support/pkcs11_client.h"
#include "support/run_tool.h"

namespace interop {

namespace {

constexpr char kStore[] = "/var/lib/opencryptoki/swtok";
constexpr char kSocket[] = "/run/pkcsslotd.socket";
constexpr char kFreshSoPin[] = "87654321";

void removeSharedMemory() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/shm", ignored)) {
        if (entry.path().filename().string().rfind("var.lib.opencryptoki", 0) == 0) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
    }
}

}  // namespace

OpenCryptokiToken::OpenCryptokiToken() {
    if (std::optional<pid_t> other = runningProcess("/run/pkcsslotd.pid", "pkcsslotd")) {
        throw std::runtime_error("a pkcsslotd these tests did not start runs (process " +
                                 std::to_string(*other) +
                                 ") that the set-up cannot stop: stop it first");
    }
    emptyStore();
    startDaemon();
    initialiseToken();
    Pkcs11Client client(modulePath());
    info = client.tokenInfo(slot());
    offered = client.mechanisms(slot());
}

OpenCryptokiToken::~OpenCryptokiToken() {
    if (slotDaemon) {
        slotDaemon->stop();
    }
    removeSharedMemory();
}

std::string OpenCryptokiToken::modulePath() {
    return openCryptokiModule();
}

bool OpenCryptokiToken::offers(CK_MECHANISM_TYPE mechanism) const {
    return std::find(offered.begin(), offered.end(), mechanism) != offered.end();
}

std::string OpenCryptokiToken::daemonLog() const {
    return slotDaemon ? slotDaemon->log() : "";
}

void OpenCryptokiToken::emptyStore() {
    for (const auto& entry : std::filesystem::directory_iterator(kStore)) {
        if (entry.path().filename() == "TOK_OBJ") {
            for (const auto& object : std::filesystem::directory_iterator(entry.path())) {
                std::filesystem::remove_all(object.path());
            }
        } else {
            std::filesystem::remove_all(entry.path());
        }
    }
    removeSharedMemory();
}

void OpenCryptokiToken::startDaemon() {
    slotDaemon.emplace(std::vector<std::string>{"/usr/sbin/pkcsslotd", "-f"},
                       folder.file("pkcsslotd.log"));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!std::filesystem::exists(kSocket)) {
        if (!slotDaemon->running() || std::chrono::steady_clock::now() >= deadline) {
            throw std::runtime_error("pkcsslotd did not start: " + slotDaemon->log());
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void OpenCryptokiToken::initialiseToken() {
    const std::string slotNumber = std::to_string(slot());
    const std::string firstUserPin = "11112222";
    // pkcsconf asks for the label on its standard input.
    runTool({"/usr/sbin/pkcsconf", "-I", "-c", slotNumber, "-S", kFreshSoPin}, label() + "\n");
    runTool({"/usr/sbin/pkcsconf", "-P", "-c", slotNumber, "-S", kFreshSoPin, "-n", soPin()});
    runTool({"/usr/sbin/pkcsconf", "-u", "-c", slotNumber, "-S", soPin(), "-n", firstUserPin});
    // A PIN the SO set must be changed by its user before it counts as set.
    runTool({"/usr/sbin/pkcsconf", "-p", "-c", slotNumber, "-U", firstUserPin, "-n", userPin()});
}

TokenCertificate OpenCryptokiToken::addCertificate(const Bytes& id, const std::string& subject,
                                                   const Bytes& serialNumber) {
    Pkcs11Client client(modulePath());
    Pkcs11Session session = client.openSession(slot());
    session.login(CKU_USER, userPin());
    RsaKeyOptions keyOptions(id, 2048);
    KeyPair pair = session.generateRsaKeyPair(keyOptions);
    CertificateOptions options;
    options.subject = subject;
    options.serial = serialNumber;
    TestCa ca;
    TokenCertificate certificate;
    certificate.der = ca.issueForKey(session.publicKey(pair.publicKey).get(), options);
    certificate.id = id;
    certificate.fields = readCertificateFields(certificate.der);
    session.createCertificate(certificate.der, id, Attributes(), CertificateDates::Left);
    return certificate;
}

}  // namespace interop
