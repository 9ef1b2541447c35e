// A token that stops answering: the fault module's "hang" rule makes a chosen
// call never return. The host then waits, as it would on a real token, until
// whoever started it ends it; a host left behind by a parent that went away
// ends itself.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

#include "e2e/host_fixture.h"

namespace e2e {
namespace {

using std::chrono::milliseconds;

// Waits until `done` holds, at most `limit`.
template <typename Check>
bool eventually(Check done, milliseconds limit = milliseconds(20000)) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(milliseconds(20));
    }
    return true;
}

// Whether a process is gone (a zombie counts: it runs no more).
bool processEnded(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string field;
    for (int i = 0; i < 3 && stat >> field; ++i) {
    }
    return !stat || field == "Z";
}

class HangingTokenTest : public HostTest {
  protected:
    SoftHsmToken token = hsm.createToken("Hanging");
};

TEST_F(HangingTokenTest, TheChosenCallNeverReturnsAndTheHostWaitsUntilItIsEnded) {
    fault.setRules("hang C_Login call 2");
    start();
    const std::string request = login(token.serial, token.userPin, false);
    EXPECT_EQ(ask(request), R"({"action":"login","tokenSN":")" + token.serial + "\"}");
    ASSERT_TRUE(host->sendFrame(request));
    ASSERT_TRUE(eventually([&] { return fault.state().callsOf("C_Login") == 2; }));
    EXPECT_THROW(host->readFrame(milliseconds(1000)), HostTimeout);
    EXPECT_FALSE(host->process().hasExited());

    // As a browser ends a host that does not answer in time.
    ASSERT_EQ(kill(host->process().pid(), SIGTERM), 0);
    EXPECT_EQ(host->stop(), 128 + SIGTERM);
}

TEST_F(HangingTokenTest, AHangingHostWhoseParentIsGoneEndsItself) {
    fault.setRules("hang C_Initialize");
    HostFolder folder(settingsFor(Module::Fault));
    // A parent that starts the host, says its process ID and goes away when
    // told to.
    ChildProcess parent({"/bin/sh", "-c",
                         "\"$0\" </dev/null >/dev/null 2>&1 & echo $!; read line; exit 0",
                         folder.executable()});
    std::string line = parent.readOutput(1);
    while (line.back() != '\n') {
        line += parent.readOutput(1);
    }
    const pid_t hostPid = std::stoi(line);
    ASSERT_TRUE(eventually([&] { return fault.state().callsOf("C_Initialize") == 1; }));
    EXPECT_FALSE(processEnded(hostPid));

    EXPECT_EQ(parent.wait(), 0);
    EXPECT_TRUE(eventually([&] { return processEnded(hostPid); }));
    if (!processEnded(hostPid)) {
        kill(hostPid, SIGKILL);
    }
}

}  // namespace
}  // namespace e2e
