// openCryptoki's software token (slot 3 of libopencryptoki.so), freshly
// initialised, behind its slot daemon.
//
// Starts: pkcsslotd -f over an emptied software token store. The store
// (/var/lib/opencryptoki) and the library's lock files (/var/lock/opencryptoki)
// are saved first; the token's shared memory (/dev/shm/var.lib.opencryptoki.*),
// a cache of the store that openCryptoki rebuilds when it is missing, is
// removed so the fresh store is read. The system's pkcsslotd is stopped
// meanwhile (systemd's pkcsslotd.service, or the init script's daemon); one
// that still runs makes the set-up fail, saying so. The token is initialised
// with pkcsconf: a fresh store's SO PIN is 87654321, changed to soPin(); the
// user PIN is set to userPin().
//
// Restores: the daemon stopped by its process ID, both folders put back
// exactly, the token's shared memory removed again (rebuilt from the
// restored store by the next user), /run/pkcsslotd.* removed when they were
// not there, the system's pkcsslotd started again. Holds the machine lock
// "opencryptoki" meanwhile.
//
// Gives: modulePath(), slot() 3, serial() "123", label(), soPin(),
// userPin(), the token's CK_TOKEN_INFO and mechanism list, and
// addCertificate() for a key pair with a certificate on the token (its
// fields read independently, see certificate_fields.h).
//
// Needs root (the daemon, the store). The token's PINs are 4 to 8
// characters; it refuses certificate objects carrying CKA_START_DATE and
// CKA_END_DATE (CKR_TEMPLATE_INCONSISTENT); mechanisms() says what it really
// offers (the Debian 12 build: CKM_RSA_PKCS and CKM_SHA1_RSA_PKCS, no
// CKM_SHA256_RSA_PKCS, no EC).
#pragma once

#include <p11-kit/pkcs11.h>

#include <optional>
#include <string>
#include <vector>

#include "interop/certificate_fields.h"
#include "interop/daemon.h"
#include "interop/machine_lock.h"
#include "interop/system_state.h"
#include "support/temp_dir.h"

namespace interop {

class OpenCryptokiToken {
  public:
    OpenCryptokiToken();
    ~OpenCryptokiToken();
    OpenCryptokiToken(const OpenCryptokiToken&) = delete;
    OpenCryptokiToken& operator=(const OpenCryptokiToken&) = delete;

    static std::string modulePath();

    CK_SLOT_ID slot() const { return 3; }
    // The software token's fixed serial number and the label given here.
    std::string serial() const { return "123"; }
    std::string label() const { return "Vantrel Test"; }
    std::string soPin() const { return "24681357"; }
    std::string userPin() const { return "13572468"; }

    // C_GetTokenInfo and C_GetMechanismList of the token, once initialised.
    const CK_TOKEN_INFO& tokenInfo() const { return info; }
    const std::vector<CK_MECHANISM_TYPE>& mechanisms() const { return offered; }
    bool offers(CK_MECHANISM_TYPE mechanism) const;

    // An RSA-2048 key pair made on the token (private key sensitive and not
    // extractable, CKA_ID `id`) and a certificate for it from a test CA,
    // stored without dates, which this token refuses.
    TokenCertificate addCertificate(const Bytes& id, const std::string& subject,
                                    const Bytes& serialNumber);
    std::string daemonLog() const;

  private:
    void emptyStore();
    void startDaemon();
    void initialiseToken();

    MachineLock lock{"opencryptoki"};
    PausedService service{"pkcsslotd", {"pkcsslotd.service"}, "/run/pkcsslotd.pid"};
    SavedFolder store{"/var/lib/opencryptoki"};
    SavedFolder locks{"/var/lock/opencryptoki"};
    LeftoverCleanup runFiles{"/run", "pkcsslotd"};
    TempDir folder;
    std::optional<Daemon> slotDaemon;
    CK_TOKEN_INFO info{};
    std::vector<CK_MECHANISM_TYPE> offered;
};

}  // namespace interop
