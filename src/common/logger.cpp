#include "common/logger.h"

#include <algorithm>
#include <cstdarg>
#include <vector>

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
    file = fopen(filePath.c_str(), "a+");
    rotateLogFiles();
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

void Logger::error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fflush(stderr);
    if (file != nullptr) {
        va_start(args, format);
        vfprintf(file, format, args);
        va_end(args);
        fflush(file);
    }
}

void Logger::writeEntry(const char* kind, const std::string& text) {
    if (file == nullptr) {
        return;
    }
    std::string stamp = timestamp();
    fprintf(file, "\n%s\n%s:\n", stamp.c_str(), kind);
    fwrite(text.data(), 1, text.size(), file);
    fputc('\n', file);
    fflush(file);
}

void Logger::logRequest(const std::string& text) {
    if (file != nullptr) {
        writeEntry("Request", maskPins(text));
    }
}

void Logger::logResponse(const std::string& text) {
    writeEntry("Response", text);
}
