// vantrel.exe started as a browser starts it: the full path as program name,
// standard input and output as pipes, no module to load.
#include <gtest/gtest.h>

#include <cstring>

#include "support/host_folder.h"

namespace {

const std::string kNoTokenInfo =
    R"({"action":"info","driver":"None","error":"There is no active token","host":"1.4")";

std::string infoReply(const std::string& escapedPort) {
    return kNoTokenInfo + R"(,"port":")" + escapedPort + "\"}";
}

// An info request of exactly `length` bytes: CR LF pairs between the tokens
// make up the difference.
std::string infoRequest(const std::string& portText, size_t length) {
    const std::string members = R"("action":"info","port":")" + portText + "\"}";
    std::string padding;
    while (1 + padding.size() + members.size() < length) {
        padding += 1 + padding.size() + members.size() + 1 == length ? " " : "\r\n";
    }
    return "{" + padding + members;
}

std::string prefixOf(const std::string& frameBytes) {
    return frameBytes.substr(0, 4);
}

}  // namespace

TEST(WindowsHost, InfoWithoutAModuleReportsNoDriver) {
    HostFolder host;
    ProcessResult result = host.exchange({R"({"action": "info", "port": "p1"})"});
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.out, frame(infoReply("p1")));
    EXPECT_EQ(result.err, "Error loading eTPKCS11.dllFailed to initialise PKCS11End of input");
}

TEST(WindowsHost, ControlBytesInLengthPrefixesCrossBothWaysUnchanged) {
    // Prefix 1A 00 00 00: in text mode 0x1A would end the input.
    const std::string first = R"({"action":"info")" + std::string(9, ' ') + "}";
    ASSERT_EQ(first.size(), 0x1Au);
    // Prefix 0D 0A 00 00, CR LF pairs between the tokens, a raw 0x1A and
    // escaped control characters in the port.
    const std::string port =
        "\x1a"
        R"(\n\r\u001a)";
    const std::string escapedPort = R"(\u001a\n\r\u001a)";
    const std::string second = infoRequest(port + "x", 0x0A0D);
    // Prefix 0A 0D 1A 00, answered by a reply with prefix 1A 0D 0A 00.
    const size_t replyLength = 0x000A0D1A;
    const std::string filler(replyLength - infoReply(escapedPort).size(), 'f');
    const std::string third = infoRequest(port + filler, 0x001A0D0A);
    const std::string replies[] = {kNoTokenInfo + "}", infoReply(escapedPort + "x"),
                                   infoReply(escapedPort + filler)};
    ASSERT_EQ(prefixOf(frame(second)), std::string("\x0d\x0a\0\0", 4));
    ASSERT_EQ(prefixOf(frame(third)), std::string("\x0a\x0d\x1a\0", 4));
    ASSERT_EQ(prefixOf(frame(replies[2])), std::string("\x1a\x0d\x0a\0", 4));

    HostFolder host;
    ProcessResult result = host.run(frame(first) + frame(second) + frame(third));
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    std::vector<std::string> got = unframe(result.out);
    ASSERT_EQ(got.size(), 3u) << result.err;
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(got[i].size(), replies[i].size()) << "reply " << i;
        EXPECT_TRUE(got[i] == replies[i]) << "reply " << i << " differs";
    }
    EXPECT_EQ(result.out, frame(replies[0]) + frame(replies[1]) + frame(replies[2]));
    EXPECT_EQ(result.err, "Error loading eTPKCS11.dllFailed to initialise PKCS11End of input");
}

TEST(WindowsHost, TwoHundredLevelsOfNestingAreServedAndOneMoreEndsTheHost) {
    auto nested = [](size_t levels) {
        return R"({"action":"info","x":)" + std::string(levels - 1, '[') +
               std::string(levels - 1, ']') + "}";
    };
    HostFolder host;
    ProcessResult result =
        host.exchange({nested(200), nested(201), R"({"action":"info","port":"late"})"});
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(replies(result), std::vector<std::string>{kNoTokenInfo + "}"});
    EXPECT_NE(result.err.find("Failed to parse request: " + nested(201)), std::string::npos)
        << result.err;
}

TEST(WindowsHost, InputEndingInsideAPrefixEndsTheHostQuietly) {
    HostFolder host;
    ProcessResult result = host.run(frame(R"({"action":"info"})") + std::string("\x10\x00", 2));
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.out, frame(kNoTokenInfo + "}"));
    // Standard error is a text stream: its line feed arrives as CR LF.
    EXPECT_EQ(result.err, std::string("Error loading eTPKCS11.dllFailed to initialise PKCS11") +
                              "End of input " + std::strerror(0) + "\r\nEnd of input");
}
