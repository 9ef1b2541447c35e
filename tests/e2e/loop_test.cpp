// The request loop as a browser meets it: framing on the pipes, the order of
// replies, how the host stops and what it says on standard error, the module
// failing to load, and a reader that goes away.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e/host_fixture.h"
#include "support/case_name.h"
#include "support/pipe.h"

namespace e2e {
namespace {

std::string moduleFileName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

class LoopTest : public HostTest {};

TEST_F(LoopTest, AnswersTheInfoTraceWithItsExactBytes) {
    start(Module::SoftHsm);
    std::string request = "{\"action\": \"info\", \"port\": \"p1\"}";
    ASSERT_EQ(request.size(), 0x20u);
    ASSERT_TRUE(host->send(std::string("\x20\x00\x00\x00", 4) + request));

    std::string reply = R"({"action":"info","driver":")" + moduleFileName(SoftHsm::modulePath()) +
                        R"(","error":"There is no active token","host":"1.4","port":"p1"})";
    std::string prefix = {static_cast<char>(reply.size()), 0, 0, 0};
    EXPECT_EQ(host->process().readOutput(4 + reply.size()), prefix + reply);
    EXPECT_EQ(host->process().pendingOutput(), "");
}

TEST_F(LoopTest, EchoesANonEmptyPortOnly) {
    start(Module::SoftHsm);
    struct Case {
        std::string request;
        std::string reply;
    };
    const std::vector<Case> cases = {
        {R"({"action":"selectCertificate","forceLogon":true})",
         R"({"action":"selectCertificate","error":"Not Implemented"})"},
        {R"({"action":"selectCertificate","forceLogon":true,"port":""})",
         R"({"action":"selectCertificate","error":"Not Implemented"})"},
        {R"({"port":"tab-7","action":"selectCertificate","forceLogon":false})",
         R"({"action":"selectCertificate","error":"Not Implemented","port":"tab-7"})"},
        // The echo is escaped, so the reply stays valid JSON.
        {R"({"action":"selectCertificate","forceLogon":true,"port":"a \"b\" \\ c"})",
         R"({"action":"selectCertificate","error":"Not Implemented","port":"a \"b\" \\ c"})"},
        // Whitespace inside the port survives the compaction of the request.
        {"{ \"action\" : \"selectCertificate\" ,\n \"forceLogon\" : true, \"port\" : \" p 1 \" }",
         R"({"action":"selectCertificate","error":"Not Implemented","port":" p 1 "})"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ask(c.request), c.reply) << c.request;
    }
}

TEST_F(LoopTest, IgnoresWhatFollowsTheObjectOrANulByte) {
    start(Module::SoftHsm);
    const std::string reply = R"({"action":"selectCertificate","error":"Not Implemented"})";
    EXPECT_EQ(ask(std::string(R"({"action":"selectCertificate","forceLogon":true})") +
                  std::string("\0{\"action\":\"Sign\"}", 18)),
              reply);
    EXPECT_EQ(ask(R"({"action":"selectCertificate","forceLogon":true} trailing [)"), reply);
}

TEST_F(LoopTest, AnswersTwoMessagesOfOneWriteInOrder) {
    start(Module::SoftHsm);
    ASSERT_TRUE(
        host->send(frame(R"({"action":"info","port":"first"})") +
                   frame(R"({"action":"selectCertificate","forceLogon":true,"port":"second"})")));
    std::string driver = moduleFileName(SoftHsm::modulePath());
    EXPECT_EQ(host->readFrame(),
              R"({"action":"info","driver":")" + driver +
                  R"(","error":"There is no active token","host":"1.4","port":"first"})");
    EXPECT_EQ(host->readFrame(),
              R"({"action":"selectCertificate","error":"Not Implemented","port":"second"})");
}

struct StopCase {
    const char* name;
    std::string input;
    std::string stderrText;
    // Whether a request may follow the input on the wire (not after a cut one).
    bool thenARequest = true;
};

// Test names and failure messages show the case's name, not its bytes.
void PrintTo(const StopCase& c, std::ostream* out) {
    *out << c.name;
}

class LoopStop : public HostTest, public ::testing::WithParamInterface<StopCase> {};

// Whatever ends the loop, nothing reaches standard output (a frame sent after
// the fatal one is never answered) and the exit status is 0.
TEST_P(LoopStop, EndsWithoutReplyAndExitsZero) {
    start(Module::SoftHsm);
    std::string unanswered = GetParam().thenARequest ? frame(R"({"action":"info"})") : "";
    host->send(GetParam().input + unanswered);
    EXPECT_EQ(host->stop(), 0);
    EXPECT_EQ(host->process().readAllOutput(), "");
    EXPECT_EQ(host->errorText(), GetParam().stderrText);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, LoopStop,
    ::testing::Values(
        StopCase{"ClosedAtOnce", "", "End of input", false},
        StopCase{"CutPrefix", std::string("\x05\x00", 2), "End of input Success\nEnd of input",
                 false},
        StopCase{"CutBody", std::string("\x10\x00\x00\x00{\"action\"", 14),
                 "End of input Success\nEnd of input", false},
        StopCase{"UnknownAction", frame(R"({"action":"Sign"})"),
                 "Error while processing request - Unknown 'action' value : Sign"},
        StopCase{"ActionNotAString", frame(R"({"action":5})"),
                 "Error while processing request - Invalid 'action' property type"},
        StopCase{"PortNotAString", frame(R"({"action":"listTokens","port":7})"),
                 "Error while processing request - Expected JSON object string property port "
                 "but got something else"},
        StopCase{"NotAnObject", frame("[1]"), "Failed to parse request: [1]"},
        StopCase{"EmptyMessage", frame(""), "Failed to parse request: "},
        StopCase{"MalformedJson", frame("{ \"action\" : info }"),
                 "Failed to parse request: {\"action\":info}"}),
    PrintedCaseName());

struct LoadFailure {
    const char* name;
    std::string library;  // the configured module; empty: the built-in default
    std::string driver;
    std::string stderrAtStart;
};

void PrintTo(const LoadFailure& c, std::ostream* out) {
    *out << c.name;
}

class ModuleLoadFailure : public HostTest, public ::testing::WithParamInterface<LoadFailure> {};

TEST_P(ModuleLoadFailure, IsReportedAndTheLoopStillAnswers) {
    HostSettings settings;
    settings.pkcs11Library = GetParam().library;
    start(settings);
    EXPECT_EQ(ask(R"({"action":"info","port":"p1"})"),
              R"({"action":"info","driver":")" + GetParam().driver +
                  R"(","error":"There is no active token","host":"1.4","port":"p1"})");
    EXPECT_EQ(ask(R"({"action":"listTokens"})"),
              R"({"action":"listTokens","error":"Failed to initalise PKCS11 API"})");
    EXPECT_EQ(host->stop(), 0);
    EXPECT_EQ(host->errorText(),
              GetParam().stderrAtStart + "Failed to initialise PKCS11End of input");
}

INSTANTIATE_TEST_SUITE_P(
    Modules, ModuleLoadFailure,
    ::testing::Values(LoadFailure{"DefaultModuleMissing", "", "None",
                                  "Error loading libeTPKCS11.so"},
                      LoadFailure{"ConfiguredModuleMissing", "/nonexistent/libmissing-pkcs11.so",
                                  "None", "Error loading /nonexistent/libmissing-pkcs11.so"},
                      // A library that is not a PKCS#11 module is released again.
                      LoadFailure{"NotAPkcs11Module", "libz.so.1", "None",
                                  "Error retrieving C_GetFunctionList PKCS11 DLL entry point"}),
    PrintedCaseName());

// Started through PATH, the host's argv[0] is a bare name; it still finds the
// configuration beside its executable (else it would try its default module).
TEST_F(LoopTest, FindsItsConfigurationWhenStartedByBareName) {
    HostSettings settings = settingsFor(Module::SoftHsm);
    settings.argv0 = "vantrel";
    start(settings);
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"libsofthsm2.so","error":"There is no active token","host":"1.4"})");
}

// A module that refuses to start (NSS's softoken without its arguments) is
// not loaded: no call reaches it, and the page hears that, not "no tokens".
TEST_F(LoopTest, ModuleThatFailsToInitialiseIsNotLoaded) {
    fault.setRules("fail C_Initialize CKR_ARGUMENTS_BAD\n");
    start(Module::Fault);
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"None","error":"There is no active token","host":"1.4"})");
    EXPECT_EQ(ask(R"({"action":"listTokens"})"),
              R"({"action":"listTokens","error":"Failed to initalise PKCS11 API"})");
    EXPECT_EQ(ask(R"({"action":"listCertificates"})"),
              R"({"action":"listCertificates","error":"Failed to initalise PKCS11 API"})");
    fault.clearRules();
    EXPECT_EQ(host->stop(), 0);
    EXPECT_EQ(host->errorText(),
              "Error loading PKCS11 functionsFailed to initialise PKCS11End of input");
    // Nothing but the failed C_Initialize, not even C_Finalize at the end.
    EXPECT_EQ(fault.state().calls, (std::map<std::string, unsigned long>{{"C_Initialize", 1}}));
}

TEST_F(LoopTest, ExitsZeroWhenTheReaderOfItsOutputGoesAway) {
    start(Module::SoftHsm);
    ASSERT_EQ(ask(R"({"action":"selectCertificate","forceLogon":true})"),
              R"({"action":"selectCertificate","error":"Not Implemented"})");
    host->process().closeOutput();
    host->sendFrame(R"({"action":"info"})");
    EXPECT_EQ(host->stop(), 0);
    EXPECT_EQ(host->errorText(),
              "Error: unexpected IO error writing to stdout - Broken pipe\n"
              "Error while processing request - Broken pipe");
}

}  // namespace
}  // namespace e2e
