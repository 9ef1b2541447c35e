#include "platform/platform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <openssl/evp.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

namespace platform {

const char kPathSeparator = '/';
const char* const kDefaultPkcs11Library = "libeTPKCS11.so";

void setBinaryStdio() {}

void ignoreBrokenPipe() {
    signal(SIGPIPE, SIG_IGN);
}

void disableCoreDumps() {
    // Not by making the process undumpable: that would also keep its owner
    // from reading its memory, which is how the tests look for PINs left in it.
    const rlimit none = {0, 0};
    setrlimit(RLIMIT_CORE, &none);
}

void keepFreedMemoryForReuse() {
#if defined(__GLIBC__)
    // Blocks below this size come from the heap rather than from a mapping of
    // their own, which glibc would unmap when the block is freed (and, by
    // default, the next block of the same size would be mapped afresh). The
    // largest value glibc takes on 64-bit systems; it refuses larger ones.
    mallopt(M_MMAP_THRESHOLD, sizeof(void*) >= 8 ? 32 << 20 : 512 << 10);
    // Free memory at the heap's top up to this size stays in the process.
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

void releaseFreedMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

long readFd(int fd, void* buffer, size_t size) {
    ssize_t count;
    do {
        count = ::read(fd, buffer, size);
    } while (count < 0 && errno == EINTR);
    return static_cast<long>(count);
}

long writeFd(int fd, const void* buffer, size_t size) {
    ssize_t count;
    do {
        count = ::write(fd, buffer, size);
    } while (count < 0 && errno == EINTR);
    return static_cast<long>(count);
}

void clearErrorNumber() {
    errno = 0;
}

std::string errorText() {
    return std::strerror(errno);
}

LocalTime localTime() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    return LocalTime{local.tm_year + 1900,
                     local.tm_mon + 1,
                     local.tm_mday,
                     local.tm_hour,
                     local.tm_min,
                     local.tm_sec,
                     static_cast<int>(now.tv_nsec / 1000000)};
}

namespace {

bool isLogFileName(const std::string& name) {
    static const std::string prefix = "vantrel-";
    static const std::string suffix = ".log";
    return name.size() >= prefix.size() + suffix.size() &&
           name.compare(0, prefix.size(), prefix) == 0 &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isOwnRegularFile(const struct stat& status) {
    return S_ISREG(status.st_mode) && status.st_uid == geteuid();
}

const char kNotRegular[] = "it is not a regular file";
const char kOtherUsers[] = "it belongs to another user";

// Why a name that could not be opened for the log stays unused: what stands
// there, else the system's text for the error.
std::string whyNotOpened(const std::string& path, int error) {
    struct stat status;
    if (lstat(path.c_str(), &status) == 0) {
        if (S_ISLNK(status.st_mode)) {
            return "it is a link";
        }
        if (!S_ISREG(status.st_mode)) {
            return kNotRegular;
        }
        if (status.st_uid != geteuid()) {
            return kOtherUsers;
        }
    }
    return std::strerror(error);
}

// Why an opened file must not take the log, or null. Checked before the file
// is changed in any way: a file that is refused keeps its mode.
const char* whyNotUsed(const struct stat& status) {
    if (!S_ISREG(status.st_mode)) {
        return kNotRegular;
    }
    if (status.st_uid != geteuid()) {
        return kOtherUsers;
    }
    // Another name of one of the user's own files, planted under the log's
    // name: appending would write into that file.
    if (status.st_nlink > 1) {
        return "it has other hard links";
    }
    return nullptr;
}

}  // namespace

FILE* openLogFile(const std::string& path, std::string& refusal) {
    // O_NONBLOCK: a FIFO planted under the name would otherwise block the
    // open until someone reads it.
    int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC,
                  S_IRUSR | S_IWUSR);
    if (fd < 0) {
        refusal = whyNotOpened(path, errno);
        return nullptr;
    }
    struct stat status;
    if (fstat(fd, &status) != 0) {
        refusal = std::strerror(errno);
        close(fd);
        return nullptr;
    }
    if (const char* reason = whyNotUsed(status)) {
        refusal = reason;
        close(fd);
        return nullptr;
    }
    // The umask may have taken bits from the mode, or the file may be older.
    FILE* file = nullptr;
    if (fchmod(fd, S_IRUSR | S_IWUSR) != 0 || fcntl(fd, F_SETFL, O_APPEND) != 0 ||
        (file = fdopen(fd, "a")) == nullptr) {
        refusal = std::strerror(errno);
        close(fd);
    }
    return file;
}

std::vector<std::string> listLogFiles(const std::string& directory) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) {
        return names;
    }
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        struct stat status;
        if (isLogFileName(name) &&
            fstatat(dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
            isOwnRegularFile(status)) {
            names.push_back(name);
        }
    }
    closedir(dir);
    return names;
}

bool deleteFile(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

std::string programPath(const char* argv0) {
    std::string path = argv0 != nullptr ? argv0 : "";
    if (path.find('/') != std::string::npos) {
        return path;
    }
    // Started through PATH: argv[0] alone does not say where the executable lies.
    char resolved[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", resolved, sizeof(resolved) - 1);
    if (length <= 0) {
        return path;
    }
    return std::string(resolved, static_cast<size_t>(length));
}

std::string configFilePath(const std::string& programPath) {
    return programPath + ".cfg";
}

void* loadLibrary(const std::string& name) {
    return dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findSymbol(void* library, const char* name) {
    return dlsym(library, name);
}

void freeLibrary(void* library) {
    dlclose(library);
}

bool secureRandom(uint8_t* buffer, size_t size) {
    while (size > 0) {
        ssize_t count = getrandom(buffer, size, 0);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        buffer += count;
        size -= static_cast<size_t>(count);
    }
    return true;
}

bool sha256(const uint8_t* data, size_t size, uint8_t* digest) {
    unsigned int length = 0;
    return EVP_Digest(data, size, digest, &length, EVP_sha256(), nullptr) == 1 &&
           length == kSha256Size;
}

}  // namespace platform
