#include "common/logger.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "support/temp_dir.h"

namespace {

class LoggerTest : public ::testing::Test {
  protected:
    void TearDown() override { Logger::destroyInstance(); }

    Logger* configured(uint32_t maxLogFiles) {
        Logger* logger = Logger::instance();
        logger->setLogDir(dir.path());
        logger->setMaxLogFiles(maxLogFiles);
        return logger;
    }

    // Starts a file and waits long enough for the next one to get another name.
    void startFile(Logger* logger) {
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
        logger->startLogFile();
    }

    std::vector<std::string> logFiles() const {
        std::vector<std::string> names;
        for (const std::string& name : dir.list()) {
            if (name.rfind("vantrel-", 0) == 0) {
                names.push_back(name);
            }
        }
        return names;
    }

    std::string allLogText() const {
        std::string text;
        for (const std::string& name : logFiles()) {
            text += dir.read(name);
        }
        return text;
    }

    TempDir dir;
};

}  // namespace

TEST_F(LoggerTest, FileNamesCarryTheLocalTimeToTheMillisecond) {
    Logger* logger = configured(5);
    logger->startLogFile();
    std::vector<std::string> files = logFiles();
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::regex_match(files[0], std::regex(R"(vantrel-\d{8}T\d{9}\.log)"))) << files[0];
    EXPECT_EQ(logger->getLogFilePath(), dir.file(files[0]));
}

TEST_F(LoggerTest, EntriesHaveTheirFormats) {
    Logger* logger = configured(5);
    logger->startLogFile();
    testing::internal::CaptureStderr();
    logger->logRequest(R"({"action":"info"})");
    logger->error("Warning - failed to close token session %d (rc=%d)", 7, 48);
    logger->logResponse(R"({"action":"info","host":"1.4"})");
    std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_EQ(stderrText, "Warning - failed to close token session 7 (rc=48)");
    std::string text = allLogText();
    std::regex expected(
        "\n\\d{8}T\\d{9}\nRequest:\n\\{\"action\":\"info\"\\}\n"
        "Warning - failed to close token session 7 \\(rc=48\\)"
        "\n\\d{8}T\\d{9}\nResponse:\n\\{\"action\":\"info\",\"host\":\"1.4\"\\}\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST_F(LoggerTest, WithoutALimitNothingIsWrittenButErrorLinesReachStandardError) {
    Logger* logger = configured(0);
    logger->startLogFile();
    testing::internal::CaptureStderr();
    logger->logRequest("{}");
    logger->error("End of input");
    logger->logResponse("{}");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "End of input");
    EXPECT_TRUE(dir.list().empty());
    EXPECT_EQ(logger->getLogFilePath(), "");
}

TEST_F(LoggerTest, AnEmptyDirectorySwitchesFileLoggingOff) {
    Logger* logger = Logger::instance();
    logger->setLogDir("");
    logger->setMaxLogFiles(5);
    logger->startLogFile();
    EXPECT_EQ(logger->getLogFilePath(), "");
}

TEST_F(LoggerTest, RotationKeepsTheNewestFiles) {
    struct Case {
        uint32_t maxLogFiles;
        size_t starts;
        size_t expectedFiles;
    } cases[] = {{1, 4, 1}, {3, 5, 3}, {static_cast<uint32_t>(-1), 5, 5}};
    for (const Case& c : cases) {
        for (const std::string& name : dir.list()) {
            std::remove(dir.file(name).c_str());
        }
        Logger* logger = configured(c.maxLogFiles);
        std::string newest;
        for (size_t i = 0; i < c.starts; ++i) {
            startFile(logger);
            newest = logger->getLogFilePath();
        }
        std::vector<std::string> files = logFiles();
        EXPECT_EQ(files.size(), c.expectedFiles) << "maxLogFiles " << c.maxLogFiles;
        EXPECT_EQ(dir.file(files.back()), newest);
        Logger::destroyInstance();
    }
}

TEST_F(LoggerTest, ForeignLogFilesCountAndGoOldestFirstOtherNamesStay) {
    dir.write("vantrel-0000.log", "old");
    dir.write("vantrel-zzzz.log", "sorts after every timestamp");
    dir.write("vantrel-notes.txt", "not a log");
    dir.write("other.log", "not ours");
    dir.write("Vantrel-0000.log", "case matters");
    Logger* logger = configured(2);
    logger->startLogFile();
    std::vector<std::string> files = dir.list();
    EXPECT_EQ(files.size(), 5u);
    EXPECT_EQ(std::count(files.begin(), files.end(), "vantrel-0000.log"), 0);
    EXPECT_EQ(std::count(files.begin(), files.end(), "vantrel-zzzz.log"), 1);
    EXPECT_EQ(std::count(files.begin(), files.end(), "vantrel-notes.txt"), 1);
    EXPECT_EQ(std::count(files.begin(), files.end(), "other.log"), 1);
    EXPECT_EQ(std::count(files.begin(), files.end(), "Vantrel-0000.log"), 1);
}

TEST_F(LoggerTest, AStartWithinTheSameMillisecondAppendsToTheSameFile) {
    Logger* logger = configured(5);
    // Two starts fall into one millisecond often enough; try until they do.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        logger->startLogFile();
        std::string first = logger->getLogFilePath();
        logger->logResponse("one");
        logger->startLogFile();
        if (logger->getLogFilePath() != first) {
            continue;
        }
        logger->logResponse("two");
        std::string text = readWholeFile(first);
        EXPECT_NE(text.find("one"), std::string::npos);
        EXPECT_NE(text.find("two"), std::string::npos);
        return;
    }
    GTEST_SKIP() << "no two starts fell into one millisecond";
}

TEST_F(LoggerTest, NoPinReachesTheLogFiles) {
    Logger* logger = configured(10);
    const char* requests[] = {
        R"({"action":"login","mode":"write","pin":"Lq7\"Zx9","tokenSN":"0001"})",
        R"({"action":"changePIN","newPIN":"Nw8\\\"Kp2\"Vv","oldPIN":"Od5Rt3","tokenSN":"0001"})",
        R"({"action":"formatToken","adminPIN":918273645,"tokenPIN":"Tk4Mm6Pq)",
    };
    for (const char* request : requests) {
        startFile(logger);
        logger->logRequest(request);
        logger->logResponse(R"({"action":"x"})");
    }
    std::string text = allLogText();
    EXPECT_NE(text.find("changePIN"), std::string::npos);
    for (const char* pinText :
         {"Lq7", "Zx9", "Nw8", "Kp2", "Vv", "Od5Rt3", "918273645", "Tk4Mm6Pq"}) {
        EXPECT_EQ(text.find(pinText), std::string::npos) << pinText << " leaked:\n" << text;
    }
}
