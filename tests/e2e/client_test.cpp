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
    ChildProcess client(clientArguments({"--echo", "-", kSelect}));
    ASSERT_TRUE(client.write(loginRequest + "\n"));
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
        "{ \"action\" : \"login\" ,\t \"tokenSN\" : \"a b\" , \"pin\" : \"secret-pin\" }";
    ChildProcess client(clientArguments({"--echo"}));
    ASSERT_TRUE(client.write(loginRequest + "\n"));
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

// A request that does not parse is shown as the host logs it: from its first
// PIN name on, "********".
TEST_F(ClientTest, EchoesAMistypedRequestHiddenFromItsFirstPinName) {
    ChildProcess client(clientArguments({"--echo"}));
    ASSERT_TRUE(client.write("{'action':'login','tokenSN':'ab', 'pin':'SECRET30'}\n"));
    EXPECT_EQ(client.wait(), 1);
    EXPECT_EQ(client.readAllOutput(), "> {'action':'login','tokenSN':'ab','********\n");
    EXPECT_EQ(client.errorText().find("SECRET30"), std::string::npos) << client.errorText();
}

// Every user of the machine can read a program's arguments in the process
// list: a request with a PIN among them is refused before anything is sent,
// with the way to give it on standard input.
TEST_F(ClientTest, RefusesAnArgumentThatHoldsAPin) {
    const std::string arguments[] = {
        R"({"action":"login","tokenSN":"ab","pin":"SECRET41"})",
        R"({ "action" : "login", "pin" : "SECRET42" })",
        R"({"action":"login","PIN":"SECRET43"})",
        R"({"action":"login","p\u0069n":"SECRET44"})",
        R"({"action":"formatToken","tokenSN":"ab","adminPIN":51234567})",
        R"({"action":"changePIN","oldPIN":["SECRET45"],"newPIN":"SECRET46"})",
        R"({'action':'login','pin':'SECRET47'})",
        R"({action:"login",tokenPIN:"SECRET48")",
    };
    for (const std::string& argument : arguments) {
        SCOPED_TRACE(argument);
        ChildProcess client(clientArguments({kInfo, argument}));
        EXPECT_EQ(client.wait(), 2);
        EXPECT_EQ(client.readAllOutput(), "");
        const std::string errors = client.errorText();
        EXPECT_EQ(errors.rfind("vantrel-client: refusing the request ", 0), 0) << errors;
        EXPECT_NE(errors.find("********"), std::string::npos) << errors;
        EXPECT_NE(errors.find("  read -rs -p 'PIN: ' pin && echo\n"), std::string::npos) << errors;
        EXPECT_NE(errors.find("\"$pin\" | vantrel-client -\n"), std::string::npos) << errors;
        // Nor was the host started.
        EXPECT_EQ(errors.find("End of input"), std::string::npos) << errors;
        for (const char* secret : {"SECRET", "51234567"}) {
            EXPECT_EQ(errors.find(secret), std::string::npos) << errors;
        }
    }
}

// An empty PIN hides nothing (a reader's keypad takes the PIN), nor does the
// name of a PIN member inside a value.
TEST_F(ClientTest, AcceptsArgumentsWithoutAPinValue) {
    ChildProcess client(clientArguments(
        {R"({"action":"login","tokenSN":"ab","pin":""})", R"({"action":"info","port":"pin"})"}));
    EXPECT_EQ(client.wait(), 0) << client.errorText();
    EXPECT_EQ(client.readAllOutput(),
              R"({"action":"login","error":"No token with serial number ab","tokenSN":"ab"})"
              "\n" +
                  infoReply().substr(0, infoReply().size() - 1) + R"(,"port":"pin"})" + "\n");
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
