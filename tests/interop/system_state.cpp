#include "interop/system_state.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/run_tool.h"

namespace interop {

namespace {

bool systemdRuns() {
    return std::filesystem::exists("/run/systemd/system");
}

}  // namespace

SavedFolder::SavedFolder(std::string path) : original(std::move(path)) {
    existed = std::filesystem::exists(original);
    if (existed) {
        runTool({"cp", "-a", original, copy.file("saved")});
    }
}

SavedFolder::~SavedFolder() {
    try {
        std::filesystem::remove_all(original);
        if (existed) {
            runTool({"cp", "-a", copy.file("saved"), original});
        }
    } catch (const std::exception& error) {
        ADD_FAILURE() << "cannot restore " << original << ": " << error.what();
    }
}

LeftoverCleanup::LeftoverCleanup(std::string folderPath, std::string namePrefix)
    : folder(std::move(folderPath)), prefix(std::move(namePrefix)), before(names()) {}

LeftoverCleanup::~LeftoverCleanup() {
    for (const std::string& name : names()) {
        if (before.count(name) == 0) {
            std::error_code ignored;
            std::filesystem::remove_all(folder + "/" + name, ignored);
        }
    }
}

std::set<std::string> LeftoverCleanup::names() const {
    std::set<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0) {
            found.insert(name);
        }
    }
    return found;
}

PausedService::PausedService(std::string serviceName, std::vector<std::string> units,
                             std::string pidFile)
    : name(std::move(serviceName)) {
    if (systemdRuns()) {
        for (const std::string& unit : units) {
            if (tryTool({"systemctl", "is-active", "--quiet", unit}).status == 0) {
                runTool({"systemctl", "stop", unit});
                stoppedUnits.push_back(unit);
            }
        }
        return;
    }
    std::string script = "/etc/init.d/" + name;
    if (runningProcess(pidFile, name) && std::filesystem::exists(script)) {
        runTool({script, "stop"});
        stoppedByScript = true;
    }
}

PausedService::~PausedService() {
    std::vector<std::vector<std::string>> starts;
    if (stoppedByScript) {
        starts.push_back({"/etc/init.d/" + name, "start"});
    }
    for (const std::string& unit : stoppedUnits) {
        starts.push_back({"systemctl", "start", unit});
    }
    for (const std::vector<std::string>& start : starts) {
        ToolResult started = tryTool(start);
        if (started.status != 0) {
            ADD_FAILURE() << "cannot start " << name << " again: " << started.output;
        }
    }
}

std::optional<pid_t> runningProcess(const std::string& pidFile, const std::string& name) {
    std::ifstream file(pidFile);
    long pid = 0;
    if (!(file >> pid) || pid <= 0) {
        return std::nullopt;
    }
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string command;
    if (!std::getline(comm, command) || command != name) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

}  // namespace interop
