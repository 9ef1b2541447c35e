#include "platform/platform.h"

// The other Windows headers need the types that this one declares.
#include <windows.h>

#include <bcrypt.h>
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace platform {

const char kPathSeparator = '\\';
const char* const kDefaultPkcs11Library = "eTPKCS11.dll";

void setBinaryStdio() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

void ignoreBrokenPipe() {}

// Windows writes no core dumps of its own; crash reports are the system's
// settings.
void disableCoreDumps() {}

long readFd(int fd, void* buffer, size_t size) {
    unsigned int count = size > INT_MAX ? INT_MAX : static_cast<unsigned int>(size);
    return _read(fd, buffer, count);
}

long writeFd(int fd, const void* buffer, size_t size) {
    unsigned int count = size > INT_MAX ? INT_MAX : static_cast<unsigned int>(size);
    return _write(fd, buffer, count);
}

void clearErrorNumber() {
    errno = 0;
}

std::string errorText() {
    return std::strerror(errno);
}

LocalTime localTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalTime{now.wYear,   now.wMonth,  now.wDay,         now.wHour,
                     now.wMinute, now.wSecond, now.wMilliseconds};
}

FILE* openLogFile(const std::string& path) {
    return fopen(path.c_str(), "a+");
}

std::vector<std::string> listLogFiles(const std::string& directory) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    std::string pattern = directory + "\\vantrel-*.log";
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool deleteFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

std::string programPath(const char* argv0) {
    return argv0 != nullptr ? argv0 : "";
}

std::string configFilePath(const std::string& programPath) {
    // The executable's extension is dropped whatever it is: vantrel.exe reads vantrel.cfg.
    std::string base =
        programPath.size() >= 4 ? programPath.substr(0, programPath.size() - 4) : programPath;
    return base + ".cfg";
}

void* loadLibrary(const std::string& name) {
    return reinterpret_cast<void*>(LoadLibraryA(name.c_str()));
}

void* findSymbol(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void freeLibrary(void* library) {
    FreeLibrary(static_cast<HMODULE>(library));
}

bool secureRandom(uint8_t* buffer, size_t size) {
    return BCryptGenRandom(nullptr, buffer, static_cast<ULONG>(size),
                           BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

}  // namespace platform
