// A CAC smart card in software for the interoperability tests: libcacard
// emulates the card from the certificates and keys of an NSS database, and
// this program carries its APDUs to the vpcd reader driver of a pcscd, which
// waits for a card on a TCP port of the loopback address.
//
//   vantrel-virtual-cac <nss database folder> <port> <nickname>...
//
// The database's password is the card's PIN; the nicknames (one to three)
// name certificates whose private keys are in the database. The program
// connects to the reader (retrying for a while, the reader may not listen
// yet), prints "inserted" on standard output once the reader has read the
// card's ATR, serves the reader until it closes the connection and then
// exits with 0. SIGTERM ends it the same way.
//
// vpcd's messages: a 2-byte big-endian length and that many bytes. One byte
// is a control (0 power off, 1 power on, 2 reset, 4 send the ATR); anything
// longer is a command APDU, answered with the response APDU.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <libcacard.h>

namespace {

constexpr char kReaderName[] = "Virtual CAC";
constexpr unsigned char kPowerOff = 0;
constexpr unsigned char kPowerOn = 1;
constexpr unsigned char kReset = 2;
constexpr unsigned char kSendAtr = 4;

volatile sig_atomic_t stopRequested = 0;

void requestStop(int) {
    stopRequested = 1;
}

bool readFully(int fd, unsigned char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t got = read(fd, buffer + done, size - done);
        if (got > 0) {
            done += static_cast<size_t>(got);
        } else if (got == 0 || errno != EINTR || stopRequested) {
            return false;
        }
    }
    return true;
}

bool writeFully(int fd, const unsigned char* buffer, size_t size) {
    size_t done = 0;
    while (done < size) {
        ssize_t wrote = write(fd, buffer + done, size - done);
        if (wrote > 0) {
            done += static_cast<size_t>(wrote);
        } else if (wrote < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

bool sendMessage(int fd, const unsigned char* bytes, size_t size) {
    unsigned char length[2] = {static_cast<unsigned char>(size >> 8),
                               static_cast<unsigned char>(size & 0xFF)};
    return writeFully(fd, length, 2) && writeFully(fd, bytes, size);
}

int connectToReader(int port) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!stopRequested && std::chrono::steady_clock::now() < deadline) {
        int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            return -1;
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            int on = 1;
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return fd;
        }
        close(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return -1;
}

VReader* startEmulator(const std::string& database, int argc, char** argv) {
    std::string options = "db=\"sql:" + database + "\" use_hw=no soft=(," + kReaderName + ",CAC,";
    for (int i = 3; i < argc; ++i) {
        options += std::string(",") + argv[i];
    }
    options += ")";
    if (vcard_emul_init(vcard_emul_options(options.c_str())) != VCARD_EMUL_OK) {
        return nullptr;
    }
    return vreader_get_reader_by_name(kReaderName);
}

// Serves the reader until it goes away; false on a failure of our own.
bool serve(int fd, VReader* reader) {
    std::vector<unsigned char> atr(64);
    int atrLength = static_cast<int>(atr.size());
    if (vreader_power_on(reader, atr.data(), &atrLength) != VREADER_OK) {
        std::fprintf(stderr, "the emulated card does not power on\n");
        return false;
    }
    atr.resize(static_cast<size_t>(atrLength));
    bool announced = false;
    std::vector<unsigned char> message(65536);
    std::vector<unsigned char> response(65536 + 2);
    while (!stopRequested) {
        unsigned char header[2];
        if (!readFully(fd, header, 2)) {
            return true;
        }
        size_t length = (static_cast<size_t>(header[0]) << 8) | header[1];
        if (!readFully(fd, message.data(), length)) {
            return true;
        }
        if (length == 1) {
            switch (message[0]) {
                case kPowerOff:
                    vreader_power_off(reader);
                    break;
                case kReset:
                    vreader_power_off(reader);
                    [[fallthrough]];
                case kPowerOn: {
                    std::vector<unsigned char> ignored(64);
                    int ignoredLength = static_cast<int>(ignored.size());
                    vreader_power_on(reader, ignored.data(), &ignoredLength);
                    break;
                }
                case kSendAtr:
                    if (!sendMessage(fd, atr.data(), atr.size())) {
                        return true;
                    }
                    if (!announced) {
                        std::printf("inserted\n");
                        std::fflush(stdout);
                        announced = true;
                    }
                    break;
                default:
                    std::fprintf(stderr, "unknown control byte %u\n", message[0]);
                    break;
            }
            continue;
        }
        int responseLength = static_cast<int>(response.size());
        if (vreader_xfr_bytes(reader, message.data(), static_cast<int>(length), response.data(),
                              &responseLength) != VREADER_OK) {
            // No card answer at all: report "no precise diagnosis" as a card would.
            response[0] = 0x6F;
            response[1] = 0x00;
            responseLength = 2;
        }
        if (!sendMessage(fd, response.data(), static_cast<size_t>(responseLength))) {
            return true;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 6) {
        std::fprintf(stderr, "usage: %s <nss database folder> <port> <nickname>...\n", argv[0]);
        return 2;
    }
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);

    VReader* reader = startEmulator(argv[1], argc, argv);
    if (reader == nullptr) {
        std::fprintf(stderr, "libcacard cannot emulate a card from %s\n", argv[1]);
        return 1;
    }
    int fd = connectToReader(std::atoi(argv[2]));
    bool served = false;
    if (fd < 0) {
        std::fprintf(stderr, "no reader listens on port %s\n", argv[2]);
    } else {
        served = serve(fd, reader);
        close(fd);
    }
    vreader_free(reader);
    vcard_emul_finalize();
    return served ? 0 : 1;
}
