// A CAC smart card in a virtual reader, reached through OpenSC's PKCS#11
// module (opensc-pkcs11.so), as a person's card in a USB reader would be.
//
// Starts: a pcscd of its own (pcscd --foreground, with a reader
// configuration holding only the vpcd driver, whose reader waits for a card
// on port 35963 of the loopback address) and the card program
// (virtual_cac_card.cpp), which emulates the card with libcacard from an NSS
// database made in a temporary folder: two RSA-2048 keys, each with a
// certificate issued by a test CA. The system's pcscd is stopped meanwhile
// (systemd's pcscd.socket and pcscd.service, or the init script's daemon).
// A pcscd that still runs or a port already taken makes the set-up fail,
// saying so.
//
// Restores: the card program and pcscd stopped by their process IDs,
// /run/pcscd removed when it was not there before, the system's pcscd
// started again, the temporary folder removed. Holds the machine lock
// "pcscd" meanwhile.
//
// Gives: modulePath() (OpenSC), the card's slot, CK_TOKEN_INFO and serial
// as OpenSC reports them (read by the set-up's own OpenSC client), its PIN,
// and its two certificates: DER, public key, and the fields a listing
// should show read independently with libcrypto (their certificateSN is
// what sign and getCertificate requests name: 02030ca101, 02030ca102).
//
// Needs root (pcscd's socket is in /run/pcscd). The card is scanned by
// OpenSC on the first request of each process, which takes a few seconds.
// OpenSC lists the card read-only: writes answer CKR_FUNCTION_NOT_SUPPORTED;
// the emulator answers CKR_GENERAL_ERROR to a wrong PIN and a PIN change.
#pragma once

#include <p11-kit/pkcs11.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "interop/certificate_fields.h"
#include "interop/daemon.h"
#include "interop/machine_lock.h"
#include "interop/system_state.h"
#include "support/temp_dir.h"

namespace interop {

class VirtualSmartCard {
  public:
    static constexpr int kReaderPort = 35963;

    VirtualSmartCard();
    ~VirtualSmartCard();
    VirtualSmartCard(const VirtualSmartCard&) = delete;
    VirtualSmartCard& operator=(const VirtualSmartCard&) = delete;

    static std::string modulePath();

    // As OpenSC reports the card (read by the set-up's own OpenSC client).
    CK_SLOT_ID slot() const { return cardSlot; }
    const CK_TOKEN_INFO& tokenInfo() const { return info; }
    const std::string& tokenSerial() const { return serial; }
    const std::string& pin() const { return cardPin; }

    // The card's certificates in the card's order. Their CKA_ID is OpenSC's
    // ("0001", "0002"), left empty here.
    const std::vector<TokenCertificate>& certificates() const { return cardCertificates; }
    // The public key of certificates()[i], for checking signatures.
    EvpPkeyPtr publicKey(size_t i) const;

    // What pcscd and the card program wrote, for failure messages.
    std::string logs() const;

  private:
    void makeDatabase();
    void startReader();
    void insertCard();
    void readToken();

    MachineLock lock{"pcscd"};
    PausedService service{"pcscd", {"pcscd.socket", "pcscd.service"}, "/run/pcscd/pcscd.pid"};
    LeftoverCleanup runFolder{"/run", "pcscd"};
    TempDir folder;
    std::string cardPin = "13572468";
    std::vector<TokenCertificate> cardCertificates;
    std::optional<Daemon> pcscd;
    std::optional<Daemon> card;
    CK_SLOT_ID cardSlot = 0;
    CK_TOKEN_INFO info{};
    std::string serial;
};

}  // namespace interop
