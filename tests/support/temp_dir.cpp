#include "support/temp_dir.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    dirPath = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dirPath, ignored);
}

void TempDir::write(const std::string& name, const std::string& content) const {
    writeWholeFile(file(name), content);
}

std::string TempDir::read(const std::string& name) const {
    return readWholeFile(file(name));
}

std::vector<std::string> TempDir::list() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dirPath)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
