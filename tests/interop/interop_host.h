// The fixture of the interoperability tests: the built host started as a
// child process over a real PKCS#11 module, spoken to in frames.
//
// With Counting::On the host loads the fault module, without rules, in front
// of the real module: it counts the sessions and searches the host opens,
// and when the test ends the host must have none open but its login's own
// session, and must end cleanly ("End of input", exit status 0). The reply
// of info then names the fault module as the driver; tests of info start the
// host with Counting::Off. The fault module also keeps the real module
// loaded until the host exits: a module the host unloads itself
// (Counting::Off) takes the names of its own leaks with it, so in the
// sanitizer build modules that leak (NSS's roots, openCryptoki) need
// Counting::On.
//
// The set-ups the host's module needs must outlive the host: make them
// members of the test's fixture. TearDown stops the host before any member
// goes, while a test body's locals go before TearDown runs.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "e2e/host_fixture.h"
#include "faults/fault_module.h"
#include "interop/certificate_fields.h"
#include "interop/modules.h"
#include "support/host_process.h"

namespace interop {

// A test that needs root skips with one line saying so.
#define INTEROP_SKIP_UNLESS_ROOT(what)                                       \
    do {                                                                     \
        if (!::interop::runningAsRoot()) {                                   \
            GTEST_SKIP() << what << " needs root (a non-root run skips it)"; \
        }                                                                    \
    } while (false)

using e2e::login;

// The reply to a login on this token, with this error or none.
std::string loginReply(const std::string& tokenSN, const std::string& error = "");
std::string signRequest(const std::string& certificateSN, const std::string& payload);
std::string getCertificateRequest(const std::string& certificateSN);

// The listTokens record the host writes for a token, from the token's own
// CK_TOKEN_INFO (read by the test's own client).
std::string tokenRecord(const CK_TOKEN_INFO& info);
// The listCertificates record the host writes for a certificate without a
// subject alternative name.
std::string certificateRecord(const CertificateFields& fields, const std::string& tokenSN);

class InteropHostTest : public ::testing::Test {
  protected:
    enum class Counting { On, Off };

    HostProcess& startHost(const std::string& module, Counting counting = Counting::On);
    // Exactly these settings: nothing counted.
    HostProcess& startHost(const HostSettings& settings);

    std::string ask(const std::string& json) { return host->request(json); }
    nlohmann::json askJson(const std::string& json) { return nlohmann::json::parse(ask(json)); }
    // What the host wrote on standard error since `before` was read.
    std::string newErrorText(const std::string& before) {
        return host->errorText().substr(before.size());
    }

    void TearDown() override;

    std::optional<FaultModule> counter;
    std::optional<HostProcess> host;
};

}  // namespace interop
