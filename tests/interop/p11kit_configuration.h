// A p11-kit configuration of the test's own for p11-kit's proxy module
// (p11-kit-proxy.so), which a host loads to reach every module registered
// with p11-kit.
//
// Starts: a home folder holding .config/pkcs11/pkcs11.conf with
// "user-config: only" (the system's module files stay out) and the module
// files addModule writes; HOME points at it while the object lives. p11-kit
// reads a user's configuration only in a process that does not run as
// root, so hostSettings() starts the host as hostUser(): "nobody" when the
// tests run as root, else the tests' own user. Files that host must read or
// write (a SoftHSM2 token folder, the fault module's files) are handed to
// that user with shareWithHost, after the test has put on them what it
// needs.
//
// Gives: hostSettings() for a host over the proxy, addModule() for a real
// module, addFaultModule() for a module whose calls fail, privateCopy() for
// loading one module twice, and home().
//
// Restores: HOME; the folder is removed with the object. Needs no root
// (as root the host runs as "nobody").
#pragma once

#include <string>

#include "faults/fault_module.h"
#include "support/host_process.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace interop {

class P11KitConfiguration {
  public:
    P11KitConfiguration();

    static std::string proxyModule();

    // Writes <name>.module: "module: <path>" and then `extraLines` (each
    // ending in "\n"), e.g. "disable-in: vantrel\n" or
    // "x-init-reserved: paths=/some/folder\n".
    void addModule(const std::string& name, const std::string& path,
                   const std::string& extraLines = "") const;
    // A copy of a module file of its own, for loading a module a second time
    // in one process as a separate instance (one through the fault module,
    // one directly).
    std::string privateCopy(const std::string& modulePath) const;
    // The fault module as <name>.module, its files shared with the host: a
    // module whose calls fail as `fault`'s rules say (read at every call, so
    // a test may change them while the host runs). Its target should be a
    // privateCopy of a module the configuration also loads directly.
    void addFaultModule(const std::string& name, const FaultModule& fault) const;

    const std::string& hostUser() const { return user; }
    void shareWithHost(const std::string& path) const;
    // The proxy module, run as hostUser().
    HostSettings hostSettings() const;

    const std::string& home() const { return folder.path(); }

  private:
    std::string modulesFolder() const { return folder.file(".config/pkcs11/modules"); }

    TempDir folder;
    ScopedEnv homeVariable;
    std::string user;
};

}  // namespace interop
