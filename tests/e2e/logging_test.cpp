// The log folder as an administrator finds it after a session: one file per
// exchange, requests with their PINs masked, and the error lines.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "e2e/host_fixture.h"
#include "support/scoped_umask.h"

namespace e2e {
namespace {

// Log entries carry the time; tests compare everything else.
std::string withoutTimestamps(const std::string& text) {
    static const std::regex timestamp("\n[0-9]{8}T[0-9]{9}\n");
    return std::regex_replace(text, timestamp, "\nTIME\n");
}

std::string entry(const std::string& kind, const std::string& text) {
    return "\nTIME\n" + kind + ":\n" + text + "\n";
}

class LoggingTest : public HostTest {
  protected:
    // Files are named by the millisecond they were opened in, and a file
    // opened in the same millisecond as the one before is appended to: pause
    // so that every exchange gets a name of its own.
    static void pause() { std::this_thread::sleep_for(std::chrono::milliseconds(5)); }

    // Pauses, asks and waits until the host has started the file of the next
    // exchange: a host slow to start it (a busy machine) could otherwise start
    // it and the one after within one millisecond, once the next request is
    // already waiting.
    std::string askInAFileOfItsOwn(const std::string& request) {
        pause();
        const std::string before = newestFileName();
        std::string reply = ask(request);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (newestFileName() == before && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return reply;
    }

    std::string newestFileName() {
        std::vector<std::string> names = host->folder().logFileNames();
        return names.empty() ? "" : names.back();
    }

    // The first file is opened once the host has loaded its module, which
    // may take longer than any pause before the first request.
    void startAndWaitForTheFirstFile(const HostSettings& settings) {
        start(settings);
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (host->folder().logFileNames().empty()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no log file appeared";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

TEST_F(LoggingTest, WritesOneFilePerExchangeWithEveryPinMasked) {
    ASSERT_NO_FATAL_FAILURE(startAndWaitForTheFirstFile(settingsFor(Module::SoftHsm)));
    struct Exchange {
        std::string request;
        std::string logged;
    };
    const std::vector<Exchange> exchanges = {
        {R"({"action":"login","tokenSN":"ab","pin":"pin-one","mode":"write"})",
         R"({"action":"login","tokenSN":"ab","pin":"********","mode":"write"})"},
        // An escaped quote does not end the value, and every occurrence counts.
        {R"({"action":"login","tokenSN":"ab","pin":"pin\"two","pin":"pin-three"})",
         R"({"action":"login","tokenSN":"ab","pin":"********","pin":"********"})"},
        {R"({"action":"changePIN","tokenSN":"ab","oldPIN":"pin-four","newPIN":"pin-five"})",
         R"({"action":"changePIN","tokenSN":"ab","oldPIN":"********","newPIN":"********"})"},
        {R"({"action":"formatToken","tokenSN":"ab","tokenPIN":"pin-six","adminPIN":"pin-seven"})",
         R"({"action":"formatToken","tokenSN":"ab","tokenPIN":"********","adminPIN":"********"})"},
        {R"({"action":"login","tokenSN":"ab","pin":""})",
         R"({"action":"login","tokenSN":"ab","pin":""})"},
        // The PIN of a key that needs it for every signature.
        {R"({"action":"sign","certificateSN":"0a","payload":"x","pin":"pin-eight"})",
         R"({"action":"sign","certificateSN":"0a","payload":"x","pin":"********"})"},
        {R"({ "action" : "info" })", R"({"action":"info"})"},
        // The names in letters of either case.
        {R"({"action":"info","PIN":"pin-nine","TokenPin":"pin-ten"})",
         R"({"action":"info","PIN":"********","TokenPin":"********"})"},
    };
    std::vector<std::string> expected;
    for (const Exchange& exchange : exchanges) {
        std::string reply = askInAFileOfItsOwn(exchange.request);
        expected.push_back(entry("Request", exchange.logged) + entry("Response", reply));
    }
    pause();
    ASSERT_EQ(host->stop(), 0);
    expected.push_back("End of input");

    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), expected.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(withoutTimestamps(files[i]), expected[i]) << "file " << i;
        EXPECT_EQ(files[i].find("pin-"), std::string::npos) << files[i];
    }
}

TEST_F(LoggingTest, MasksThePinOfARequestThatDoesNotParse) {
    start(Module::SoftHsm);
    const std::string masked = R"({"action":"login","tokenSN":"ab","********)";
    host->sendFrame(R"({"action":"login", "tokenSN":"ab", "pin":"secret-pin)");
    ASSERT_EQ(host->stop(), 0);

    EXPECT_EQ(host->errorText(), "Failed to parse request: " + masked);
    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(withoutTimestamps(files[0]),
              entry("Request", masked) + "Failed to parse request: " + masked);
}

// A person typing a request by hand may mistype its keys where the masking of
// well-formed members cannot find them: a message that does not parse is
// shown from its first PIN name on as "********", in the log file and on
// standard error alike.
TEST_F(LoggingTest, HidesAMistypedRequestFromItsFirstPinName) {
    struct Case {
        std::string sent;
        std::string shown;
    };
    const Case cases[] = {
        {R"({'action':'login','tokenSN':'ab','pin':'SECRET30'})",
         R"({'action':'login','tokenSN':'ab','********)"},
        {R"({action:"login",tokenSN:"ab",pin:"SECRET31"})",
         R"({action:"login",tokenSN:"ab",********)"},
        {R"({"action":"login","tokenSN":"ab","pin"=>"SECRET32"})",
         R"({"action":"login","tokenSN":"ab","********)"},
        {R"({"action":"login","tokenSN":"ab","pin" = "SECRET33"})",
         R"({"action":"login","tokenSN":"ab","********)"},
        {R"({"action":"login","tokenSN":"ab","pin"/**/:"pin-2468"})",
         R"({"action":"login","tokenSN":"ab","********)"},
        {R"({"action":"login","tokenSN":"ab","PIN":"SECRET34")",
         R"({"action":"login","tokenSN":"ab","********)"},
        {R"({"action":"login","tokenSN":"ab","Pin":'SECRET35'})",
         R"({"action":"login","tokenSN":"ab","********)"},
        {R"({"action":"changePIN","tokenSN":"ab",oldPIN:"SECRET36",newPIN:"SECRET37"})",
         R"({"action":"change********)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent);
        start(Module::SoftHsm);
        ASSERT_TRUE(host->sendFrame(c.sent));
        ASSERT_EQ(host->stop(), 0);
        EXPECT_EQ(host->errorText(), "Failed to parse request: " + c.shown);
        std::vector<std::string> files = host->folder().logFiles();
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(withoutTimestamps(files[0]),
                  entry("Request", c.shown) + "Failed to parse request: " + c.shown);
    }
}

TEST_F(LoggingTest, MasksPinValuesThatAreListsOrObjectsWhole) {
    start(Module::SoftHsm);
    const std::string request =
        R"({"action":"changePIN","tokenSN":"ab","oldPIN":{"pin":"pin-1111","x":["}"]},)"
        R"("newPIN":["pin-2222",["pin-3333"]],"port":"p"})";
    host->sendFrame(request);
    ASSERT_EQ(host->stop(), 0);

    const std::string masked =
        R"({"action":"changePIN","tokenSN":"ab","oldPIN":********,"newPIN":********,"port":"p"})";
    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(withoutTimestamps(files[0]),
              entry("Request", masked) +
                  "Error while processing request - Missing mandatory JSON object string property "
                  "oldPIN");
    EXPECT_EQ(files[0].find("pin-"), std::string::npos) << files[0];
}

TEST_F(LoggingTest, KeepsNoFilesWithoutALimit) {
    HostSettings settings = settingsFor(Module::SoftHsm);
    settings.maxLogFiles = 0;
    start(settings);
    ask(R"({"action":"info"})");
    ASSERT_EQ(host->stop(), 0);
    EXPECT_TRUE(host->folder().logFileNames().empty());
}

TEST_F(LoggingTest, KeepsOnlyTheNewestFilesBeyondTheLimit) {
    HostSettings settings = settingsFor(Module::SoftHsm);
    settings.maxLogFiles = 2;
    ASSERT_NO_FATAL_FAILURE(startAndWaitForTheFirstFile(settings));
    std::string last;
    for (int i = 0; i < 4; ++i) {
        last = askInAFileOfItsOwn(R"({"action":"info","port":")" + std::to_string(i) + "\"}");
    }
    pause();
    ASSERT_EQ(host->stop(), 0);
    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(withoutTimestamps(files[0]),
              entry("Request", R"({"action":"info","port":"3"})") + entry("Response", last));
    EXPECT_EQ(files[1], "End of input");
}

TEST_F(LoggingTest, LogFilesAreReadableByTheHostsUserOnlyUnderAPermissiveUmask) {
    {
        // The host inherits the umask when it starts.
        ScopedUmask permissive(0);
        ASSERT_NO_FATAL_FAILURE(startAndWaitForTheFirstFile(settingsFor(Module::SoftHsm)));
    }
    for (int i = 0; i < 2; ++i) {
        askInAFileOfItsOwn(R"({"action":"login","tokenSN":"ab","pin":"pin-1234"})");
    }
    ASSERT_EQ(host->stop(), 0);
    std::vector<std::string> names = host->folder().logFileNames();
    ASSERT_EQ(names.size(), 3u);
    for (const std::string& name : names) {
        struct stat status {};
        ASSERT_EQ(stat((host->folder().logDir() + "/" + name).c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0600u) << name;
    }
}

// A value holding a line break (or any other control byte) stays on its line
// in the log file, so it cannot pass for an entry of its own; standard error
// shows it as it came.
TEST_F(LoggingTest, ControlBytesInARequestCannotForgeLines) {
    ASSERT_NO_FATAL_FAILURE(startAndWaitForTheFirstFile(settingsFor(Module::SoftHsm)));
    std::string reply = askInAFileOfItsOwn("{\"action\":\"info\",\"port\":\"a\x01\x1b[2Kb\"}");
    EXPECT_EQ(
        reply,
        R"({"action":"info","driver":"libsofthsm2.so","error":"There is no active token","host":"1.4","port":"a\u0001\u001b[2Kb"})");
    pause();
    const std::string forged =
        "{\"action\":\"info\",\"port\":\"x\n\n20240101T000000000\nResponse:\n{}\"}";
    ASSERT_TRUE(host->sendFrame(forged));
    ASSERT_EQ(host->stop(), 0);

    EXPECT_EQ(host->errorText(), "Failed to parse request: " + forged);
    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(withoutTimestamps(files[0]),
              entry("Request", "{\"action\":\"info\",\"port\":\"a\\x01\\x1b[2Kb\"}") +
                  entry("Response", reply));
    const std::string escaped =
        "{\"action\":\"info\",\"port\":\"x\\x0a\\x0a20240101T000000000\\x0aResponse:\\x0a{}\"}";
    EXPECT_EQ(withoutTimestamps(files[1]),
              entry("Request", escaped) + "Failed to parse request: " + escaped);
}

// A C1 CSI moves a terminal's cursor when the log is viewed, U+2028 breaks
// the line in an editor, U+202E reorders what follows: in the log file they
// are escaped, on standard error they stay as they came.
TEST_F(LoggingTest, InvisibleAndLineBreakingCharactersAreEscapedInTheFileOnly) {
    ASSERT_NO_FATAL_FAILURE(startAndWaitForTheFirstFile(settingsFor(Module::SoftHsm)));
    const std::string raw =
        "a\x7f"
        "b\xc2\x9b[2J\xc2\x85\xe2\x80\xa8\xe2\x80\xa9\xe2\x80\xae\xe2\x80\x8f\xd8\x9c\xe2\x81\xa6"
        "z\xe2\x82\xac";
    const std::string escaped =
        "a\\x7fb\\u009b[2J\\u0085\\u2028\\u2029\\u202e\\u200f\\u061c\\u2066z\xe2\x82\xac";
    std::string reply = askInAFileOfItsOwn(R"({"action":"info","port":")" + raw + "\"}");
    EXPECT_EQ(
        reply,
        R"({"action":"info","driver":"libsofthsm2.so","error":"There is no active token","host":"1.4","port":")" +
            raw + "\"}");
    pause();
    ASSERT_TRUE(host->sendFrame(R"({"action":"info","port":")" + raw));
    ASSERT_EQ(host->stop(), 0);

    EXPECT_EQ(host->errorText(), R"(Failed to parse request: {"action":"info","port":")" + raw);
    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), 2u);
    const std::string escapedReply =
        R"({"action":"info","driver":"libsofthsm2.so","error":"There is no active token","host":"1.4","port":")" +
        escaped + "\"}";
    EXPECT_EQ(withoutTimestamps(files[0]),
              entry("Request", R"({"action":"info","port":")" + escaped + "\"}") +
                  entry("Response", escapedReply));
    const std::string cut = R"({"action":"info","port":")" + escaped;
    EXPECT_EQ(withoutTimestamps(files[1]),
              entry("Request", cut) + "Failed to parse request: " + cut);
}

// When the host cannot write its log file, standard error says so once, with
// the reason, however many exchanges follow.
TEST_F(LoggingTest, SaysOnceWhenItCannotWriteItsLogFile) {
    HostSettings settings = settingsFor(Module::SoftHsm);
    TempDir scratch;
    const std::string missing = scratch.file("missing");
    settings.extraLines = "logDir=" + missing + "\n";
    start(settings);
    for (int i = 0; i < 3; ++i) {
        ask(R"({"action":"info"})");
    }
    ASSERT_EQ(host->stop(), 0);
    const std::string errors = host->errorText();
    EXPECT_TRUE(std::regex_match(errors, std::regex("Not writing the log file " + missing +
                                                    "/vantrel-[0-9]{8}T[0-9]{9}\\.log - No such "
                                                    "file or directory\nEnd of input")))
        << errors;
    EXPECT_TRUE(host->folder().logFileNames().empty());
}

}  // namespace
}  // namespace e2e
