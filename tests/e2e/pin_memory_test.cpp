// What a PIN leaves behind in the running host: no copy anywhere in its
// memory once the requests that carried it are answered, and no core dump
// that could hold one.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/host_fixture.h"
#include "support/process_memory.h"
#include "support/random_text.h"

namespace e2e {
namespace {

class PinMemoryTest : public HostTest, public ::testing::WithParamInterface<size_t> {};

// Every PIN member passes through the host: the login's, changePIN's old and
// new PIN, formatToken's two (refused by the token, but read all the same).
// Then ten more exchanges, and the whole memory of the waiting host is read.
// SoftHSM2 keeps no copy of a PIN either (it wipes its own buffers), so any
// copy found is the host's.
TEST_P(PinMemoryTest, NoCopyOfAnyPinIsLeftInTheHostsMemory) {
    const size_t length = GetParam();
    const std::string first = randomText(length);
    const std::string second = randomText(length);
    const std::string tokenPin = randomText(length);
    const std::string adminPin = randomText(length);
    SoftHsmToken token = hsm.createToken("Memory", "87654321", first);
    start(Module::SoftHsm);
    const std::string& sn = token.serial;

    ASSERT_EQ(ask(login(sn, first, true)), R"({"action":"login","tokenSN":")" + sn + "\"}");
    ASSERT_EQ(ask(R"({"action":"changePIN","tokenSN":")" + sn + R"(","oldPIN":")" + first +
                  R"(","newPIN":")" + second + "\"}"),
              R"({"action":"changePIN","tokenSN":")" + sn + "\"}");
    ASSERT_NE(ask(R"({"action":"formatToken","tokenSN":")" + sn + R"(","tokenPIN":")" + tokenPin +
                  R"(","adminPIN":")" + adminPin + "\"}")
                  .find("\"error\":"),
              std::string::npos);
    ASSERT_EQ(ask(login(sn, second, false)), R"({"action":"login","tokenSN":")" + sn + "\"}");
    const std::vector<std::string> further = {
        R"({"action":"info"})",
        R"({"action":"listTokens"})",
        R"({"action":"listCertificates","tokenSN":")" + sn + "\"}",
        R"({"action":"listCertificates"})",
        R"({"action":"getOrphanKeys","tokenSN":")" + sn + R"(","keyType":"private"})",
        R"({"action":"getOrphanKeys","tokenSN":")" + sn + R"(","keyType":"public"})",
        R"({"action":"selectCertificate","forceLogon":false})",
        R"({"action":"getCertificate","certificateSN":"020101"})",
        R"({"action":"sign","certificateSN":"020101","payload":"some text to sign"})",
        R"({"action":"info","port":"last"})",
    };
    for (const std::string& request : further) {
        ASSERT_NE(ask(request), "") << request;
    }

    const pid_t pid = host->process().pid();
    // The search reads what it should: the log folder's name lies in the
    // host's configuration and logger for the whole run.
    MemorySearch control = searchProcessMemory(pid, host->folder().logDir());
    EXPECT_FALSE(control.found.empty()) << describe(control);
    EXPECT_TRUE(onlyKernelMappingsUnreadable(control)) << describe(control);
    for (const std::string& pin : {first, second, tokenPin, adminPin}) {
        MemorySearch search = searchProcessMemory(pid, pin);
        EXPECT_TRUE(search.found.empty()) << "PIN " << pin << ": " << describe(search);
    }
    EXPECT_FALSE(host->process().hasExited());
}

// Eight characters fit inside a std::string object itself, forty do not: a
// PIN takes either way through the host's memory.
INSTANTIATE_TEST_SUITE_P(ShortAndLong, PinMemoryTest, ::testing::Values(8, 40));

// One line of /proc/<pid>/limits, its two numbers: soft and hard.
std::string limitOf(pid_t pid, const std::string& name) {
    std::ifstream limits("/proc/" + std::to_string(pid) + "/limits");
    std::string line;
    while (std::getline(limits, line)) {
        if (line.compare(0, name.size(), name) == 0) {
            std::istringstream values(line.substr(name.size()));
            std::string soft;
            std::string hard;
            values >> soft >> hard;
            return soft + " " + hard;
        }
    }
    return "no line " + name;
}

class CoreDumpTest : public HostTest {};

TEST_F(CoreDumpTest, TheHostSwitchesCoreDumpsOffForGood) {
    start(Module::SoftHsm);
    ask(R"({"action":"info"})");
    // Both limits: the host cannot raise its own soft limit again.
    EXPECT_EQ(limitOf(host->process().pid(), "Max core file size"), "0 0");
}

}  // namespace
}  // namespace e2e
