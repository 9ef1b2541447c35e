// The host's whole request loop on arbitrary input: framing, compaction, the
// JSON grammar, request decoding, dispatch with no token module, the replies
// and their serialisation, run by the application object itself over an
// in-memory input. What the loop wrote is then checked frame by frame against
// what the input asked for.
#include <strings.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/host_config.h"
#include "common/native_host_exception.h"
#include "common/pin_masking.h"
#include "fuzz_checks.h"
#include "json/json_parser.h"
#include "nmp/nmp.h"
#include "request/request_factory.h"
#include "vantrel_app.h"

namespace {

const char* const kPinKeys[] = {"pin", "oldPIN", "newPIN", "adminPIN", "tokenPIN"};

// A folder with a configuration that names a module path that cannot exist, so
// no run ever reaches a real token whatever is installed on the machine.
class HostSetup {
  public:
    HostSetup() {
        char pattern[] = "/tmp/vantrel-fuzz-XXXXXX";
        FUZZ_CHECK(mkdtemp(pattern) != nullptr);
        folder = pattern;
        program = folder + "/vantrel";
        FILE* config = std::fopen((program + ".cfg").c_str(), "w");
        FUZZ_CHECK(config != nullptr);
        std::fputs("pkcs11Library=/nonexistent/vantrel-fuzz/no-module.so\n", config);
        std::fclose(config);
    }
    ~HostSetup() {
        std::remove((program + ".cfg").c_str());
        rmdir(folder.c_str());
    }
    const std::string& programPath() const { return program; }

  private:
    std::string folder;
    std::string program;
};

int memoryFile(const uint8_t* data, size_t size) {
    int fd = memfd_create("vantrel-fuzz", 0);
    FUZZ_CHECK(fd >= 0);
    size_t written = 0;
    while (written < size) {
        ssize_t count = write(fd, data + written, size - written);
        FUZZ_CHECK(count > 0);
        written += static_cast<size_t>(count);
    }
    FUZZ_CHECK(lseek(fd, 0, SEEK_SET) == 0);
    return fd;
}

std::string readBack(int fd) {
    FUZZ_CHECK(lseek(fd, 0, SEEK_SET) == 0);
    std::string bytes;
    char chunk[65536];
    for (;;) {
        ssize_t count = read(fd, chunk, sizeof(chunk));
        FUZZ_CHECK(count >= 0);
        if (count == 0) {
            return bytes;
        }
        bytes.append(chunk, static_cast<size_t>(count));
    }
}

uint32_t prefixAt(const std::string& bytes, size_t pos) {
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        length |= uint32_t{static_cast<unsigned char>(bytes[pos + i])} << (8 * i);
    }
    return length;
}

// The complete frames at the start of a stream, as the host reads them.
std::vector<std::string> leadingFrames(const std::string& bytes) {
    std::vector<std::string> frames;
    size_t pos = 0;
    while (bytes.size() - pos >= 4) {
        uint32_t length = prefixAt(bytes, pos);
        if (length == UINT32_MAX || bytes.size() - pos - 4 < length) {
            break;
        }
        frames.push_back(bytes.substr(pos + 4, length));
        pos += 4 + size_t{length};
    }
    return frames;
}

// Masking takes the names in letters of either case.
bool isPinKey(const std::string& key) {
    for (const char* pinKey : kPinKeys) {
        if (key.size() == std::strlen(pinKey) &&
            strncasecmp(key.c_str(), pinKey, key.size()) == 0) {
            return true;
        }
    }
    return false;
}

// True when `masked` is `original` with every non-empty string under a PIN key
// replaced by the mask, at any depth, and nothing else changed.
bool maskedCopyOf(JsonValue* original, JsonValue* masked) {
    if (auto* object = dynamic_cast<JsonObject*>(original)) {
        auto* other = dynamic_cast<JsonObject*>(masked);
        if (other == nullptr || other->getMembers().size() != object->getMembers().size()) {
            return false;
        }
        for (const auto& [key, value] : object->getMembers()) {
            JsonValue* maskedValue = other->get(key);
            if (maskedValue == nullptr) {
                return false;
            }
            auto* text = dynamic_cast<JsonString*>(value);
            if (isPinKey(key) && text != nullptr && !text->getValue().empty()) {
                auto* maskedText = dynamic_cast<JsonString*>(maskedValue);
                if (maskedText == nullptr || maskedText->getValue() != "********") {
                    return false;
                }
            } else if (!maskedCopyOf(value, maskedValue)) {
                return false;
            }
        }
        return true;
    }
    if (auto* list = dynamic_cast<JsonList*>(original)) {
        auto* other = dynamic_cast<JsonList*>(masked);
        if (other == nullptr || other->getElements().size() != list->getElements().size()) {
            return false;
        }
        for (size_t i = 0; i < list->getElements().size(); ++i) {
            if (!maskedCopyOf(list->getElements()[i], other->getElements()[i])) {
                return false;
            }
        }
        return true;
    }
    if (auto* text = dynamic_cast<JsonString*>(original)) {
        auto* other = dynamic_cast<JsonString*>(masked);
        return other != nullptr && other->getValue() == text->getValue();
    }
    if (auto* number = dynamic_cast<JsonNumber*>(original)) {
        auto* other = dynamic_cast<JsonNumber*>(masked);
        if (other == nullptr) {
            return false;
        }
        // Bit for bit, so that a NaN read from the text equals itself.
        double mine = number->getValue();
        double theirs = other->getValue();
        return std::memcmp(&mine, &theirs, sizeof(double)) == 0;
    }
    if (auto* boolean = dynamic_cast<JsonBoolean*>(original)) {
        auto* other = dynamic_cast<JsonBoolean*>(masked);
        return other != nullptr && other->getValue() == boolean->getValue();
    }
    return dynamic_cast<JsonNull*>(masked) != nullptr;
}

struct ExpectedReply {
    std::string action;
    std::string port;
};

// What the loop must answer: one reply per leading frame that parses and
// decodes, in order, and nothing after the first one that does not. Checks
// the logged form of each parsed request on the way.
std::vector<ExpectedReply> expectedReplies(const std::string& input) {
    static JsonObjectParserFactory factory;
    std::vector<ExpectedReply> expected;
    for (std::string text : leadingFrames(input)) {
        compactJson(text);
        ParseResultPtr<JsonValue> parsed = parseJsonObject(factory, text);
        if (!parsed->isSuccess()) {
            break;
        }
        auto& request = static_cast<JsonObject&>(*parsed->getValue());
        ParseResultPtr<JsonValue> masked = parseJsonObject(factory, maskPins(text));
        if (masked->isSuccess()) {
            FUZZ_CHECK(maskedCopyOf(&request, masked->getValue()));
        } else {
            // A PIN key whose value is a bare scalar, a list or an object (a
            // repeated key's too, which the tree does not keep) is masked as
            // bare text, which leaves the logged copy unparseable; nothing
            // else may.
            FUZZ_CHECK(maskPins(text).find(":********") != std::string::npos);
        }
        try {
            RequestFactory().createRequest(request);
        } catch (const RequestException&) {
            break;
        }
        auto* action = static_cast<JsonString*>(request.get("action"));
        auto* port = dynamic_cast<JsonString*>(request.get("port"));
        expected.push_back({action->getValue(), port != nullptr ? port->getValue() : ""});
    }
    return expected;
}

void checkReplies(const std::string& output, const std::vector<ExpectedReply>& expected) {
    size_t pos = 0;
    size_t count = 0;
    while (pos < output.size()) {
        FUZZ_CHECK(output.size() - pos >= 4);
        uint32_t length = prefixAt(output, pos);
        FUZZ_CHECK(output.size() - pos - 4 >= length);
        std::string reply = output.substr(pos + 4, length);
        pos += 4 + size_t{length};

        FUZZ_CHECK(fuzz::isValidUtf8(reply));
        nlohmann::json json = nlohmann::json::parse(reply, nullptr, false);
        FUZZ_CHECK(!json.is_discarded());
        FUZZ_CHECK(json.is_object());
        FUZZ_CHECK(count < expected.size());
        const ExpectedReply& request = expected[count++];
        FUZZ_CHECK(json.value("action", "") == request.action);
        if (request.port.empty()) {
            FUZZ_CHECK(!json.contains("port"));
        } else if (fuzz::isValidUtf8(request.port)) {
            FUZZ_CHECK(json.value("port", "") == request.port);
        }
        // Without a module every action fails, each in its own reply form.
        FUZZ_CHECK(json.contains("error") && json["error"].is_string());
        FUZZ_CHECK(!json["error"].get<std::string>().empty());
    }
    FUZZ_CHECK(count == expected.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static HostSetup setup;
    std::string input(reinterpret_cast<const char*>(data), size);
    int inputFd = memoryFile(data, size);
    int outputFd = memoryFile(nullptr, 0);
    {
        VantrelApp app(std::make_unique<HostConfig>(setup.programPath()), inputFd, outputFd);
        FUZZ_CHECK(app.run() == 0);
    }
    std::string output = readBack(outputFd);
    close(inputFd);
    close(outputFd);
    checkReplies(output, expectedReplies(input));
    return 0;
}
