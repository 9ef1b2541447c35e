#include "platform/platform.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <functional>

#include "support/scoped_umask.h"
#include "support/temp_dir.h"

namespace {

// Someone else, as far as file ownership goes: the files of such a user can
// be made only by root.
const uid_t kOtherUser = 65534;

mode_t permissions(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOwnAllocator = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kOwnAllocator = true;
#else
constexpr bool kOwnAllocator = false;
#endif
#else
constexpr bool kOwnAllocator = false;
#endif

long minorFaults() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

// Minor page faults while a block of `size` bytes is made, written whole and
// freed.
long faultsOfABlock(size_t size) {
    const long before = minorFaults();
    char* block = static_cast<char*>(malloc(size));
    for (size_t i = 0; i < size; i += 4096) {
        block[i] = 1;
    }
    // The compiler must assume the bytes are read, so the block stays.
    __asm__ __volatile__("" : : "r"(block) : "memory");
    free(block);
    return minorFaults() - before;
}

bool appendThrough(FILE* file, const char* text) {
    bool written = fputs(text, file) >= 0;
    return fclose(file) == 0 && written;
}

}  // namespace

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

TEST(Platform, LogFilesAreReadableByTheirOwnerOnlyWhateverTheUmask) {
    for (mode_t mask : {0000, 0022, 0277}) {
        TempDir dir;
        ScopedUmask umask(mask);
        std::string refusal;
        FILE* file = platform::openLogFile(dir.file("vantrel-new.log"), refusal);
        ASSERT_NE(file, nullptr) << "umask " << mask;
        EXPECT_TRUE(appendThrough(file, "new"));
        EXPECT_EQ(permissions(dir.file("vantrel-new.log")), 0600u) << "umask " << mask;

        // An older file of ours is appended to and made private too.
        dir.write("vantrel-old.log", "old ");
        ASSERT_EQ(chmod(dir.file("vantrel-old.log").c_str(), 0644), 0);
        file = platform::openLogFile(dir.file("vantrel-old.log"), refusal);
        ASSERT_NE(file, nullptr) << "umask " << mask;
        EXPECT_EQ(refusal, "");
        EXPECT_TRUE(appendThrough(file, "and new"));
        EXPECT_EQ(dir.read("vantrel-old.log"), "old and new");
        EXPECT_EQ(permissions(dir.file("vantrel-old.log")), 0600u) << "umask " << mask;
    }
}

// In a folder others can write to, a name planted before the host opens it
// must not let anyone choose where the host's lines go.
TEST(Platform, ALogFileIsNeverOpenedThroughWhatIsPlantedUnderItsName) {
    struct Case {
        const char* what;
        // 0 when planted.
        std::function<int(const TempDir&, const std::string&)> plant;
        const char* refusal;
    } cases[] = {
        {"a link to a file",
         [](const TempDir& dir, const std::string& name) {
             return symlink(dir.file("target").c_str(), name.c_str());
         },
         "it is a link"},
        {"a link to nothing",
         [](const TempDir& dir, const std::string& name) {
             return symlink(dir.file("absent").c_str(), name.c_str());
         },
         "it is a link"},
        // Another name of one of the user's own files.
        {"a hard link",
         [](const TempDir& dir, const std::string& name) {
             return link(dir.file("target").c_str(), name.c_str());
         },
         "it has other hard links"},
        {"a FIFO",
         [](const TempDir&, const std::string& name) { return mkfifo(name.c_str(), 0666); },
         "it is not a regular file"},
        {"a folder",
         [](const TempDir&, const std::string& name) { return mkdir(name.c_str(), 0777); },
         "it is not a regular file"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.write("target", "someone's file\n");
        ASSERT_EQ(chmod(dir.file("target").c_str(), 0644), 0);
        const std::string name = dir.file("vantrel-planted.log");
        ASSERT_EQ(c.plant(dir, name), 0) << c.what;
        std::string refusal;
        EXPECT_EQ(platform::openLogFile(name, refusal), nullptr) << c.what;
        EXPECT_EQ(refusal, c.refusal) << c.what;
        EXPECT_EQ(dir.read("target"), "someone's file\n") << c.what;
        EXPECT_EQ(permissions(dir.file("target")), 0644u) << c.what;
        EXPECT_EQ(access(dir.file("absent").c_str(), F_OK), -1) << c.what;
    }
}

TEST(Platform, ALogFileThatCannotBeOpenedGivesTheSystemsReason) {
    TempDir dir;
    std::string refusal;
    EXPECT_EQ(platform::openLogFile(dir.file("missing/vantrel-x.log"), refusal), nullptr);
    EXPECT_EQ(refusal, "No such file or directory");
}

TEST(Platform, AnotherUsersFileIsNeitherAppendedToNorCountedAsALogFile) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "only root can make a file of another user";
    }
    TempDir dir;
    dir.write("vantrel-theirs.log", "theirs\n");
    ASSERT_EQ(chown(dir.file("vantrel-theirs.log").c_str(), kOtherUser, kOtherUser), 0);
    ASSERT_EQ(chmod(dir.file("vantrel-theirs.log").c_str(), 0644), 0);
    std::string refusal;
    EXPECT_EQ(platform::openLogFile(dir.file("vantrel-theirs.log"), refusal), nullptr);
    EXPECT_EQ(refusal, "it belongs to another user");
    EXPECT_EQ(dir.read("vantrel-theirs.log"), "theirs\n");
    EXPECT_EQ(permissions(dir.file("vantrel-theirs.log")), 0644u);
    EXPECT_TRUE(platform::listLogFiles(dir.path()).empty());
}

TEST(Platform, ListsOnlyLogFilesThatAreOwnRegularFiles) {
    TempDir dir;
    dir.write("vantrel-own.log", "");
    dir.write("target", "");
    ASSERT_EQ(symlink(dir.file("target").c_str(), dir.file("vantrel-link.log").c_str()), 0);
    ASSERT_EQ(mkdir(dir.file("vantrel-folder.log").c_str(), 0700), 0);
    ASSERT_EQ(mkfifo(dir.file("vantrel-fifo.log").c_str(), 0600), 0);
    EXPECT_EQ(platform::listLogFiles(dir.path()), std::vector<std::string>{"vantrel-own.log"});
}

TEST(Platform, CoreDumpsCanBeSwitchedOff) {
    // In a child, so that this test process keeps its limit.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::disableCoreDumps();
        rlimit limit{};
        getrlimit(RLIMIT_CORE, &limit);
        _exit(limit.rlim_cur == 0 && limit.rlim_max == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// A block of 16 MiB (4096 pages) freed and made again takes the pages the
// first one had: without the setting glibc maps each such block afresh.
TEST(Platform, FreedLargeBlocksAreReusedWithoutFreshPages) {
    if (kOwnAllocator) {
        GTEST_SKIP() << "the sanitizer's allocator has settings of its own";
    }
    // In a child, so that this test process keeps its allocator's settings.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        platform::keepFreedMemoryForReuse();
        faultsOfABlock(16 << 20);
        long again = 0;
        for (int i = 0; i < 3; ++i) {
            again += faultsOfABlock(16 << 20);
        }
        _exit(again < 300 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
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
