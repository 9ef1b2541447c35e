// The fixture of the process-level tests: a SoftHSM2 token folder of the
// test's own, the fault-injecting module over it, and the built host started
// as a child process with its configuration beside it.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "faults/fault_module.h"
#include "support/bytes_text.h"
#include "support/crypto.h"
#include "support/host_process.h"
#include "support/pkcs11_client.h"
#include "support/softhsm.h"

namespace e2e {

inline bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The slot ID as the host's "%d" log lines print it.
inline std::string slotText(CK_SLOT_ID slot) {
    return std::to_string(static_cast<int32_t>(static_cast<uint32_t>(slot)));
}

inline std::string login(const std::string& tokenSN, const std::string& pin, bool write) {
    return R"({"action":"login","tokenSN":")" + tokenSN + R"(","pin":")" + pin + "\"" +
           (write ? R"(,"mode":"write"})" : "}");
}

// A certificate put on a token by the test, with what the host should list.
struct StoredCertificate {
    Bytes der;
    Bytes id;
    std::string serialNumber;   // as listed: the serial's contents octets in hex
    std::string certificateSN;  // as requests name it: the whole DER INTEGER in hex
    std::string activationCode;
};

class HostTest : public ::testing::Test {
  protected:
    enum class Module { SoftHsm, Fault };

    static void SetUpTestSuite() {
        if (ca == nullptr) {
            ca = new TestCa();
        }
    }

    HostSettings settingsFor(Module module) const {
        HostSettings settings;
        settings.pkcs11Library =
            module == Module::Fault ? FaultModule::path() : SoftHsm::modulePath();
        return settings;
    }

    HostProcess& start(const HostSettings& settings) {
        usesFaultModule = settings.pkcs11Library == FaultModule::path();
        host.emplace(settings);
        return *host;
    }
    HostProcess& start(Module module = Module::Fault) { return start(settingsFor(module)); }

    std::string ask(const std::string& json) { return host->request(json); }

    // The test's own view of the tokens; created on first use, after the
    // tokens the test made (SoftHSM2 keeps the slot list of its C_Initialize).
    Pkcs11Client& client() {
        if (!p11) {
            p11.emplace();
        }
        return *p11;
    }

    Pkcs11Session userSession(const SoftHsmToken& token) {
        Pkcs11Session session = client().openSession(token.slot);
        session.login(CKU_USER, token.userPin);
        return session;
    }

    // A 1024-bit key pair (enough for signing, quick to make) and a
    // certificate for it, all under `id`.
    StoredCertificate addCertificate(const SoftHsmToken& token, const Bytes& id,
                                     CertificateOptions options, RsaKeyOptions keyOptions = {}) {
        Pkcs11Session session = userSession(token);
        keyOptions.id = id;
        keyOptions.bits = 1024;
        KeyPair pair = session.generateRsaKeyPair(keyOptions);
        StoredCertificate stored;
        stored.der = ca->issueForKey(session.publicKey(pair.publicKey).get(), options);
        stored.id = id;
        CK_OBJECT_HANDLE object = session.createCertificate(stored.der, id);
        Bytes serial = session.getBytes(object, CKA_SERIAL_NUMBER);
        stored.serialNumber = hexOf(Bytes(serial.begin() + 2, serial.end()));
        stored.certificateSN = hexOf(serial);
        stored.activationCode = hexOf(session.getBytes(object, CKA_CHECK_VALUE));
        return stored;
    }

    // The listing record the host writes for a certificate.
    static std::string certificateRecord(const StoredCertificate& stored,
                                         const std::string& issuerDN, const std::string& subjectAN,
                                         const std::string& subjectDN, const std::string& tokenSN,
                                         const std::string& validFrom,
                                         const std::string& validUntil) {
        return R"({"activationCode":")" + stored.activationCode + R"(","issuerDN":")" + issuerDN +
               R"(","serialNumber":")" + stored.serialNumber + R"(","subjectAN":")" + subjectAN +
               R"(","subjectDN":")" + subjectDN + R"(","tokenSN":")" + tokenSN +
               R"(","validFrom":")" + validFrom + R"(","validUntil":")" + validUntil + "\"}";
    }

    // Ends the host the way a browser does and checks that it leaves nothing
    // behind: with the fault module, no session but the login's own and no
    // search still open; exit status 0 after "End of input".
    void TearDown() override {
        if (!host || host->process().hasExited()) {
            return;
        }
        if (usesFaultModule) {
            fault.clearRules();
            std::string info = ask(R"({"action":"info"})");
            bool hasLogin = info.find("\"token\":") != std::string::npos;
            FaultState state = fault.state();
            EXPECT_EQ(state.openSessions, hasLogin ? 1u : 0u) << "sessions left open";
            EXPECT_EQ(state.activeSearches, 0u) << "searches left open";
        }
        EXPECT_EQ(host->stop(), 0) << host->errorText();
        EXPECT_TRUE(endsWith(host->errorText(), "End of input")) << host->errorText();
    }

    static inline TestCa* ca = nullptr;
    static inline const std::string issuerDN = "CN=Vantrel Test CA, O=Vantrel Tests";

    // Declared before the host, so the host stops before its tokens go.
    SoftHsm hsm;
    FaultModule fault;
    std::optional<Pkcs11Client> p11;
    std::optional<HostProcess> host;
    bool usesFaultModule = false;
};

}  // namespace e2e
