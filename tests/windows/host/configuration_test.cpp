// The configuration file that vantrel.exe finds beside itself, and the log
// files it writes as that file says.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <regex>

#include "support/host_folder.h"

namespace {

const std::string kLoginReply =
    R"({"action":"login","error":"Failed to initalise PKCS11 API","port":"p%","tokenSN":"0001"})";

std::string withPort(std::string text, int port) {
    return text.replace(text.find('%'), 1, std::to_string(port));
}

}  // namespace

TEST(WindowsHostConfiguration, TheFileBesideTheProgramSetsTheLogFolderAndItsLimit) {
    HostFolder host;
    const std::string logs = host.files().file("logs");
    ASSERT_TRUE(CreateDirectoryA(logs.c_str(), nullptr));
    // Left by an earlier run and older than any timestamp: they go first.
    for (const char* name : {"vantrel-00000000T000000000.log", "vantrel-00000000T000000001.log"}) {
        writeWholeFile(logs + "\\" + name, "old");
    }
    // Windows line ends: the CR must not become part of the folder's name.
    host.writeConfig("logDir=" + logs + "\r\nmaxLogFiles=2\r\n");

    std::unique_ptr<ChildProcess> child = host.start();
    for (int port = 1; port <= 3; ++port) {
        // The pause gives each exchange a log file of its own.
        Sleep(20);
        std::string request =
            withPort(R"({"action":"login","pin":"4321","port":"p%","tokenSN":"0001"})", port);
        ASSERT_TRUE(child->write(frame(request)));
        EXPECT_EQ(child->readFrame(), withPort(kLoginReply, port));
    }
    child->closeInput();
    ProcessResult result = child->finish();
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 0u);

    std::vector<std::string> names = listFolder(logs);
    ASSERT_EQ(names.size(), 2u);
    for (const std::string& name : names) {
        EXPECT_TRUE(std::regex_match(name, std::regex(R"(vantrel-\d{8}T\d{9}\.log)"))) << name;
        EXPECT_NE(name.rfind("vantrel-00000000T", 0), 0u) << name;
    }
    // Each file holds what came after its start: the last exchange, written as
    // text lines with its PIN masked, then (in the file started after its
    // reply) the line of the end.
    std::regex lastExchange(
        "[\\s\\S]*\r\n\\d{8}T\\d{9}\r\nRequest:\r\n"
        R"(\{"action":"login","pin":"\*{8}","port":"p3","tokenSN":"0001"\})"
        "\r\n\r\n\\d{8}T\\d{9}\r\nResponse:\r\n" +
        std::regex_replace(withPort(kLoginReply, 3), std::regex(R"([{}()\[\]*.])"), "\\$&") +
        "\r\nEnd of input");
    std::string newest = readWholeFile(logs + "\\" + names[1]);
    std::string both = readWholeFile(logs + "\\" + names[0]) + newest;
    EXPECT_TRUE(std::regex_match(both, lastExchange)) << both;
    ASSERT_GE(newest.size(), 12u);
    EXPECT_EQ(newest.substr(newest.size() - 12), "End of input");
    EXPECT_EQ(both.find("4321"), std::string::npos);
}

TEST(WindowsHostConfiguration, OnlyTheProgramNameWithCfgInPlaceOfExeIsRead) {
    struct Case {
        const char* fileName;
        bool read;
    } cases[] = {{"vantrel.cfg", true}, {"vantrel.exe.cfg", false}, {"VANTREL.CFG", true}};
    for (const Case& c : cases) {
        HostFolder host;
        const std::string logs = host.files().file("logs");
        ASSERT_TRUE(CreateDirectoryA(logs.c_str(), nullptr));
        host.files().write(c.fileName, "logDir=" + logs + "\nmaxLogFiles=5\n");
        ProcessResult result = host.exchange({R"({"action":"info"})"});
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(replies(result).size(), 1u);
        EXPECT_EQ(!listFolder(logs).empty(), c.read) << c.fileName;
    }
}
