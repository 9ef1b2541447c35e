// SoftHSM2 with a token folder of its own, so nothing a test does can reach
// another test's tokens or a real token.
//
// The constructor writes softhsm2.conf into a fresh folder and points
// SOFTHSM2_CONF at it (the previous value comes back with the destructor), so
// any module loaded afterwards in this process, and any child process started
// meanwhile, uses these tokens. SoftHSM2 reads the variable in C_Initialize:
// create the tokens a test needs before a module is initialised, since an
// initialised SoftHSM2 keeps the slot list it found.
#pragma once

#include <p11-kit/pkcs11.h>

#include <string>
#include <vector>

#include "support/scoped_env.h"
#include "support/temp_dir.h"

struct SoftHsmSlot {
    CK_SLOT_ID slot = 0;
    bool initialized = false;
    std::string serial;  // trailing blanks removed; empty on the blank slot
    std::string label;   // likewise
};

struct SoftHsmToken {
    CK_SLOT_ID slot = 0;
    std::string serial;  // 16 hex digits
    std::string label;
    std::string soPin;
    std::string userPin;
};

class SoftHsm {
  public:
    SoftHsm();
    ~SoftHsm() = default;
    SoftHsm(const SoftHsm&) = delete;
    SoftHsm& operator=(const SoftHsm&) = delete;

    static std::string modulePath() { return SOFTHSM2_MODULE; }
    const std::string& confPath() const { return conf; }
    std::string tokenDir() const { return folder.file("tokens"); }

    // Initialises the blank slot's token (softhsm2-util --init-token --free):
    // its slot ID then becomes one derived from the new serial number, and a
    // new blank slot appears.
    SoftHsmToken createToken(const std::string& label, const std::string& soPin = "87654321",
                             const std::string& userPin = "123456") const;
    // Every slot in the module's order; SoftHSM2 always lists one blank slot.
    std::vector<SoftHsmSlot> slots() const;
    CK_SLOT_ID blankSlot() const;

  private:
    TempDir folder;
    std::string conf;
    ScopedEnv confVariable;
};
