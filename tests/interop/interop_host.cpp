#include "interop/interop_host.h"

#include "support/pkcs11_client.h"

namespace interop {

std::string loginReply(const std::string& tokenSN, const std::string& error) {
    return R"({"action":"login",)" + (error.empty() ? "" : R"("error":")" + error + "\",") +
           R"("tokenSN":")" + tokenSN + "\"}";
}

std::string signRequest(const std::string& certificateSN, const std::string& payload) {
    return R"({"action":"sign","certificateSN":")" + certificateSN + R"(","payload":")" + payload +
           "\"}";
}

std::string getCertificateRequest(const std::string& certificateSN) {
    return R"({"action":"getCertificate","certificateSN":")" + certificateSN + "\"}";
}

namespace {

// A PIN length as the host prints it: the low 32 bits taken as signed, so
// CK_UNAVAILABLE_INFORMATION gives -1.
std::string pinLength(CK_ULONG length) {
    return std::to_string(static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(length))));
}

}  // namespace

std::string tokenRecord(const CK_TOKEN_INFO& info) {
    return R"({"pmax":)" + pinLength(info.ulMaxPinLen) + R"(,"pmin":)" +
           pinLength(info.ulMinPinLen) + R"(,"tokenLabel":")" + PADDED_TEXT(info.label) +
           R"(","tokenModel":")" + PADDED_TEXT(info.model) + R"(","tokenSN":")" +
           PADDED_TEXT(info.serialNumber) + "\"}";
}

std::string certificateRecord(const CertificateFields& fields, const std::string& tokenSN) {
    return R"({"activationCode":")" + fields.activationCode + R"(","issuerDN":")" +
           fields.issuerDN + R"(","serialNumber":")" + fields.serialNumber +
           R"(","subjectAN":"","subjectDN":")" + fields.subjectDN + R"(","tokenSN":")" + tokenSN +
           R"(","validFrom":")" + fields.validFrom + R"(","validUntil":")" + fields.validUntil +
           "\"}";
}

HostProcess& InteropHostTest::startHost(const std::string& module, Counting counting) {
    HostSettings settings;
    settings.pkcs11Library = module;
    if (counting == Counting::On) {
        counter.emplace(module);
        settings.pkcs11Library = FaultModule::path();
    }
    host.emplace(settings);
    return *host;
}

HostProcess& InteropHostTest::startHost(const HostSettings& settings) {
    host.emplace(settings);
    return *host;
}

void InteropHostTest::TearDown() {
    if (!host || host->process().hasExited()) {
        host.reset();
        return;
    }
    if (counter) {
        std::string info = ask(R"({"action":"info"})");
        bool hasLogin = info.find("\"token\":") != std::string::npos;
        FaultState state = counter->state();
        EXPECT_EQ(state.openSessions, hasLogin ? 1u : 0u) << "sessions left open";
        EXPECT_EQ(state.activeSearches, 0u) << "searches left open";
    }
    EXPECT_EQ(host->stop(), 0) << host->errorText();
    EXPECT_TRUE(e2e::endsWith(host->errorText(), "End of input")) << host->errorText();
    // The host goes before the set-ups its module needs.
    host.reset();
}

}  // namespace interop
