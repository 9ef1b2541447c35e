#include "common/logger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <thread>

#include "support/windows_support.h"

namespace {

class WindowsLoggerTest : public ::testing::Test {
  protected:
    void TearDown() override { Logger::destroyInstance(); }

    Logger* configured(uint32_t maxLogFiles) {
        Logger* logger = Logger::instance();
        logger->setLogDir(folder.path());
        logger->setMaxLogFiles(maxLogFiles);
        return logger;
    }

    TempFolder folder;
};

}  // namespace

TEST_F(WindowsLoggerTest, LogFilesLieInTheFolderUnderBackslashJoinedNames) {
    Logger* logger = configured(5);
    logger->startLogFile();
    std::string path = logger->getLogFilePath();
    ASSERT_EQ(path.compare(0, folder.path().size() + 1, folder.path() + "\\"), 0) << path;
    std::string name = path.substr(folder.path().size() + 1);
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(vantrel-\d{8}T\d{9}\.log)"))) << name;
    EXPECT_EQ(folder.list(), std::vector<std::string>{name});
}

// The log file is a text stream: on Windows its lines end in CR LF.
TEST_F(WindowsLoggerTest, EntriesAreWrittenAsTextLines) {
    Logger* logger = configured(5);
    logger->startLogFile();
    testing::internal::CaptureStderr();
    logger->logRequest(R"({"action":"login","pin":"1234"})");
    logger->error("Warning - failed to close token session %d (rc=%d)\n", 7, 48);
    logger->logResponse(R"({"action":"login"})");
    testing::internal::GetCapturedStderr();
    std::string text = readWholeFile(logger->getLogFilePath());
    std::regex expected(
        "\r\n\\d{8}T\\d{9}\r\nRequest:\r\n\\{\"action\":\"login\",\"pin\":\"\\*{8}\"\\}\r\n"
        "Warning - failed to close token session 7 \\(rc=48\\)\r\n"
        "\r\n\\d{8}T\\d{9}\r\nResponse:\r\n\\{\"action\":\"login\"\\}\r\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

// Only the logger's own line ends become CR LF: those in logged values are
// escaped, so they cannot start a line of their own.
TEST_F(WindowsLoggerTest, ControlBytesOfLoggedValuesAreEscaped) {
    Logger* logger = configured(5);
    logger->startLogFile();
    testing::internal::CaptureStderr();
    logger->logResponse("{\"port\":\"a\r\nb\x1a\"}");
    logger->error("End of input %s\n", "x\ny");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "End of input x\ny\n");
    std::string text = readWholeFile(logger->getLogFilePath());
    std::regex expected(
        "\r\n\\d{8}T\\d{9}\r\nResponse:\r\n\\{\"port\":\"a\\\\x0d\\\\x0ab\\\\x1a\"\\}\r\n"
        "End of input x\\\\x0ay\r\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST_F(WindowsLoggerTest, RotationKeepsTheNewestFilesAsTheSearchFindsThem) {
    // Found by the case-blind search and sorted before every timestamp, so
    // they go first; the other names are never touched.
    for (const char* name :
         {"VANTREL-0000.log", "vantrel-0001.log", "vantrel-notes.txt", "other.log"}) {
        folder.write(name, "");
    }
    Logger* logger = configured(3);
    std::vector<std::string> started;
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        logger->startLogFile();
        started.push_back(logger->getLogFilePath().substr(folder.path().size() + 1));
    }
    std::vector<std::string> expected = {"other.log", "vantrel-notes.txt", started[0], started[1],
                                         started[2]};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder.list(), expected);
}

TEST_F(WindowsLoggerTest, ALimitOfOneLeavesTheNewestFileOnly) {
    Logger* logger = configured(1);
    for (int i = 0; i < 3; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        logger->startLogFile();
    }
    std::string newest = logger->getLogFilePath();
    EXPECT_EQ(folder.list(), std::vector<std::string>{newest.substr(folder.path().size() + 1)});
}

// A log folder that is not there: standard error says so once, with the
// system's reason, however many files are started.
TEST_F(WindowsLoggerTest, AFileThatCannotBeOpenedIsSaidOnce) {
    Logger* logger = Logger::instance();
    logger->setLogDir(folder.file("missing"));
    logger->setMaxLogFiles(5);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        logger->startLogFile();
    }
    std::string text = testing::internal::GetCapturedStderr();
    std::string expectedStart = "Not writing the log file " + folder.file("missing") + "\\vantrel-";
    EXPECT_EQ(text.compare(0, expectedStart.size(), expectedStart), 0) << text;
    EXPECT_TRUE(std::regex_match(text.substr(std::min(expectedStart.size(), text.size())),
                                 std::regex(R"(\d{8}T\d{9}\.log - No such file or directory\n)")))
        << text;
}
