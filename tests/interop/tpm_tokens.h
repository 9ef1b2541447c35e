// A TPM 2.0 as its users have it without hardware: tpm2-pkcs11 over a
// software TPM (swtpm) reached through the resource manager (tpm2-abrmd).
//
// Starts, in a folder of the test's own: swtpm on loopback with a port pair
// no other test run of the machine uses (each pair under a machine lock),
// a private D-Bus, tpm2-abrmd on it (with --allow-root, since CI runs as
// root; without the resource manager the TPM runs out of object memory as
// soon as a token is added), and tpm2-pkcs11's store with one primary key.
// The TPM's dictionary lockout is raised, so wrong PINs do not lock it.
// Each daemon is checked to be ready before it is used. The process's
// environment points tpm2-pkcs11 and the tpm2 tools at all this
// (TPM2_PKCS11_TCTI, TPM2_PKCS11_STORE, TPM2TOOLS_TCTI,
// DBUS_SESSION_BUS_ADDRESS), so a host started meanwhile uses this TPM.
//
// Stops tpm2-abrmd, then D-Bus, then swtpm, by their process IDs, on every
// path (a set-up that fails halfway too).
//
// The module's own ways, which tests rely on: every token and the empty slot
// report the serial "0000000000000000"; the empty slot lacks
// CKF_TOKEN_INITIALIZED; the model is "SW   TPM" padded with NULs.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interop/daemon.h"
#include "interop/machine_lock.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace interop {

class TpmTokens {
  public:
    TpmTokens();
    ~TpmTokens();
    TpmTokens(const TpmTokens&) = delete;
    TpmTokens& operator=(const TpmTokens&) = delete;

    static std::string modulePath();
    // What the module reports for every token and the empty slot alike.
    static std::string serial() { return "0000000000000000"; }
    static std::string soPin() { return "87654321"; }
    static std::string userPin() { return "123456"; }

    // A new token (tpm2_ptool addtoken) under the primary key.
    void addToken(const std::string& label);
    // The daemons' output, for a failing test's message.
    std::string logs() const;

  private:
    void startTpm();
    void startBus();
    void startResourceManager();
    void prepareTpm();

    // Set while the port lock is taken.
    int serverPort = 0;
    std::unique_ptr<MachineLock> portLock;
    TempDir folder;
    ScopedEnv busAddress;
    ScopedEnv pkcs11Tcti;
    ScopedEnv toolsTcti;
    ScopedEnv store;
    ScopedEnv logLevel;
    // Declared in starting order, so that they stop the other way round.
    std::optional<Daemon> tpm;
    std::optional<Daemon> bus;
    std::optional<Daemon> resourceManager;
};

}  // namespace interop
