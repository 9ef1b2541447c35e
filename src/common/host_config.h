// Settings read once at start-up from the file beside the executable.
#pragma once

#include <string>

class HostConfig {
  public:
    // Sets the defaults for the program path, then reads its configuration file
    // if there is one. A missing or unreadable file leaves the defaults.
    explicit HostConfig(const std::string& programPath);

    bool getDevMode() const { return devMode; }
    std::string getLogDir() const { return logDir; }
    int getMaxLogFiles() const { return maxLogFiles; }
    // The PKCS#11 module to load instead of the default; empty when not set.
    std::string getPkcs11Library() const { return pkcs11Library; }

  private:
    void readFile(const std::string& path);
    void applyLine(const std::string& line);

    bool devMode = false;
    std::string logDir;
    int maxLogFiles = 0;
    std::string pkcs11Library;
};
