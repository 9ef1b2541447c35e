// The built host against what a hostile page can make the browser send:
// random bytes, every length prefix, an exchange cut at every byte, deep
// nesting, a huge payload and a certificate with each byte changed. Whatever
// arrives, the host must write nothing but well-formed reply frames, exit with
// status 0 in bounded time, stay within 4 times the bytes it received plus
// 64 MiB of memory, leak nothing (the sanitizer build's LeakSanitizer turns a
// leak into a non-zero exit status) and never write a PIN anywhere (the
// harness looks for the PINs it sent in the logs and on standard error).
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "der/base64.h"
#include "support/case_name.h"
#include "support/crypto.h"
#include "support/host_process.h"
#include "support/pipe.h"
#include "support/pkcs11_client.h"
#include "support/softhsm.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
// Shadow memory makes the resident size meaningless, and everything is slower.
constexpr bool kMeasureMemory = false;
constexpr std::chrono::milliseconds kDeadline{180000};
#else
constexpr bool kMeasureMemory = true;
constexpr std::chrono::milliseconds kDeadline{60000};
#endif

constexpr long kMiB = 1024 * 1024;

std::string prefix(uint32_t length) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) {
        bytes[static_cast<size_t>(i)] = static_cast<char>((length >> (8 * i)) & 0xFF);
    }
    return bytes;
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// What one host made of one input.
struct Outcome {
    int status = -1;
    std::vector<std::string> replies;
    std::string errors;
    long peakKiB = 0;
};

class HostileStreamTest : public ::testing::Test {
  protected:
    HostSettings settings() const {
        HostSettings result;
        result.pkcs11Library = SoftHsm::modulePath();
        return result;
    }

    // Starts a host. Its peak memory as the system reports it is at least
    // this process's peak when it started (the spawn shares this process's
    // memory until the host's program is loaded), so large inputs are made
    // only after the host is running, and a peak no larger than this
    // process's own says nothing about the host.
    HostProcess& start(const HostSettings& hostSettings) {
        ownPeakAtStartKiB = ownPeakKiB();
        host.emplace(hostSettings);
        return *host;
    }
    HostProcess& start() { return start(settings()); }

    // Sends the bytes as they stand, then ends the input the way a browser
    // that goes away does, and collects what came back.
    Outcome feed(const std::string& bytes) {
        start();
        return send(bytes);
    }
    Outcome send(const std::string& bytes) {
        // A host that stops reading early (a message that does not parse)
        // makes the rest of the write fail; that is allowed.
        host->send(bytes, kDeadline);
        return finish(bytes.size());
    }

    Outcome finish(size_t received) {
        Outcome run;
        run.status = host->stop(kDeadline);
        run.errors = host->errorText();
        run.peakKiB = host->process().peakMemoryKiB();
        run.replies = framesOf(host->process().pendingOutput());
        EXPECT_EQ(run.status, 0) << run.errors;
        long bound = 4 * static_cast<long>(received) + 64 * kMiB;
        if (kMeasureMemory && run.peakKiB * 1024 > bound) {
            if (run.peakKiB <= ownPeakAtStartKiB + 4 * 1024) {
                std::cout << "[ memory   ] not measured: this process had reached "
                          << ownPeakAtStartKiB << " KiB before it started the host\n";
            } else {
                ADD_FAILURE() << "peak " << run.peakKiB << " KiB after " << received << " bytes";
            }
        }
        // Looks for the PINs it was sent in the log folder and on standard error.
        host.reset();
        return run;
    }

    static long ownPeakKiB() {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("VmHWM:", 0) == 0) {
                return std::stol(line.substr(6));
            }
        }
        return 0;
    }

    // The reply frames of an output, checking that it is nothing else: every
    // frame complete and a JSON object in valid UTF-8 with an action.
    static std::vector<std::string> framesOf(const std::string& output) {
        std::vector<std::string> frames;
        size_t pos = 0;
        while (pos < output.size()) {
            if (output.size() - pos < 4) {
                ADD_FAILURE() << "output ends inside a length prefix";
                break;
            }
            uint32_t length = 0;
            for (int i = 3; i >= 0; --i) {
                length = (length << 8) | static_cast<unsigned char>(output[pos + i]);
            }
            if (output.size() - pos - 4 < length) {
                ADD_FAILURE() << "output ends inside a frame of " << length << " bytes";
                break;
            }
            std::string text = output.substr(pos + 4, length);
            nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
            EXPECT_TRUE(json.is_object() && json.contains("action")) << text;
            frames.push_back(text);
            pos += 4 + length;
        }
        return frames;
    }

    SoftHsm hsm;
    std::optional<HostProcess> host;
    long ownPeakAtStartKiB = 0;
};

TEST_F(HostileStreamTest, RandomBytesEndTheHostCleanly) {
    std::mt19937 random(20240611);
    for (int i = 0; i < 24; ++i) {
        std::string bytes(random() % 4096, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(random());
        }
        // Half the streams are one frame around the random bytes, so that
        // they reach the JSON grammar instead of announcing a huge message.
        if (i % 2 == 1) {
            bytes = prefix(static_cast<uint32_t>(bytes.size())) + bytes;
        }
        SCOPED_TRACE("stream " + std::to_string(i));
        Outcome run = feed(bytes);
        EXPECT_TRUE(run.replies.empty());
    }
}

TEST_F(HostileStreamTest, EveryLengthPrefixIsReadOrRefused) {
    const std::string request = R"({"action":"selectCertificate","forceLogon":true})";
    const std::string reply = R"({"action":"selectCertificate","error":"Not Implemented"})";
    const std::string cutShort = "End of input Success\nEnd of input";
    struct Case {
        uint32_t length;
        std::string body;
        size_t replies;
        std::string lastLines;
    };
    const std::vector<Case> cases = {
        {0, "", 0, "Failed to parse request: "},
        {1, "{", 0, "Failed to parse request: {"},
        {3, "{}x", 0, "Error while processing request - Missing request 'action' property"},
        {static_cast<uint32_t>(request.size()), request, 1, "End of input"},
        {static_cast<uint32_t>(request.size() + 1), request, 0, cutShort},
        {0x80, request, 0, cutShort},
        {0xFFFF, request, 0, cutShort},
        {0x10000, request, 0, cutShort},
        {0xFFFFFF, request, 0, cutShort},
        {0x7FFFFFFF, request, 0, cutShort},
        {0x80000000, request, 0, cutShort},
        {0xFFFFFFFE, request, 0, cutShort},
        // The message and its NUL would not fit in 32 bits.
        {0xFFFFFFFF, request, 0,
         "Error while processing request - Unable to allocate memory for NMP input message"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.length));
        Outcome run = feed(prefix(c.length) + c.body);
        EXPECT_EQ(run.replies.size(), c.replies);
        if (c.replies > 0) {
            EXPECT_EQ(run.replies[0], reply);
        }
        EXPECT_TRUE(endsWith(run.errors, c.lastLines)) << run.errors;
    }
    // Announcing far more than ever arrives must not make the host hold the
    // announced size.
    start();
    Outcome run = send(prefix(0xFFFFFFFE) + std::string(8 * kMiB, ' '));
    EXPECT_TRUE(run.replies.empty());
    EXPECT_TRUE(endsWith(run.errors, cutShort)) << run.errors;
}

TEST_F(HostileStreamTest, AnExchangeCutAtEveryByteEndsCleanly) {
    SoftHsmToken token = hsm.createToken("Cut token", "Cut-SO-4242", "Cut-Pin-2718");
    const std::vector<std::string> requests = {
        R"({"action":"login","tokenSN":")" + token.serial + R"(","pin":"Cut-Pin-2718"})",
        R"({"action":"info","port":"p1"})",
    };
    std::string stream;
    std::vector<size_t> ends;
    for (const std::string& request : requests) {
        stream += prefix(static_cast<uint32_t>(request.size())) + request;
        ends.push_back(stream.size());
    }
    Outcome whole = feed(stream);
    ASSERT_EQ(whole.replies.size(), requests.size());
    EXPECT_EQ(whole.replies[0], R"({"action":"login","tokenSN":")" + token.serial + "\"}");

    for (size_t cut = 0; cut < stream.size(); ++cut) {
        SCOPED_TRACE("cut after " + std::to_string(cut) + " bytes");
        Outcome run = feed(stream.substr(0, cut));
        size_t complete = 0;
        while (complete < ends.size() && ends[complete] <= cut) {
            ++complete;
        }
        EXPECT_EQ(run.replies, std::vector<std::string>(whole.replies.begin(),
                                                        whole.replies.begin() + complete));
        bool atBoundary = cut == 0 || (complete > 0 && ends[complete - 1] == cut);
        EXPECT_EQ(run.errors, atBoundary ? "End of input" : "End of input Success\nEnd of input");
    }
}

TEST_F(HostileStreamTest, DeepNestingIsRefusedWithoutAReply) {
    const size_t depth = 100000;
    const std::vector<std::string> requests = {
        R"({"action":"info","x":)" + std::string(depth, '[') + std::string(depth, ']') + "}",
        R"({"action":"info","x":)" + std::string(depth, '['),
        [&] {
            std::string objects;
            for (size_t i = 0; i < depth; ++i) {
                objects += R"({"a":)";
            }
            return R"({"action":"info","x":)" + objects + "1" + std::string(depth + 1, '}');
        }(),
        R"({"action":"sign","certificateSN":"01","payload":)" + std::string(depth, '[') +
            std::string(depth, ']') + "}",
    };
    for (const std::string& request : requests) {
        SCOPED_TRACE(request.substr(0, 40));
        Outcome run = feed(prefix(static_cast<uint32_t>(request.size())) + request);
        EXPECT_TRUE(run.replies.empty());
        EXPECT_NE(run.errors.find("Failed to parse request: "), std::string::npos);
    }
}

TEST_F(HostileStreamTest, RequestsFullOfEscapedQuotesAreLoggedInBoundedTime) {
    std::string escapedQuotes;
    for (int i = 0; i < 512 * 1024; ++i) {
        escapedQuotes += "\\\"";
    }
    const std::string login =
        R"({"action":"login","tokenSN":"none","pin":"Quote-Pin-31337","x":")" + escapedQuotes;
    // Logged in full with its PIN masked, then answered; and, cut short of
    // its closing brace, logged in the line that refuses it.
    const std::vector<std::pair<std::string, size_t>> cases = {{login + "\"}", 1},
                                                               {login + "\"", 0}};
    for (const auto& [request, replies] : cases) {
        Outcome run = feed(prefix(static_cast<uint32_t>(request.size())) + request);
        EXPECT_EQ(run.replies.size(), replies);
    }
}

TEST_F(HostileStreamTest, AWideListIsAnswered) {
    // Each element costs the parser far more than its two bytes; kept to a
    // size that stays within the memory bound.
    std::string elements;
    for (int i = 0; i < 30000; ++i) {
        elements += "1,";
    }
    elements.pop_back();
    std::string request =
        R"({"action":"selectCertificate","forceLogon":true,"x":[)" + elements + "]}";
    Outcome run = feed(prefix(static_cast<uint32_t>(request.size())) + request);
    EXPECT_EQ(run.replies, std::vector<std::string>{
                               R"({"action":"selectCertificate","error":"Not Implemented"})"});
}

TEST_F(HostileStreamTest, TwoHundredLevelsParseInAOneMebibyteStack) {
    // The request object is level 1.
    auto nested = [](size_t levels) {
        return R"({"action":"info","x":)" + std::string(levels - 1, '[') +
               std::string(levels - 1, ']') + "}";
    };
    const std::string module = SoftHsm::modulePath();
    const std::string reply = R"({"action":"info","driver":")" +
                              module.substr(module.rfind('/') + 1) +
                              R"(","error":"There is no active token","host":"1.4"})";
    rlimit original{};
    getrlimit(RLIMIT_STACK, &original);
    for (size_t levels : {200, 201}) {
        SCOPED_TRACE(std::to_string(levels) + " levels");
        std::string request = nested(levels);
        {
            // The host's main thread gets its stack size from this limit;
            // sanitizer builds need more for the same depth.
            rlimit small = original;
            small.rlim_cur = kMeasureMemory ? 1 * kMiB : 8 * kMiB;
            ASSERT_EQ(setrlimit(RLIMIT_STACK, &small), 0);
            start();
            setrlimit(RLIMIT_STACK, &original);
        }
        Outcome run = send(prefix(static_cast<uint32_t>(request.size())) + request);
        EXPECT_EQ(run.replies,
                  levels == 200 ? std::vector<std::string>{reply} : std::vector<std::string>{});
    }
}

TEST_F(HostileStreamTest, ASixtyFourMebibytePayloadIsAnswered) {
    start();
    std::string request = R"({"action":"sign","certificateSN":"0201","payload":")" +
                          std::string(64 * kMiB, 'A') + R"(","port":"big"})";
    Outcome run = send(prefix(static_cast<uint32_t>(request.size())) + request);
    EXPECT_EQ(
        run.replies,
        std::vector<std::string>{
            R"({"action":"sign","error":"Must login before being able to sign","port":"big"})"});
    if (kMeasureMemory) {
        std::cout << "[ peak     ] " << run.peakKiB / 1024 << " MiB for a " << request.size() / kMiB
                  << " MiB message\n";
    }
}

// A large member whose value goes back in the reply, or to the token. One
// host per test, so that each is measured from a small test process.
struct LargeMember {
    const char* name;
    std::string before;  // the request up to the member's value; {serial} is the token's
    char filler;
    std::string after;
    std::string replyStart;
};

void PrintTo(const LargeMember& c, std::ostream* out) {
    *out << c.name;
}

class LargeMemberTest : public HostileStreamTest,
                        public ::testing::WithParamInterface<LargeMember> {};

TEST_P(LargeMemberTest, SixtyFourMebibytesAreAnsweredWithinTheMemoryBound) {
    SoftHsmToken token = hsm.createToken("Large token", "Large-SO-9753", "Large-Pin-1597");
    const LargeMember& member = GetParam();
    HostSettings hostSettings = settings();
    // As installed: no log files.
    hostSettings.maxLogFiles = 0;
    start(hostSettings);
    std::string request = member.before;
    size_t at = request.find("{serial}");
    if (at != std::string::npos) {
        request.replace(at, 8, token.serial);
    }
    request += std::string(64 * kMiB, member.filler) + member.after;
    Outcome run = send(prefix(static_cast<uint32_t>(request.size())) + request);
    ASSERT_EQ(run.replies.size(), 1u);
    EXPECT_EQ(run.replies[0].compare(0, member.replyStart.size(), member.replyStart), 0)
        << run.replies[0].substr(0, 200);
}

INSTANTIATE_TEST_SUITE_P(
    Members, LargeMemberTest,
    ::testing::Values(
        LargeMember{"Port", R"({"action":"selectCertificate","forceLogon":true,"port":")", 'Q',
                    R"("})",
                    R"({"action":"selectCertificate","error":"Not Implemented","port":"QQQQ)"},
        LargeMember{"CertificateSerial", R"({"action":"deleteCertificate","certificateSN":")", 'c',
                    R"("})", R"({"action":"deleteCertificate","certificateSN":"cccc)"},
        // Echoed twice: as the reply's serial and inside its error text.
        LargeMember{"TokenSerial", R"({"action":"login","pin":"1","tokenSN":")", 'T', R"("})",
                    R"({"action":"login","error":"No token with serial number TTTT)"},
        LargeMember{"Pin", R"({"action":"login","tokenSN":"{serial}","pin":")", 'P', R"("})",
                    R"({"action":"login","error":")"},
        LargeMember{"SignedObject", R"({"action":"sign","certificateSN":"01","payload":{"a":")",
                    'S', R"("}})",
                    R"({"action":"sign","error":"Must login before being able to sign"})"}),
    PrintedCaseName());

TEST_F(HostileStreamTest, EveryByteOfAnImportedCertificateChangedInTurn) {
    SoftHsmToken token = hsm.createToken("Import token", "Imp-SO-1357", "Imp-Pin-8642");
    Bytes der;
    {
        Pkcs11Client client;
        Pkcs11Session session = client.openSession(token.slot);
        session.login(CKU_USER, token.userPin);
        KeyPair pair = session.generateRsaKeyPair(RsaKeyOptions({0x42}, 1024));
        TestCa ca;
        CertificateOptions options;
        options.subject = "/C=ZZ/O=JUX/CN=Changed Bytes";
        options.subjectAltName = "email:someone@example.com";
        der = ca.issueForKey(session.publicKey(pair.publicKey).get(), options);
    }
    start();
    size_t received = 0;
    auto ask = [&](const std::string& request) {
        received += request.size() + 4;
        return host->request(request);
    };
    ASSERT_EQ(ask(R"({"action":"login","tokenSN":")" + token.serial +
                  R"(","pin":"Imp-Pin-8642","mode":"write"})"),
              R"({"action":"login","tokenSN":")" + token.serial + "\"}");
    size_t imported = 0;
    for (size_t i = 0; i < der.size(); ++i) {
        for (unsigned char change : {0xFF}) {
            Bytes changed = der;
            changed[i] ^= change;
            std::string reply = ask(R"({"action":"importCertificate","certificate":")" +
                                    base64Encode(changed.data(), changed.size()) + "\"}");
            nlohmann::json json = nlohmann::json::parse(reply, nullptr, false);
            ASSERT_TRUE(json.is_object()) << "byte " << i << ": " << reply;
            EXPECT_EQ(json.value("action", ""), "importCertificate") << reply;
            imported += json.contains("error") ? 0 : 1;
        }
    }
    // Most changes keep the key's modulus and still parse somehow.
    EXPECT_GT(imported, 0u);
    EXPECT_EQ(ask(R"({"action":"info"})").find("\"error\""), std::string::npos);
    Outcome run = finish(received);
    EXPECT_TRUE(endsWith(run.errors, "End of input")) << run.errors;
}

}  // namespace
