// The host with the certificate stores of the system, loaded directly:
// p11-kit's trust module (the system's trust anchors) and NSS's built-in
// roots, both read-only, and NSS's softoken. None needs a set-up; the first
// two list the machine's own certificates, compared here with what they
// come from.
#include <gtest/gtest.h>

#include <openssl/pem.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "interop/interop_host.h"
#include "support/pkcs11_client.h"

namespace interop {
namespace {

// The bundle p11-kit's trust module reads on Debian.
constexpr char kSystemBundle[] = "/etc/ssl/certs/ca-certificates.crt";

std::vector<Bytes> bundleCertificates() {
    std::vector<Bytes> certificates;
    FILE* file = std::fopen(kSystemBundle, "r");
    if (file == nullptr) {
        throw std::runtime_error(std::string("cannot read ") + kSystemBundle);
    }
    while (X509* certificate = PEM_read_X509(file, nullptr, nullptr, nullptr)) {
        unsigned char* der = nullptr;
        int length = i2d_X509(certificate, &der);
        certificates.emplace_back(der, der + length);
        OPENSSL_free(der);
        X509_free(certificate);
    }
    std::fclose(file);
    return certificates;
}

// What identifies a listed certificate, whatever its names hold.
using Identity = std::pair<std::string, std::string>;
Identity identityOf(const CertificateFields& fields) {
    return {fields.serialNumber, fields.activationCode};
}
Identity identityOf(const nlohmann::json& record) {
    return {record["serialNumber"], record["activationCode"]};
}

class CertificateStoresTest : public InteropHostTest {
  protected:
    CK_TOKEN_INFO onlyToken(const std::string& module) {
        Pkcs11Client client(module);
        std::vector<CK_SLOT_ID> slots = client.slots();
        if (slots.size() != 1) {
            throw std::runtime_error(module + " should show one token");
        }
        return client.tokenInfo(slots.front());
    }
};

TEST_F(CertificateStoresTest, TheTrustModuleListsTheSystemsAnchors) {
    CK_TOKEN_INFO info = onlyToken(p11KitTrustModule());
    EXPECT_EQ(PADDED_TEXT(info.label), "System Trust");
    // The certificates as the module's own objects give them: its dates are
    // its own reading of the certificate (it reads the UTCTime 700101 of one
    // certificate as 2070), the rest comes from the certificate's DER.
    std::map<Identity, CertificateFields> expected;
    std::set<Bytes> stored;
    {
        Pkcs11Client client(p11KitTrustModule());
        Pkcs11Session session = client.openSession(client.slots().front(), false);
        for (CK_OBJECT_HANDLE object : session.find(CKO_CERTIFICATE)) {
            CertificateFields fields = listedFields(session, object);
            expected[identityOf(fields)] = fields;
            stored.insert(session.getBytes(object, CKA_VALUE));
        }
    }
    std::vector<Bytes> bundle = bundleCertificates();
    EXPECT_EQ(stored, std::set<Bytes>(bundle.begin(), bundle.end()));

    startHost(p11KitTrustModule());
    EXPECT_EQ(ask(R"({"action":"listTokens"})"),
              R"({"action":"listTokens","tokens":[)" + tokenRecord(info) + "]}");
    nlohmann::json listed = askJson(R"({"action":"listCertificates","tokenSN":"1"})");
    ASSERT_EQ(listed.value("certificates", nlohmann::json::array()).size(), expected.size())
        << listed.dump().substr(0, 500);
    size_t namesCompared = 0;
    for (const nlohmann::json& record : listed["certificates"]) {
        auto found = expected.find(identityOf(record));
        ASSERT_NE(found, expected.end()) << record.dump();
        const CertificateFields& fields = found->second;
        EXPECT_EQ(record["validFrom"], fields.validFrom) << record.dump();
        EXPECT_EQ(record["validUntil"], fields.validUntil) << record.dump();
        EXPECT_EQ(record["tokenSN"], "1");
        if (fields.plainNames) {
            EXPECT_EQ(record["subjectDN"], fields.subjectDN);
            EXPECT_EQ(record["issuerDN"], fields.issuerDN);
            ++namesCompared;
        }
    }
    EXPECT_GT(namesCompared, 10u);

    // The store has no PIN: the module refuses a login as such.
    EXPECT_EQ(ask(login("1", "1234", false)),
              R"j({"action":"login","error":"Login failed (rc=259)","tokenSN":"1"})j");
}

TEST_F(CertificateStoresTest, NssBuiltInRootsShowAsAToken) {
    CK_TOKEN_INFO info = onlyToken(nssRootsModule());
    startHost(nssRootsModule());
    EXPECT_EQ(ask(R"({"action":"listTokens"})"),
              R"({"action":"listTokens","tokens":[)" + tokenRecord(info) + "]}");
    EXPECT_EQ(PADDED_TEXT(info.label), "Builtin Object Token");
}

// NSS's roots keep no dates and no check values: every root is listed, in
// the module's order, with those fields empty and its names and serial as
// the certificate says.
TEST_F(CertificateStoresTest, NssBuiltInRootsListEveryRoot) {
    const std::string tokenSN = PADDED_TEXT(onlyToken(nssRootsModule()).serialNumber);
    std::vector<CertificateFields> roots;
    {
        Pkcs11Client client(nssRootsModule());
        Pkcs11Session session = client.openSession(client.slots().front(), false);
        for (CK_OBJECT_HANDLE object : session.find(CKO_CERTIFICATE)) {
            roots.push_back(listedFields(session, object));
        }
    }
    ASSERT_GT(roots.size(), 100u);
    startHost(nssRootsModule());
    for (const std::string& request :
         {std::string(R"({"action":"listCertificates"})"),
          R"({"action":"listCertificates","tokenSN":")" + tokenSN + "\"}"}) {
        SCOPED_TRACE(request);
        nlohmann::json listed = askJson(request);
        const nlohmann::json& records = listed["certificates"];
        ASSERT_EQ(records.size(), roots.size()) << listed.dump().substr(0, 500);
        size_t namesCompared = 0;
        for (size_t i = 0; i < roots.size(); ++i) {
            const CertificateFields& root = roots[i];
            EXPECT_EQ(records[i]["serialNumber"], root.serialNumber) << i;
            EXPECT_EQ(records[i]["validFrom"], root.validFrom) << i;
            EXPECT_EQ(records[i]["validUntil"], root.validUntil) << i;
            EXPECT_EQ(records[i]["activationCode"], root.activationCode) << i;
            EXPECT_EQ(records[i]["tokenSN"], tokenSN);
            if (root.plainNames) {
                EXPECT_EQ(records[i]["subjectDN"], root.subjectDN) << i;
                EXPECT_EQ(records[i]["issuerDN"], root.issuerDN) << i;
                ++namesCompared;
            }
        }
        EXPECT_GT(namesCompared, 10u);
    }
}

// NSS's softoken needs NSS's own initialisation arguments (its database
// folder among them): a caller that passes none gets CKR_ARGUMENTS_BAD.
TEST_F(CertificateStoresTest, NssSoftokenRefusesToStartWithoutItsArguments) {
    try {
        Pkcs11Client softoken(nssSoftokenModule(), Pkcs11Client::Instance::Fresh);
        ADD_FAILURE() << "the softoken started without arguments";
    } catch (const Pkcs11Error& error) {
        EXPECT_EQ(error.rv(), static_cast<CK_RV>(CKR_ARGUMENTS_BAD));
    }
}

// The host then counts the module as not loaded: the page hears that the
// PKCS#11 API could not be initialised, never that there are no tokens.
TEST_F(CertificateStoresTest, NssSoftokenIsNotLoaded) {
    startHost(nssSoftokenModule());
    EXPECT_EQ(
        ask(R"({"action":"info"})"),
        R"({"action":"info","driver":"None","error":"There is no active token","host":"1.4"})");
    for (const char* action : {"listTokens", "listCertificates"}) {
        EXPECT_EQ(ask(R"({"action":")" + std::string(action) + "\"}"),
                  R"({"action":")" + std::string(action) +
                      R"(","error":"Failed to initalise PKCS11 API"})");
    }
    EXPECT_EQ(ask(login("1", "1234", false)),
              R"({"action":"login","error":"Failed to initalise PKCS11 API","tokenSN":"1"})");
    EXPECT_EQ(host->errorText(), "Error loading PKCS11 functionsFailed to initialise PKCS11");
}

}  // namespace
}  // namespace interop
