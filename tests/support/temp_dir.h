// A fresh folder under the system's temporary directory, removed with
// everything in it when the object goes.
#pragma once

#include "support/whole_file.h"

#include <string>
#include <vector>

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return dirPath; }
    std::string file(const std::string& name) const { return dirPath + "/" + name; }

    void write(const std::string& name, const std::string& content) const;
    std::string read(const std::string& name) const;
    // Names of the entries, sorted.
    std::vector<std::string> list() const;

  private:
    std::string dirPath;
};
