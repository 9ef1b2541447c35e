#include "faults/fault_module.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace {

void* loadedSymbol(const char* name) {
    void* handle = dlopen(VANTREL_FAULT_MODULE, RTLD_NOW | RTLD_NOLOAD);
    if (handle == nullptr) {
        throw std::runtime_error("the fault module is not loaded in this process");
    }
    void* symbol = dlsym(handle, name);
    dlclose(handle);
    if (symbol == nullptr) {
        throw std::runtime_error(std::string("the fault module lacks ") + name);
    }
    return symbol;
}

}  // namespace

unsigned long FaultState::callsOf(const std::string& function) const {
    auto found = calls.find(function);
    return found == calls.end() ? 0 : found->second;
}

FaultState parseFaultState(const std::string& text) {
    FaultState state;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "open_sessions") {
            words >> state.openSessions;
        } else if (key == "active_searches") {
            words >> state.activeSearches;
        } else if (key == "calls") {
            std::string function;
            unsigned long count = 0;
            words >> function >> count;
            state.calls[function] = count;
        }
    }
    return state;
}

FaultModule::FaultModule(const std::string& target)
    : rulesVariable("VANTREL_FAULT_RULES", folder.file("rules")),
      stateVariable("VANTREL_FAULT_STATE", folder.file("state")),
      targetVariable("VANTREL_FAULT_TARGET", target) {}

std::map<std::string, unsigned long> FaultState::callsSince(const FaultState& earlier) const {
    std::map<std::string, unsigned long> made;
    for (const auto& [function, count] : calls) {
        unsigned long before = earlier.callsOf(function);
        if (count > before) {
            made[function] = count - before;
        }
    }
    return made;
}

void FaultModule::setRules(const std::string& rules) {
    // The module restarts its counts when the file's content changes.
    folder.write("rules.new", rules + "\n# generation " + std::to_string(++generation) + "\n");
    std::filesystem::rename(folder.file("rules.new"), rulesPath());
}

FaultState FaultModule::state() const {
    if (!std::filesystem::exists(statePath())) {
        return FaultState();
    }
    return parseFaultState(readWholeFile(statePath()));
}

unsigned long FaultModule::loadedOpenSessions() {
    return reinterpret_cast<unsigned long (*)()>(loadedSymbol("vantrel_fault_open_sessions"))();
}

unsigned long FaultModule::loadedActiveSearches() {
    return reinterpret_cast<unsigned long (*)()>(loadedSymbol("vantrel_fault_active_searches"))();
}

unsigned long FaultModule::loadedCalls(const std::string& function) {
    auto calls =
        reinterpret_cast<unsigned long (*)(const char*)>(loadedSymbol("vantrel_fault_calls"));
    return calls(function.c_str());
}
