#include "common/host_config.h"

#include <cctype>
#include <climits>
#include <fstream>

#include "platform/platform.h"

namespace {

// Reads a decimal integer the way atoi does (leading blanks, a sign, digits up
// to the first other character), saturating instead of overflowing.
int readInteger(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

std::string directoryOf(const std::string& path) {
    size_t last = path.find_last_of("/\\");
    return last == std::string::npos ? path : path.substr(0, last);
}

}  // namespace

HostConfig::HostConfig(const std::string& programPath) : logDir(directoryOf(programPath)) {
    readFile(platform::configFilePath(programPath));
}

void HostConfig::readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return;
    }
    std::string line;
    while (std::getline(file, line)) {
        // What a Windows text-mode read does: CR LF reads as LF.
        if (!line.empty() && line.back() == '\r' && !file.eof()) {
            line.pop_back();
        }
        applyLine(line);
    }
}

void HostConfig::applyLine(const std::string& line) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return;
    }
    std::string key = line.substr(0, equals);
    std::string value = line.substr(equals + 1);
    if (key == "devMode") {
        // Only ever switched on: a later line cannot switch it off again.
        if (value == "true") {
            devMode = true;
        }
    } else if (key == "logDir") {
        logDir = value;
    } else if (key == "maxLogFiles") {
        maxLogFiles = readInteger(value);
    } else if (key == "pkcs11Library") {
        pkcs11Library = value;
    }
}
