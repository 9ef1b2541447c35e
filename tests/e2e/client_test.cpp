// vantrel-client, the command-line stand-in for a browser, driving a copy of
// the built host.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/host_fixture.h"

namespace e2e {
namespace {

const std::string kInfo = R"({"action":"info"})";
const std::string kSelect = R"({"action":"selectCertificate","forceLogon":true})";
const std::string kSelectReply = R"({"action":"selectCertificate","error":"Not Implemented"})";

class ClientTest : public ::testing::Test {
  protected:
    static HostSettings settings() {
        HostSettings settings;
        settings.pkcs11Library = SoftHsm::modulePath();
        return settings;
    }

    std::vector<std::string> clientArguments(const std::vector<std::string>& extra) {
        std::vector<std::string> arguments = {VANTREL_CLIENT_EXE, "--host", folder.executable()};
        arguments.insert(arguments.end(), extra.begin(), extra.end());
        return arguments;
    }

    std::string infoReply() const {
        return R"({"action":"info","driver":"libsofthsm2.so","error":"There is no active token","host":"1.4"})";
    }

    SoftHsm hsm;
    HostFolder folder{settings()};
};

TEST_F(ClientTest, PrintsTheReplyToEachArgument) {
    ChildProcess client(clientArguments({kInfo, kSelect}));
    EXPECT_EQ(client.wait(), 0) << client.errorText();
    EXPECT_EQ(client.readAllOutput(), infoReply() + "\n" + kSelectReply + "\n");
    EXPECT_EQ(client.errorText(), "End of input");
}

TEST_F(ClientTest, PrintsTheReplyToEachLineOfInputAndSkipsEmptyLines) {
    ChildProcess client(clientArguments({}));
    ASSERT_TRUE(client.write(kInfo + "\n\n" + kSelect + "\n"));
    EXPECT_EQ(client.wait(), 0) << client.errorText();
    EXPECT_EQ(client.readAllOutput(), infoReply() + "\n" + kSelectReply + "\n");
}

TEST_F(ClientTest, EchoesRequestsWithTheirPinsMasked) {
    const std::string loginRequest = R"({"action":"login","tokenSN":"ab","pin":"secret-pin"})";
    ChildProcess client(clientArguments({"--echo", loginRequest, kSelect}));
    EXPECT_EQ(client.wait(), 0) << client.errorText();
    EXPECT_EQ(client.readAllOutput(),
              "> {\"action\":\"login\",\"tokenSN\":\"ab\",\"pin\":\"********\"}\n"
              "< {\"action\":\"login\",\"error\":\"No token with serial number ab\","
              "\"tokenSN\":\"ab\"}\n"
              "> " +
                  kSelect + "\n< " + kSelectReply + "\n");
}

// Blanks around the colon used to hide the PIN key from the masking.
TEST_F(ClientTest, EchoesRequestsWithoutBlanksAndWithTheirPinsMasked) {
    const std::string loginRequest =
        "{ \"action\" : \"login\" ,\n \"tokenSN\" : \"a b\" , \"pin\" : \"secret-pin\" }";
    ChildProcess client(clientArguments({"--echo", loginRequest}));
    EXPECT_EQ(client.wait(), 0) << client.errorText();
    EXPECT_EQ(client.readAllOutput(),
              "> {\"action\":\"login\",\"tokenSN\":\"a b\",\"pin\":\"********\"}\n"
              "< {\"action\":\"login\",\"error\":\"No token with serial number a b\","
              "\"tokenSN\":\"a b\"}\n");
}

// "-" stands for the lines of standard input, where a PIN is out of sight of
// the process list.
TEST_F(ClientTest, ReadsTheLinesOfStandardInputWhereAnArgumentIsADash) {
    const std::string loginRequest = R"({"action":"login","tokenSN":"ab","pin":"secret-pin"})";
    ChildProcess client(clientArguments({kInfo, "-", kSelect}));
    ASSERT_TRUE(client.write(loginRequest + "\n\n"));
    EXPECT_EQ(client.wait(), 0) << client.errorText();
    EXPECT_EQ(client.readAllOutput(),
              infoReply() + "\n" +
                  R"({"action":"login","error":"No token with serial number ab","tokenSN":"ab"})" +
                  "\n" + kSelectReply + "\n");
}

TEST_F(ClientTest, FailsWhenTheHostStopsWithoutAnswering) {
    ChildProcess client(clientArguments({kSelect, R"({"action":"unknown"})", kInfo}));
    EXPECT_EQ(client.wait(), 1);
    // The reply that came is printed; the request after the fatal one is never sent.
    EXPECT_EQ(client.readAllOutput(), kSelectReply + "\n");
    EXPECT_TRUE(endsWith(client.errorText(),
                         "Error while processing request - Unknown 'action' value : unknown"
                         "vantrel-client: the host stopped without answering (exit status 0)\n"))
        << client.errorText();
}

TEST_F(ClientTest, FailsWhenTheHostCannotStart) {
    ChildProcess client({VANTREL_CLIENT_EXE, "--host", folder.path() + "/no-such-host", kInfo});
    EXPECT_EQ(client.wait(), 1);
    EXPECT_EQ(client.readAllOutput(), "");
    EXPECT_TRUE(endsWith(client.errorText(),
                         "vantrel-client: the host stopped without answering (exit status 127)\n"))
        << client.errorText();
}

}  // namespace
}  // namespace e2e
