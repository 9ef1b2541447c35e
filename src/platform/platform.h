// Everything that differs between operating systems: standard streams, time,
// files, the program's own path, dynamic loading, secure randomness and
// hashing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace platform {

// Separator used when joining a directory and a file name.
extern const char kPathSeparator;

// Puts standard input and output into binary (untranslated) mode.
void setBinaryStdio();

// Makes a write to a closed pipe fail with an error instead of killing the process.
void ignoreBrokenPipe();

// Keeps the process from leaving a core dump, which would hold what it had in
// memory (PINs among it), while leaving it readable to a debugger.
void disableCoreDumps();

// Lets the allocator keep the memory that one large message freed for the
// next one, instead of giving it back to the system and taking fresh pages
// again, each of which costs a page fault on first use: for messages of many
// MiB that took longer than the rest of their work. Where the allocator has
// no such settings, nothing changes.
void keepFreedMemoryForReuse();
// Gives the pages of freed memory back to the system after all: for the
// steps a message's block went through while it grew, which would otherwise
// stay resident beside the block they became.
void releaseFreedMemory();

// Reads at most `size` bytes from a file descriptor; returns the count, 0 at end
// of input, -1 on error (the error number is then set).
long readFd(int fd, void* buffer, size_t size);

// Writes at most `size` bytes to a file descriptor; returns the count or -1.
long writeFd(int fd, const void* buffer, size_t size);

void clearErrorNumber();
// The runtime's text for the current error number.
std::string errorText();

struct LocalTime {
    int year;
    int month;
    int day;
    int hour;
    int minute;
    int second;
    int millisecond;
};
LocalTime localTime();

// Opens a log file for appending, creating it if needed; null when it cannot
// be used, with `refusal` saying why. On POSIX it is made readable by its
// owner only, and an existing name is taken only when it is a regular file of
// this process's user with no other hard link, never through a symbolic link:
// in a folder that others can write to, a planted name must not make the host
// write into someone else's file, nor into another file of its own user. The
// reasons then are "it is a link", "it has other hard links", "it is not a
// regular file" and "it belongs to another user"; any other failure gives the
// system's text for it.
FILE* openLogFile(const std::string& path, std::string& refusal);

// Names (without the directory) of the log files in a directory: entries whose
// names start with "vantrel-" and end with ".log" (on POSIX only regular files
// of this process's user). Empty when the directory cannot be read.
std::vector<std::string> listLogFiles(const std::string& directory);

// Deletes a file; failures are reported by the result only.
bool deleteFile(const std::string& path);

// The path the host was started as, made usable when it holds no directory.
std::string programPath(const char* argv0);

// The configuration file that belongs to a program path.
std::string configFilePath(const std::string& programPath);

// Name of the PKCS#11 module loaded when the configuration names none.
extern const char* const kDefaultPkcs11Library;

// Dynamic loading of a shared library; null on failure. POSIX: the loader's
// own search for a bare name. Windows: a bare name only from the program's
// folder and the system folder (never the current folder or PATH), an
// absolute path as it stands, a relative path from the program's folder.
void* loadLibrary(const std::string& name);
void* findSymbol(void* library, const char* name);
void freeLibrary(void* library);

// Fills the buffer from the operating system's cryptographically secure
// generator; false when it cannot.
bool secureRandom(uint8_t* buffer, size_t size);

constexpr size_t kSha256Size = 32;
// The SHA-256 digest of `size` bytes into `digest` (kSha256Size bytes);
// false when the system's hashing cannot be used.
bool sha256(const uint8_t* data, size_t size, uint8_t* digest);

}  // namespace platform
