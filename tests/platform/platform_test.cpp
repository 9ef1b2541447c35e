#include "platform/platform.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>

#include "support/temp_dir.h"

TEST(Platform, LocalTimeFieldsAreInRange) {
    platform::LocalTime now = platform::localTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_LE(now.hour, 23);
    EXPECT_LE(now.minute, 59);
    EXPECT_LE(now.second, 60);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
}

TEST(Platform, ListsOnlyLogFileNames) {
    TempDir dir;
    for (const char* name : {"vantrel-1.log", "vantrel-.log", "vantrel-2.log.bak", "xvantrel-3.log",
                             "VANTREL-4.log", "vantrel-5.LOG", "vantrel.log"}) {
        dir.write(name, "");
    }
    std::vector<std::string> names = platform::listLogFiles(dir.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"vantrel-.log", "vantrel-1.log"}));
    EXPECT_TRUE(platform::listLogFiles(dir.file("missing")).empty());
}

TEST(Platform, DeletesFiles) {
    TempDir dir;
    dir.write("a", "x");
    EXPECT_TRUE(platform::deleteFile(dir.file("a")));
    EXPECT_FALSE(platform::deleteFile(dir.file("a")));
}

TEST(Platform, ProgramPathAndItsConfigurationFile) {
    EXPECT_EQ(platform::programPath("/opt/vantrel/vantrel"), "/opt/vantrel/vantrel");
    EXPECT_EQ(platform::programPath("./vantrel"), "./vantrel");
    // Without a directory the executable's own path is used.
    std::string resolved = platform::programPath("vantrel");
    EXPECT_EQ(resolved.front(), '/');
    EXPECT_EQ(access(resolved.c_str(), X_OK), 0);
    EXPECT_EQ(platform::configFilePath("/opt/vantrel/vantrel"), "/opt/vantrel/vantrel.cfg");
}

TEST(Platform, ErrorTextFollowsTheErrorNumber) {
    platform::clearErrorNumber();
    EXPECT_EQ(platform::errorText(), "Success");
    errno = EPIPE;
    EXPECT_EQ(platform::errorText(), "Broken pipe");
}

TEST(Platform, SecureRandomFillsDistinctBlocks) {
    uint8_t a[16] = {};
    uint8_t b[16] = {};
    ASSERT_TRUE(platform::secureRandom(a, sizeof(a)));
    ASSERT_TRUE(platform::secureRandom(b, sizeof(b)));
    EXPECT_NE(std::string(a, a + 16), std::string(b, b + 16));
}

TEST(Platform, LoadsLibrariesAndFindsSymbols) {
    void* library = platform::loadLibrary("libc.so.6");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(platform::findSymbol(library, "strlen"), nullptr);
    EXPECT_EQ(platform::findSymbol(library, "no_such_symbol_here"), nullptr);
    platform::freeLibrary(library);
    EXPECT_EQ(platform::loadLibrary("libdoesnotexist.so"), nullptr);
}
