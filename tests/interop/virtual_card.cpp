#include "interop/virtual_card.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>
#include <thread>

#include "interop/modules.h"
#include "support/pkcs11_client.h"
#include "support/run_tool.h"

namespace interop {

namespace {

constexpr char kSocket[] = "/run/pcscd/pcscd.comm";
constexpr char kPidFile[] = "/run/pcscd/pcscd.pid";
constexpr char kPkcs12Password[] = "transfer";

struct CardKey {
    std::string nickname;
    std::string subject;
    Bytes serial;
};

const std::vector<CardKey> kCardKeys = {
    {"card-identity", "/C=ZZ/O=Vantrel Tests/CN=Card Holder", {0x0c, 0xa1, 0x01}},
    {"card-signature", "/C=ZZ/O=Vantrel Tests/OU=Signature/CN=Card Holder", {0x0c, 0xa1, 0x02}},
};

bool somethingListensOn(int port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool listening = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return listening;
}

template <typename Condition>
bool waitFor(Condition condition, std::chrono::milliseconds timeout) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace

VirtualSmartCard::VirtualSmartCard() {
    if (std::optional<pid_t> other = runningProcess(kPidFile, "pcscd")) {
        throw std::runtime_error("a pcscd these tests did not start runs (process " +
                                 std::to_string(*other) +
                                 ") that the set-up cannot stop: stop it first");
    }
    for (int port : {kReaderPort, kReaderPort + 1}) {
        if (somethingListensOn(port)) {
            throw std::runtime_error("port " + std::to_string(port) +
                                     " of the loopback address is taken: the virtual reader "
                                     "needs it");
        }
    }
    makeDatabase();
    startReader();
    insertCard();
    readToken();
}

VirtualSmartCard::~VirtualSmartCard() {
    // The card goes first, as when a card is pulled, then its reader.
    if (card) {
        card->stop();
    }
    if (pcscd) {
        pcscd->stop();
    }
}

std::string VirtualSmartCard::modulePath() {
    return openScModule();
}

EvpPkeyPtr VirtualSmartCard::publicKey(size_t i) const {
    return certificatePublicKey(cardCertificates.at(i).der);
}

std::string VirtualSmartCard::logs() const {
    return "pcscd:\n" + (pcscd ? pcscd->log() : "") + "\ncard:\n" + (card ? card->log() : "");
}

void VirtualSmartCard::makeDatabase() {
    const std::string database = "sql:" + folder.file("nssdb");
    std::filesystem::create_directory(folder.file("nssdb"));
    // The database's password is what the emulated card takes as its PIN.
    folder.write("pin", cardPin + "\n");
    folder.write("transfer", std::string(kPkcs12Password) + "\n");
    runTool({"certutil", "-N", "-d", database, "-f", folder.file("pin")});
    TestCa ca;
    for (const CardKey& key : kCardKeys) {
        EvpPkeyPtr privateKey = generateRsaKey(2048);
        CertificateOptions options;
        options.subject = key.subject;
        options.serial = key.serial;
        TokenCertificate certificate;
        certificate.der = ca.issueForKey(privateKey.get(), options);
        certificate.fields = readCertificateFields(certificate.der);
        Bytes pkcs12 = makePkcs12(privateKey.get(), certificate.der, key.nickname, kPkcs12Password);
        folder.write(key.nickname + ".p12", std::string(pkcs12.begin(), pkcs12.end()));
        runTool({"pk12util", "-i", folder.file(key.nickname + ".p12"), "-d", database, "-k",
                 folder.file("pin"), "-w", folder.file("transfer")});
        cardCertificates.push_back(std::move(certificate));
    }
}

void VirtualSmartCard::startReader() {
    std::filesystem::create_directory(folder.file("reader.conf.d"));
    folder.write("reader.conf.d/vpcd",
                 "FRIENDLYNAME \"Virtual PCD\"\n"
                 "DEVICENAME /dev/null:0x8C7B\n"
                 "LIBPATH /usr/lib/pcsc/drivers/serial/libifdvpcd.so\n"
                 "CHANNELID 0x8C7B\n");
    pcscd.emplace(std::vector<std::string>{"/usr/sbin/pcscd", "--foreground", "--config",
                                           folder.file("reader.conf.d")},
                  folder.file("pcscd.log"));
    if (!waitFor([] { return std::filesystem::exists(kSocket); }, std::chrono::seconds(20)) ||
        !waitFor([] { return somethingListensOn(kReaderPort); }, std::chrono::seconds(20))) {
        throw std::runtime_error("pcscd did not start its virtual reader:\n" + logs());
    }
}

void VirtualSmartCard::insertCard() {
    std::vector<std::string> arguments = {virtualCacProgram(), folder.file("nssdb"),
                                          std::to_string(kReaderPort)};
    for (const CardKey& key : kCardKeys) {
        arguments.push_back(key.nickname);
    }
    card.emplace(arguments, folder.file("card.log"));
    if (!card->waitForLog("inserted", std::chrono::seconds(30))) {
        throw std::runtime_error("the virtual card did not reach the reader:\n" + logs());
    }
}

void VirtualSmartCard::readToken() {
    Pkcs11Client opensc(modulePath());
    bool found = waitFor(
        [&] {
            for (CK_SLOT_ID slot : opensc.slots(true)) {
                info = opensc.tokenInfo(slot);
                cardSlot = slot;
                serial = PADDED_TEXT(info.serialNumber);
                return true;
            }
            return false;
        },
        std::chrono::seconds(30));
    if (!found) {
        throw std::runtime_error("OpenSC does not see the virtual card:\n" + logs());
    }
}

}  // namespace interop
