#include "platform/platform.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "support/windows_support.h"

TEST(WindowsPlatform, LocalTimeFieldsAreInRange) {
    platform::LocalTime now = platform::localTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
    EXPECT_GE(now.day, 1);
    EXPECT_LE(now.day, 31);
    EXPECT_LE(now.hour, 23);
    EXPECT_LE(now.minute, 59);
    EXPECT_LE(now.second, 59);
    EXPECT_GE(now.millisecond, 0);
    EXPECT_LE(now.millisecond, 999);
}

TEST(WindowsPlatform, PathsAreJoinedWithBackslashes) {
    EXPECT_EQ(platform::kPathSeparator, '\\');
}

// FindFirstFileA matches "vantrel-*.log" the way Windows compares file names:
// without regard to case.
TEST(WindowsPlatform, ListsLogFilesAsTheSearchPatternMatchesThem) {
    TempFolder folder;
    for (const char* name : {"vantrel-1.log", "vantrel-.log", "vantrel-2.log.bak", "xvantrel-3.log",
                             "VANTREL-4.log", "vantrel-5.LOG", "vantrel.log", "vantrel-6.txt"}) {
        folder.write(name, "");
    }
    std::vector<std::string> names = platform::listLogFiles(folder.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"VANTREL-4.log", "vantrel-.log", "vantrel-1.log",
                                               "vantrel-5.LOG"}));
    EXPECT_TRUE(platform::listLogFiles(folder.file("missing")).empty());
    EXPECT_TRUE(platform::listLogFiles(folder.file("vantrel-1.log")).empty());
}

TEST(WindowsPlatform, DeletesFiles) {
    TempFolder folder;
    folder.write("a", "x");
    EXPECT_TRUE(platform::deleteFile(folder.file("a")));
    EXPECT_FALSE(platform::deleteFile(folder.file("a")));
}

TEST(WindowsPlatform, TheProgramPathIsTakenAsGiven) {
    for (const char* path : {"C:\\Program Files\\Vantrel\\vantrel.exe", "vantrel.exe", ""}) {
        EXPECT_EQ(platform::programPath(path), path);
    }
    EXPECT_EQ(platform::programPath(nullptr), "");
}

TEST(WindowsPlatform, TheConfigurationFileReplacesTheLastFourCharacters) {
    struct Case {
        const char* program;
        const char* config;
    } cases[] = {
        {"C:\\Program Files\\Vantrel\\vantrel.exe", "C:\\Program Files\\Vantrel\\vantrel.cfg"},
        {"C:\\Vantrel\\VANTREL.EXE", "C:\\Vantrel\\VANTREL.cfg"},
        // Whatever the last four characters are.
        {"C:\\Vantrel\\vantrel", "C:\\Vantrel\\van.cfg"},
        {"vantrel.exe", "vantrel.cfg"},
        {"abcd", ".cfg"},
        {"abc", "abc.cfg"},
        {"", ".cfg"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::configFilePath(c.program), c.config) << c.program;
    }
}

// The texts are the C runtime's own (msvcrt's "No error" for 0 on Windows,
// "Success" under Wine).
TEST(WindowsPlatform, ErrorTextIsTheRuntimesText) {
    // Copied at once: the runtime reuses one buffer for every call.
    const std::string noError = std::strerror(0);
    const std::string brokenPipe = std::strerror(EPIPE);
    ASSERT_NE(noError, brokenPipe);
    platform::clearErrorNumber();
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(platform::errorText(), noError);
    errno = EPIPE;
    EXPECT_EQ(platform::errorText(), brokenPipe);
}

TEST(WindowsPlatform, SecureRandomFillsDistinctBlocks) {
    uint8_t a[16] = {};
    uint8_t b[16] = {};
    ASSERT_TRUE(platform::secureRandom(a, sizeof(a)));
    ASSERT_TRUE(platform::secureRandom(b, sizeof(b)));
    EXPECT_NE(std::string(a, a + 16), std::string(b, b + 16));
    EXPECT_TRUE(platform::secureRandom(a, 0));
}

TEST(WindowsPlatform, LoadsLibrariesAndFindsSymbols) {
    void* library = platform::loadLibrary("kernel32.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(platform::findSymbol(library, "GetTickCount"), nullptr);
    EXPECT_EQ(platform::findSymbol(library, "NoSuchSymbolHere"), nullptr);
    platform::freeLibrary(library);
    EXPECT_EQ(platform::loadLibrary("vantrel-no-such-module.dll"), nullptr);
}

TEST(WindowsPlatform, FileDescriptorsCarryEveryByteOfABinaryPipe) {
    int fds[2];
    ASSERT_EQ(_pipe(fds, 4096, _O_BINARY), 0);
    const std::string bytes("\x1a\r\n\n\r\0\xff", 7);
    EXPECT_EQ(platform::writeFd(fds[1], bytes.data(), bytes.size()), 7);
    _close(fds[1]);
    char buffer[16];
    long count = platform::readFd(fds[0], buffer, sizeof(buffer));
    ASSERT_EQ(count, 7);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(count)), bytes);
    EXPECT_EQ(platform::readFd(fds[0], buffer, sizeof(buffer)), 0);
    _close(fds[0]);
}

TEST(WindowsPlatform, StandardStreamsAreSwitchedToBinaryMode) {
    int savedIn = _dup(0);
    int savedOut = _dup(1);
    _setmode(0, _O_TEXT);
    _setmode(1, _O_TEXT);
    platform::setBinaryStdio();
    // _setmode answers the mode it replaces.
    EXPECT_EQ(_setmode(0, _O_TEXT), _O_BINARY);
    EXPECT_EQ(_setmode(1, _O_TEXT), _O_BINARY);
    _dup2(savedIn, 0);
    _dup2(savedOut, 1);
    _close(savedIn);
    _close(savedOut);
}
