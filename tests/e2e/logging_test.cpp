// The log folder as an administrator finds it after a session: one file per
// exchange, requests with their PINs masked, and the error lines.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "e2e/host_fixture.h"

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
    };
    std::vector<std::string> expected;
    for (const Exchange& exchange : exchanges) {
        pause();
        std::string reply = ask(exchange.request);
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
    const std::string masked = R"({"action":"login","tokenSN":"ab","pin":"********)";
    host->sendFrame(R"({"action":"login", "tokenSN":"ab", "pin":"secret-pin)");
    ASSERT_EQ(host->stop(), 0);

    EXPECT_EQ(host->errorText(), "Failed to parse request: " + masked);
    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(withoutTimestamps(files[0]),
              entry("Request", masked) + "Failed to parse request: " + masked);
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
        pause();
        last = ask(R"({"action":"info","port":")" + std::to_string(i) + "\"}");
    }
    pause();
    ASSERT_EQ(host->stop(), 0);
    std::vector<std::string> files = host->folder().logFiles();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(withoutTimestamps(files[0]),
              entry("Request", R"({"action":"info","port":"3"})") + entry("Response", last));
    EXPECT_EQ(files[1], "End of input");
}

}  // namespace
}  // namespace e2e
