#include "common/logger.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <functional>
#include <regex>
#include <thread>

#include "support/temp_dir.h"

namespace {

using Clock = std::chrono::system_clock;

// The name the logger gives a file started at `at`.
std::string logFileNameAt(Clock::time_point at) {
    std::time_t seconds = Clock::to_time_t(at);
    auto millisecond =
        std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char name[64];
    std::snprintf(name, sizeof(name), "vantrel-%04d%02d%02dT%02d%02d%02d%03d.log",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, static_cast<int>(millisecond));
    return name;
}

// Planted names cover this much time.
const std::chrono::milliseconds kPlantedSpan(300);

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

    // Plants `plant` under the names the logger gives files over a short
    // time ahead, then starts a file among them. Tries again when the
    // machine was too slow to start it while they were in place; false when
    // it never was.
    bool startAmongPlantedNames(Logger* logger,
                                const std::function<int(const std::string&)>& plant) {
        const auto lead = std::chrono::milliseconds(500);
        for (int attempt = 0; attempt < 20; ++attempt) {
            for (const std::string& name : dir.list()) {
                std::remove(dir.file(name).c_str());
            }
            const Clock::time_point from = Clock::now() + lead;
            for (auto at = from; at < from + kPlantedSpan; at += std::chrono::milliseconds(1)) {
                EXPECT_EQ(plant(dir.file(logFileNameAt(at))), 0);
            }
            if (Clock::now() >= from) {
                continue;
            }
            std::this_thread::sleep_until(from + std::chrono::milliseconds(1));
            logger->startLogFile();
            if (Clock::now() < from + kPlantedSpan) {
                return true;
            }
        }
        return false;
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

// Someone who can write to the log folder plants links under the names of the
// next files, pointing at a file of the host's user.
TEST_F(LoggerTest, APlantedLinkIsNeverFollowedNorRotatedAway) {
    TempDir elsewhere;
    elsewhere.write("profile", "the user's own file\n");
    Logger* logger = configured(1);
    ASSERT_TRUE(startAmongPlantedNames(logger, [&elsewhere](const std::string& name) {
        return symlink(elsewhere.file("profile").c_str(), name.c_str());
    })) << "the file was never started while the links were in place";
    EXPECT_EQ(logger->getLogFilePath(), "");
    testing::internal::CaptureStderr();
    logger->logRequest(R"({"action":"info"})");
    logger->error("echo attacker >> ~/.profile\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "echo attacker >> ~/.profile\n");
    EXPECT_EQ(elsewhere.read("profile"), "the user's own file\n");
    // Not counted towards the limit, not deleted.
    EXPECT_EQ(dir.list().size(), static_cast<size_t>(kPlantedSpan.count()));
}

// Hard links, which the name alone does not tell from a file of the host's
// own: the linked file keeps its content and its mode, and standard error
// says once why nothing is logged.
TEST_F(LoggerTest, APlantedHardLinkIsLeftUntouchedAndSaidOnce) {
    TempDir elsewhere;
    elsewhere.write("profile", "the user's own file\n");
    ASSERT_EQ(chmod(elsewhere.file("profile").c_str(), 0644), 0);
    Logger* logger = configured(1);
    testing::internal::CaptureStderr();
    bool started = startAmongPlantedNames(logger, [&elsewhere](const std::string& name) {
        return link(elsewhere.file("profile").c_str(), name.c_str());
    });
    logger->logRequest(R"({"action":"info"})");
    logger->startLogFile();
    std::string stderrText = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(started) << "the file was never started while the links were in place";
    EXPECT_TRUE(std::regex_match(
        stderrText, std::regex("Not writing the log file " + dir.path() +
                               R"(/vantrel-\d{8}T\d{9}\.log - it has other hard links\n)")))
        << stderrText;
    EXPECT_EQ(elsewhere.read("profile"), "the user's own file\n");
    struct stat status {};
    ASSERT_EQ(stat(elsewhere.file("profile").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0644u);
}

TEST_F(LoggerTest, AFileThatCannotBeOpenedIsSaidOnceWithTheSystemsReason) {
    Logger* logger = Logger::instance();
    logger->setLogDir(dir.file("missing"));
    logger->setMaxLogFiles(5);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        logger->startLogFile();
        logger->logRequest(R"({"action":"info"})");
    }
    logger->error("End of input");
    std::string stderrText = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(std::regex_match(
        stderrText,
        std::regex("Not writing the log file " + dir.file("missing") +
                   R"(/vantrel-\d{8}T\d{9}\.log - No such file or directory\nEnd of input)")))
        << stderrText;
}

TEST_F(LoggerTest, ControlBytesFromOutsideAreEscapedInTheFileOnly) {
    Logger* logger = configured(5);
    logger->startLogFile();
    testing::internal::CaptureStderr();
    logger->logRequest("{\"action\":\"x\nRequest:\r\n{}\",\"port\":\"\x01\x1f\x7f\xff\t\"}");
    logger->error("Error while processing request - %s", "Unknown\n\nResponse:");
    logger->error("End of input %s\n", "a\nb");
    logger->logResponse("{\"port\":\"\x1b[31m\"}");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error while processing request - Unknown\n\nResponse:End of input a\nb\n");
    std::string text =
        std::regex_replace(allLogText(), std::regex("\n\\d{8}T\\d{9}\n"), "\nTIME\n");
    EXPECT_EQ(text,
              "\nTIME\nRequest:\n"
              "{\"action\":\"x\\x0aRequest:\\x0d\\x0a{}\",\"port\":\"\\x01\\x1f\\x7f\xff\\x09\"}\n"
              "Error while processing request - Unknown\\x0a\\x0aResponse:"
              "End of input a\\x0ab\n"
              "\nTIME\nResponse:\n{\"port\":\"\\x1b[31m\"}\n");
}

namespace {

std::string hexOf(const std::string& bytes) {
    std::string hex;
    char digits[4];
    for (unsigned char byte : bytes) {
        std::snprintf(digits, sizeof(digits), "%02x ", byte);
        hex += digits;
    }
    return hex;
}

}  // namespace

// What a terminal or an editor acts on instead of showing it: a C1 CSI moves
// the cursor, U+2028 breaks the line, U+202E reorders what follows. Written
// escaped to the file, as it came to standard error; everything else, their
// neighbours and malformed UTF-8 included, as it stands.
TEST_F(LoggerTest, InvisibleAndLineBreakingCharactersAreEscapedInTheFileOnly) {
    const std::pair<std::string, std::string> cases[] = {
        {"\x7f", "\\x7f"},
        // C1: its first, NEL, CSI and its last.
        {"\xc2\x80", "\\u0080"},
        {"\xc2\x85", "\\u0085"},
        {"\xc2\x9b[2J", "\\u009b[2J"},
        {"\xc2\x9f", "\\u009f"},
        // The Arabic letter mark, the marks and separators, the embeddings,
        // overrides and isolates.
        {"\xd8\x9c", "\\u061c"},
        {"\xe2\x80\x8e", "\\u200e"},
        {"\xe2\x80\x8f", "\\u200f"},
        {"\xe2\x80\xa8", "\\u2028"},
        {"\xe2\x80\xa9", "\\u2029"},
        {"\xe2\x80\xaa", "\\u202a"},
        {"\xe2\x80\xae", "\\u202e"},
        {"\xe2\x81\xa6", "\\u2066"},
        {"\xe2\x81\xa9", "\\u2069"},
        {"a\xe2\x80\xae"
         "b\xc2\x85"
         "c\x7f",
         "a\\u202eb\\u0085c\\x7f"},
        // Neighbours.
        {"\xc2\xa0", "\xc2\xa0"},
        {"\xd8\x9b", "\xd8\x9b"},
        {"\xe2\x80\x8d", "\xe2\x80\x8d"},
        {"\xe2\x80\x90", "\xe2\x80\x90"},
        {"\xe2\x80\xa7", "\xe2\x80\xa7"},
        {"\xe2\x80\xaf", "\xe2\x80\xaf"},
        {"\xe2\x81\xa5", "\xe2\x81\xa5"},
        {"\xe2\x81\xaa", "\xe2\x81\xaa"},
        {"\xe2\x82\xac", "\xe2\x82\xac"},
        {"\xc3\xa9", "\xc3\xa9"},
        // Malformed: a lead byte alone, cut short, or before a sequence.
        {"\xc2", "\xc2"},
        {"\xe2\x80", "\xe2\x80"},
        {"\xc2\x7f", "\xc2\\x7f"},
        {"\xe2\x80(", "\xe2\x80("},
        {"\xe2\xe2\x80\xa8", "\xe2\\u2028"},
        {"\xff\x85", "\xff\x85"},
    };
    Logger* logger = configured(5);
    logger->startLogFile();
    const std::string path = logger->getLogFilePath();
    const std::regex timestamp("\n\\d{8}T\\d{9}\n");
    for (const auto& c : cases) {
        const size_t before = readWholeFile(path).size();
        testing::internal::CaptureStderr();
        logger->logRequest("{\"port\":\"" + c.first + "\"}");
        logger->error("Error - %s", c.first.c_str());
        logger->logResponse(c.first);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error - " + c.first) << hexOf(c.first);
        EXPECT_EQ(std::regex_replace(readWholeFile(path).substr(before), timestamp, "\nTIME\n"),
                  "\nTIME\nRequest:\n{\"port\":\"" + c.second + "\"}\nError - " + c.second +
                      "\nTIME\nResponse:\n" + c.second + "\n")
            << hexOf(c.first);
    }
}

// The request of a message that does not parse, masked from its first PIN
// name on.
TEST_F(LoggerTest, AnUnparsableRequestIsLoggedMaskedFromItsFirstPinName) {
    Logger* logger = configured(5);
    logger->startLogFile();
    logger->logUnparsableRequest(R"({'action':'login','tokenSN':'ab','pin':'SECRET30'})");
    std::string text =
        std::regex_replace(allLogText(), std::regex("\n\\d{8}T\\d{9}\n"), "\nTIME\n");
    EXPECT_EQ(text, "\nTIME\nRequest:\n{'action':'login','tokenSN':'ab','********\n");
}
