#include "platform/platform.h"

// The other Windows headers need the types that this one declares.
#include <windows.h>

#include <bcrypt.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
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

void keepFreedMemoryForReuse() {}
void releaseFreedMemory() {}

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

FILE* openLogFile(const std::string& path, std::string& refusal) {
    FILE* file = fopen(path.c_str(), "a+");
    if (file == nullptr) {
        refusal = std::strerror(errno);
    }
    return file;
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

namespace {

// No folder at all: the name alone, as the default configuration has it.
bool isBareName(const std::string& name) {
    return name.find_first_of("\\/:") == std::string::npos;
}

// From a drive's root or the current drive's root (a server share included).
bool isAbsolutePath(const std::string& path) {
    bool driveRoot = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                     path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return driveRoot || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

std::string executableFolder() {
    std::string path(32768, '\0');
    DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    path.resize(length);
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

}  // namespace

void* loadLibrary(const std::string& name) {
    if (isBareName(name)) {
        // The application's folder and the system folder, where token vendors
        // install their module; never the current folder or PATH, where a DLL
        // planted beside a downloaded file could be found first.
        return reinterpret_cast<void*>(
            LoadLibraryExA(name.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
    }
    std::string path = isAbsolutePath(name) ? name : executableFolder() + "\\" + name;
    std::replace(path.begin(), path.end(), '/', '\\');
    // The module's own dependencies come from its folder and the same safe folders.
    return reinterpret_cast<void*>(
        LoadLibraryExA(path.c_str(), nullptr,
                       LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_DEFAULT_DIRS));
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

bool sha256(const uint8_t* data, size_t size, uint8_t* digest) {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) {
        return false;
    }
    BCRYPT_HASH_HANDLE hash = nullptr;
    bool hashed = BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) == 0;
    // BCryptHashData takes at most a ULONG of bytes at a time.
    const size_t kChunk = size_t(1) << 30;
    for (size_t done = 0; hashed && done < size; done += kChunk) {
        ULONG chunk = static_cast<ULONG>(std::min(kChunk, size - done));
        hashed = BCryptHashData(hash, const_cast<PUCHAR>(data + done), chunk, 0) == 0;
    }
    hashed = hashed && BCryptFinishHash(hash, digest, kSha256Size, 0) == 0;
    if (hash != nullptr) {
        BCryptDestroyHash(hash);
    }
    BCryptCloseAlgorithmProvider(algorithm, 0);
    return hashed;
}

}  // namespace platform
