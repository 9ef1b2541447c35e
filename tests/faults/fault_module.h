// Drives the fault-injecting PKCS#11 module (tests/faults/README.md):
// its rule file, its state file and, in this process, its counters.
//
// The constructor makes a folder for the two files and points
// VANTREL_FAULT_RULES, VANTREL_FAULT_STATE and VANTREL_FAULT_TARGET at them and
// at the target module (restored by the destructor), so the module loaded by
// the code under test, in this process or in a child started meanwhile,
// follows this object's rules.
#pragma once

#include <map>
#include <string>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

struct FaultState {
    unsigned long openSessions = 0;
    unsigned long activeSearches = 0;
    std::map<std::string, unsigned long> calls;  // since the last C_Initialize

    unsigned long callsOf(const std::string& function) const;
    // The calls made since `earlier` was read, by function; functions not
    // called since are left out. A fault sweep runs an operation once, takes
    // these, and then fails each of those calls in turn with "call N".
    std::map<std::string, unsigned long> callsSince(const FaultState& earlier) const;
};

FaultState parseFaultState(const std::string& text);

class FaultModule {
  public:
    explicit FaultModule(const std::string& target = SOFTHSM2_MODULE);
    FaultModule(const FaultModule&) = delete;
    FaultModule& operator=(const FaultModule&) = delete;

    // The module to load instead of SoftHSM2.
    static std::string path() { return VANTREL_FAULT_MODULE; }
    std::string rulesPath() const { return folder.file("rules"); }
    std::string statePath() const { return folder.file("state"); }

    // Replaces the rules in one step: a module reading at that moment sees
    // the old rules or the new ones, never a mixture. Every call restarts
    // the counting of "call N" from the module's next call, even when the
    // rules are the same as before.
    void setRules(const std::string& rules);
    void clearRules() { setRules(""); }

    // The state file as the module last wrote it (all zero before any call).
    FaultState state() const;

    // The counters of the module loaded from path() in this process; throw
    // when it is not loaded.
    static unsigned long loadedOpenSessions();
    static unsigned long loadedActiveSearches();
    static unsigned long loadedCalls(const std::string& function);

  private:
    TempDir folder;
    unsigned long generation = 0;
    ScopedEnv rulesVariable;
    ScopedEnv stateVariable;
    ScopedEnv targetVariable;
};
