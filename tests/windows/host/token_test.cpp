// vantrel.exe with the stub PKCS#11 module (tests/windows/stub_pkcs11), loaded
// through LoadLibraryA as eTPKCS11.dll beside the program or from the path
// that the configuration names. The 32-bit build runs it with the 32-bit
// module, so the token's structures cross in their packed 32-bit layout.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/host_folder.h"
#include "support/stub_token.h"

namespace {

const std::string& kInfo = kInfoRequest;
const std::string& kNoTokenInfo = kStubNoTokenInfo;
const std::string kLoggedInInfo =
    R"({"action":"info","driver":"eTPKCS11.dll","host":"1.4","model":"StubModel-16char",)"
    R"("pmax":-1.000000,"pmin":4.000000,"token":"5717B00C"})";
const std::string kLoggedIn = R"({"action":"login","tokenSN":"5717B00C"})";

std::string login(const std::string& pinJson, const std::string& tokenSN = "5717B00C") {
    return R"({"action":"login","pin":")" + pinJson + R"(","tokenSN":")" + tokenSN + "\"}";
}

std::string loginError(const std::string& error, const std::string& tokenSN = "5717B00C") {
    return R"({"action":"login","error":")" + error + R"(","tokenSN":")" + tokenSN + "\"}";
}

struct Step {
    std::string request;
    std::string reply;
};

void expectConversation(const HostFolder& host, const std::vector<Step>& steps) {
    std::vector<std::string> requests;
    for (const Step& step : steps) {
        requests.push_back(step.request);
    }
    ProcessResult result = host.exchange(requests);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);
    EXPECT_EQ(result.err, "End of input");
    std::vector<std::string> got = replies(result);
    ASSERT_EQ(got.size(), steps.size()) << result.err;
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(got[i], steps[i].reply) << "request " << i << ": " << steps[i].request;
    }
}

}  // namespace

TEST(WindowsHostToken, InfoAndListTokensDescribeTheTokenOfTheModule) {
    HostFolder host;
    host.addStubModule();
    expectConversation(host, {{kInfo, kNoTokenInfo}, {kListTokensRequest, kStubTokenList}});
}

// The module allows one open session at a time: a session left open after a
// failed login would make every later login fail with CKR_SESSION_COUNT (177).
TEST(WindowsHostToken, LoginAnswersEachPinErrorWithItsMessageAndKeepsServing) {
    HostFolder host;
    host.addStubModule();
    expectConversation(
        host, {
                  {login("2222"), loginError("Incorrect PIN  (rc=160)")},
                  {login("3333"), loginError("Invalid PIN (rc=161)")},
                  {login("4444"), loginError("Invaliod PIN length (rc=162)")},
                  {login("5555"), loginError("Expired PIN (rc=163)")},
                  {login("6666"), loginError("Locked PIN (rc=164)")},
                  {login("7777"), loginError("Already logged-in (rc=256)")},
                  {login("8888"), loginError("PIN is not initialised (rc=258)")},
                  {login("9999"), loginError("Login failed (rc=48)")},
                  // The whole PIN reaches the module, NUL and all.
                  {login(R"(1111\u0000)"), loginError("Incorrect PIN  (rc=160)")},
                  {login("1111", "NOPE"), loginError("No token with serial number NOPE", "NOPE")},
                  {kInfo, kNoTokenInfo},
                  {login("1111"), kLoggedIn},
                  {kInfo, kLoggedInInfo},
                  // The first login's session is closed before the second opens.
                  {login("1111"), kLoggedIn},
                  {kInfo, kLoggedInInfo},
                  {login("2222"), loginError("Incorrect PIN  (rc=160)")},
                  {kInfo, kNoTokenInfo},
              });
}

TEST(WindowsHostToken, AConfiguredModuleIsLoadedFromItsPathAndNamedByItsFileName) {
    struct Case {
        const char* relativePath;
        bool present;
        const char* driver;
    } cases[] = {
        {"modules\\stub-pkcs11.dll", true, "stub-pkcs11.dll"},
        {"modules/stub-pkcs11.dll", true, "stub-pkcs11.dll"},
        {"modules\\missing.dll", false, "None"},
    };
    for (const Case& c : cases) {
        HostFolder host;
        ASSERT_TRUE(CreateDirectoryA(host.files().file("modules").c_str(), nullptr));
        if (c.present) {
            host.addStubModule("modules\\stub-pkcs11.dll");
        }
        const std::string module = host.files().path() + "\\" + c.relativePath;
        host.writeConfig("pkcs11Library=" + module + "\r\n");
        ProcessResult result = host.exchange({kInfo});
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(replies(result), std::vector<std::string>{R"({"action":"info","driver":")" +
                                                            std::string(c.driver) +
                                                            R"(","error":"There is no active )"
                                                            R"(token","host":"1.4"})"})
            << c.relativePath;
        EXPECT_EQ(result.err,
                  c.present ? "End of input"
                            : "Error loading " + module + "Failed to initialise PKCS11End of input")
            << c.relativePath;
    }
}
