#include "common/logger.h"

#include <algorithm>
#include <cassert>
#include <cstdarg>
#include <vector>

#include "common/byte_scan.h"
#include "common/pin_masking.h"
#include "platform/platform.h"

namespace {
Logger* theLogger = nullptr;
}

Logger* Logger::instance() {
    if (theLogger == nullptr) {
        theLogger = new Logger();
    }
    return theLogger;
}

void Logger::destroyInstance() {
    delete theLogger;
    theLogger = nullptr;
}

Logger::~Logger() {
    closeFile();
}

void Logger::closeFile() {
    if (file != nullptr) {
        fclose(file);
        file = nullptr;
    }
}

std::string Logger::timestamp() {
    platform::LocalTime now = platform::localTime();
    char text[32];
    snprintf(text, sizeof(text), "%04d%02d%02dT%02d%02d%02d%03d", now.year, now.month, now.day,
             now.hour, now.minute, now.second, now.millisecond);
    return text;
}

void Logger::startLogFile() {
    closeFile();
    if (logDir.empty() || maxLogFiles == 0) {
        return;
    }
    filePath = logDir + platform::kPathSeparator + "vantrel-" + timestamp() + ".log";
    std::string refusal;
    file = platform::openLogFile(filePath, refusal);
    if (file == nullptr) {
        reportRefusedLogFile(refusal);
    }
    rotateLogFiles();
}

void Logger::reportRefusedLogFile(const std::string& reason) {
    // Once: a folder that refuses one file refuses the next one the same way.
    if (refusalReported) {
        return;
    }
    refusalReported = true;
    fprintf(stderr, "Not writing the log file %s - %s\n", filePath.c_str(), reason.c_str());
    fflush(stderr);
}

void Logger::rotateLogFiles() {
    if (logDir.empty()) {
        return;
    }
    std::vector<std::string> names = platform::listLogFiles(logDir);
    std::sort(names.begin(), names.end());
    size_t remaining = names.size();
    for (const std::string& name : names) {
        if (remaining <= maxLogFiles) {
            break;
        }
        platform::deleteFile(logDir + platform::kPathSeparator + name);
        --remaining;
    }
}

namespace {

// The text of a format and its arguments.
std::string formatted(const char* format, va_list args) {
    va_list sizing;
    va_copy(sizing, args);
    int length = vsnprintf(nullptr, 0, format, sizing);
    va_end(sizing);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(&text[0], text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

// The host's own line ends in a line: those its format ends with. A format
// has none elsewhere.
size_t formatLineEnds(std::string_view format) {
    size_t count = 0;
    while (count < format.size() && format[format.size() - 1 - count] == '\n') {
        ++count;
    }
    assert(format.find('\n') >= format.size() - count && "line ends only at the end of a format");
    return count;
}

}  // namespace

void Logger::error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fflush(stderr);
    if (file != nullptr) {
        va_start(args, format);
        std::string text = formatted(format, args);
        va_end(args);
        size_t lineEnds = std::min(formatLineEnds(format), text.size());
        writeToFile(std::string_view(text).substr(0, text.size() - lineEnds));
        fwrite(text.data() + text.size() - lineEnds, 1, lineEnds, file);
        fflush(file);
    }
}

void Logger::writeToFile(std::string_view text) {
    static const char digits[] = "0123456789abcdef";
    size_t written = 0;
    for (;;) {
        const size_t pos = written + findLogEscape(text.data() + written, text.size() - written);
        fwrite(text.data() + written, 1, pos - written, file);
        if (pos == text.size()) {
            return;
        }
        const LogEscape escape = logEscapeAt(text.data(), text.size(), pos);
        const uint32_t code = escape.codePoint;
        if (escape.length == 1) {
            const char bytes[4] = {'\\', 'x', digits[code >> 4], digits[code & 0x0F]};
            fwrite(bytes, 1, sizeof(bytes), file);
        } else {
            const char bytes[6] = {'\\',
                                   'u',
                                   digits[code >> 12],
                                   digits[(code >> 8) & 0x0F],
                                   digits[(code >> 4) & 0x0F],
                                   digits[code & 0x0F]};
            fwrite(bytes, 1, sizeof(bytes), file);
        }
        written = pos + escape.length;
    }
}

void Logger::writeEntry(const char* kind, const std::function<void(const TextWriter&)>& writeText) {
    if (file == nullptr) {
        return;
    }
    std::string stamp = timestamp();
    fprintf(file, "\n%s\n%s:\n", stamp.c_str(), kind);
    writeText([this](std::string_view piece) { writeToFile(piece); });
    fputc('\n', file);
    fflush(file);
}

void Logger::logRequest(std::string_view text) {
    writeEntry("Request", [text](const TextWriter& write) { writeMaskedPins(text, write); });
}

void Logger::logUnparsableRequest(std::string_view text) {
    writeEntry("Request",
               [text](const TextWriter& write) { writeMaskedPinsOfUnparsable(text, write); });
}

void Logger::logResponse(std::string_view text) {
    writeEntry("Response", [text](const TextWriter& write) { write(text); });
}
