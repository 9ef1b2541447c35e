// The process-wide logger: error lines to standard error and the open log
// file, and one log file per exchange holding the request and its reply.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#if defined(__GNUC__)
#define VANTREL_PRINTF_FORMAT(formatIndex, firstArg) \
    __attribute__((format(printf, formatIndex, firstArg)))
#else
#define VANTREL_PRINTF_FORMAT(formatIndex, firstArg)
#endif

class Logger {
  public:
    // The logger, created on first use.
    static Logger* instance();
    // Deletes the logger (closing its file); a later instance() makes a new one.
    static void destroyInstance();

    void setLogDir(std::string directory) { logDir = std::move(directory); }
    void setMaxLogFiles(uint32_t count) { maxLogFiles = count; }

    // Closes the current file, opens a new time-stamped one and deletes the
    // oldest files beyond the configured count.
    void startLogFile();

    // Writes the formatted text as it stands to standard error and to the open
    // file, there with the control bytes of the arguments escaped (see
    // writeToFile). The format's own line ends, if any, are at its end.
    void error(const char* format, ...) VANTREL_PRINTF_FORMAT(2, 3);
    // Writes a request entry with the PIN values masked.
    void logRequest(std::string_view text);
    // The same for a message that does not parse as a JSON object, masked
    // as maskPinsOfUnparsable masks it.
    void logUnparsableRequest(std::string_view text);
    void logResponse(std::string_view text);

    // Name of the file being written, empty when none is open.
    std::string getLogFilePath() const { return file != nullptr ? filePath : std::string(); }

  private:
    Logger() = default;
    ~Logger();
    Logger(const Logger&) = delete;
    Logger& operator=(const Logger&) = delete;

    static std::string timestamp();
    // Writes the entry's head, then has `writeText` hand its text over in
    // pieces, each written as writeToFile writes it.
    using TextWriter = std::function<void(std::string_view)>;
    void writeEntry(const char* kind, const std::function<void(const TextWriter&)>& writeText);
    // Writes text that came from outside (requests, replies, values in error
    // lines) with every byte below 0x20 and DEL as \x and two hex digits, so
    // that it cannot break the file's lines or forge an entry, and the UTF-8
    // of the C1 controls, the line and paragraph separators and the bidi
    // controls as \u and four hex digits, so that it can neither move a
    // terminal's cursor nor break or reorder lines in a viewer. Every other
    // byte is written as it stands. A text handed over in pieces is split
    // only beside ASCII bytes, so no sequence runs from one piece into the
    // next.
    void writeToFile(std::string_view text);
    // Tells standard error, once, that a log file is refused and why.
    void reportRefusedLogFile(const std::string& reason);
    void closeFile();
    void rotateLogFiles();

    FILE* file = nullptr;
    std::string filePath;
    std::string logDir;
    uint32_t maxLogFiles = 0;
    // The host has one logger for its whole run: once per process.
    bool refusalReported = false;
};
