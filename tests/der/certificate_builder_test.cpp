#include "der/certificate_builder.h"

#include <gtest/gtest.h>
#include <openssl/core_names.h>
#include <openssl/evp.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <string>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "der/der_bytes.h"
#include "der/der_writer.h"
#include "der/format_dn.h"
#include "support/case_name.h"
#include "support/hex_text.h"
#include "support/temp_dir.h"

using derbytes::Bytes;

namespace {

Bytes readFixture(const std::string& name) {
    std::string content = readWholeFile(std::string(VANTREL_TEST_DATA_DIR) + "/" + name);
    return Bytes(content.begin(), content.end());
}

std::unique_ptr<ParsedCertificate> build(const Bytes& der) {
    return CertificateBuilder(std::make_unique<ByteBuffer>(der)).getCertificate();
}

std::string text(const ByteBuffer& buffer) {
    return std::string(reinterpret_cast<const char*>(buffer.getData()), buffer.getSize());
}

// The same certificate as OpenSSL reads it.
class OpenSslCertificate {
  public:
    explicit OpenSslCertificate(const Bytes& der) {
        const unsigned char* cursor = der.data();
        x509 = d2i_X509(nullptr, &cursor, static_cast<long>(der.size()));
    }
    ~OpenSslCertificate() { X509_free(x509); }
    OpenSslCertificate(const OpenSslCertificate&) = delete;
    OpenSslCertificate& operator=(const OpenSslCertificate&) = delete;

    bool ok() const { return x509 != nullptr; }
    long version() const { return X509_get_version(x509); }
    int extensionCount() const { return X509_get_ext_count(x509); }

    template <typename T, typename Encoder>
    static std::string encoded(const T* object, Encoder encode) {
        unsigned char* out = nullptr;
        int size = encode(object, &out);
        std::string hex = size > 0 ? hexOf(out, static_cast<size_t>(size)) : "(encoding failed)";
        OPENSSL_free(out);
        return hex;
    }

    std::string subject() const { return encoded(X509_get_subject_name(x509), i2d_X509_NAME); }
    std::string issuer() const { return encoded(X509_get_issuer_name(x509), i2d_X509_NAME); }
    std::string serialNumber() const {
        return encoded(X509_get_serialNumber(x509), i2d_ASN1_INTEGER);
    }
    std::string notBefore() const { return encoded(X509_get0_notBefore(x509), i2d_ASN1_TIME); }
    std::string notAfter() const { return encoded(X509_get0_notAfter(x509), i2d_ASN1_TIME); }
    std::string publicKeyInfo() const {
        return encoded(X509_get_X509_PUBKEY(x509), i2d_X509_PUBKEY);
    }

    // Contents of the subjectAltName extension's OCTET STRING; "" when absent.
    std::string subjectAltName() const {
        int index = X509_get_ext_by_NID(x509, NID_subject_alt_name, -1);
        if (index < 0) {
            return "";
        }
        const ASN1_OCTET_STRING* data = X509_EXTENSION_get_data(X509_get_ext(x509, index));
        return hexOf(ASN1_STRING_get0_data(data), static_cast<size_t>(ASN1_STRING_length(data)));
    }

    ByteBuffer modulus() const {
        BIGNUM* n = nullptr;
        EVP_PKEY_get_bn_param(X509_get0_pubkey(x509), OSSL_PKEY_PARAM_RSA_N, &n);
        ByteBuffer bytes(static_cast<size_t>(BN_num_bytes(n)));
        BN_bn2bin(n, bytes.getData());
        BN_free(n);
        return bytes;
    }

  private:
    X509* x509 = nullptr;
};

struct CertificateCase {
    const char* file;
    long version;  // as X509_get_version reports it: 0 for v1, 2 for v3
    int extensionCount;
    const char* serialNumber;  // hex of the INTEGER's contents
    uint8_t timeTag;
    const char* notBefore;
    const char* notAfter;
    const char* subjectText;  // formatDn of the subject
    const char* subjectLog;   // what formatDn logs for it
    bool hasAltName;
    const char* altNameText;  // formatDn of the subjectAltName contents
};

std::ostream& operator<<(std::ostream& out, const CertificateCase& c) {
    return out << c.file;
}

const CertificateCase certificateCases[] = {
    {"v1.der", 0, 0, "008a0102030405060708", 0x17, "240101000000Z", "340101000000Z",
     "CN=Version One, O=JUX", "", false, ""},
    {"v3_no_extensions.der", 2, 0, "1006", 0x17, "240101000000Z", "340101000000Z",
     "CN=Pre-enrolled QARN User, OU=KW, O=JUX, Tervin, VKT, C=ZZ",
     "Unknown DN field ID = 08Unknown DN field ID = 07", false, ""},
    {"san_rfc822.der", 2, 1, "1002", 0x17, "240102030405Z", "340102030405Z", "CN=Mail Only, O=JUX",
     "", true, ""},
    {"san_upn.der", 2, 4, "1003", 0x17, "240101000000Z", "340101000000Z",
     "CN=Principal Holder, O=JUX", "", true, "Principal=alice.upn@example.test"},
    {"bmp_cn.der", 2, 3, "1004", 0x17, "240101000000Z", "340101000000Z", "CN=O=JUX", "", false, ""},
    {"generalized_time.der", 2, 3, "1005", 0x18, "20500101000000Z", "20991231235959Z",
     "CN=Far Future, O=JUX", "", false, ""},
};

const char* const fixtureFiles[] = {
    "v1.der",
    "v3_no_extensions.der",
    "san_rfc822.der",
    "san_upn.der",
    "bmp_cn.der",
    "generalized_time.der",
    "san_oid_without_octet_string.der",
};

const char* const issuerText =
    "E=ca@example.test, CN=Vantrel Test CA, O=Vantrel Test, Principal=example";

class CertificateFixtureTest : public ::testing::TestWithParam<CertificateCase> {
  protected:
    void TearDown() override { Logger::destroyInstance(); }
};

// formatDn of the bytes, with what it logged meanwhile.
std::pair<std::string, std::string> formatWithLog(const ByteBuffer& bytes) {
    testing::internal::CaptureStderr();
    std::string formatted = formatDn(bytes.getData(), bytes.getSize());
    return {formatted, testing::internal::GetCapturedStderr()};
}

}  // namespace

TEST_P(CertificateFixtureTest, ExtractsTheFields) {
    const CertificateCase& c = GetParam();
    Bytes der = readFixture(c.file);
    std::unique_ptr<ParsedCertificate> certificate = build(der);
    ASSERT_NE(certificate, nullptr);

    EXPECT_EQ(hexOf(*certificate->getDer()), hexOf(der.data(), der.size()));
    DERPrimitive* serialNumber = certificate->getSerialNumber();
    EXPECT_EQ(serialNumber->getTag(), 0x02);
    EXPECT_EQ(hexOf(serialNumber->getValue()), c.serialNumber);
    EXPECT_EQ(certificate->getNotBefore()->getTag(), c.timeTag);
    EXPECT_EQ(text(certificate->getNotBefore()->getValue()), c.notBefore);
    EXPECT_EQ(certificate->getNotAfter()->getTag(), c.timeTag);
    EXPECT_EQ(text(certificate->getNotAfter()->getValue()), c.notAfter);
    EXPECT_EQ(certificate->getSubject()->getTag(), 0x30);
    EXPECT_EQ(certificate->getIssuer()->getTag(), 0x30);
    EXPECT_EQ(certificate->getSubjectAltName() != nullptr, c.hasAltName);
}

TEST_P(CertificateFixtureTest, ReencodesFieldsAsOpenSslDoes) {
    Bytes der = readFixture(GetParam().file);
    OpenSslCertificate reference(der);
    ASSERT_TRUE(reference.ok());
    EXPECT_EQ(reference.version(), GetParam().version);
    EXPECT_EQ(reference.extensionCount(), GetParam().extensionCount);
    std::unique_ptr<ParsedCertificate> certificate = build(der);

    EXPECT_EQ(hexOf(*encodeDer(*certificate->getSubject())), reference.subject());
    EXPECT_EQ(hexOf(*encodeDer(*certificate->getIssuer())), reference.issuer());
    EXPECT_EQ(hexOf(*encodeDer(*certificate->getSerialNumber())), reference.serialNumber());
    EXPECT_EQ(hexOf(*encodeDer(*certificate->getNotBefore())), reference.notBefore());
    EXPECT_EQ(hexOf(*encodeDer(*certificate->getNotAfter())), reference.notAfter());
    ASSERT_NE(certificate->getPublicKeyInfo(), nullptr);
    EXPECT_EQ(hexOf(*encodeDer(*certificate->getPublicKeyInfo())), reference.publicKeyInfo());
    DERPrimitive* altName = certificate->getSubjectAltName();
    EXPECT_EQ(altName != nullptr ? hexOf(altName->getValue()) : "", reference.subjectAltName());
}

TEST_P(CertificateFixtureTest, FormatsNamesForTheListing) {
    const CertificateCase& c = GetParam();
    std::unique_ptr<ParsedCertificate> certificate = build(readFixture(c.file));

    EXPECT_EQ(formatWithLog(*encodeDer(*certificate->getSubject())),
              std::make_pair(std::string(c.subjectText), std::string(c.subjectLog)));
    EXPECT_EQ(formatWithLog(*encodeDer(*certificate->getIssuer())),
              std::make_pair(std::string(issuerText), std::string()));
    if (DERPrimitive* altName = certificate->getSubjectAltName()) {
        EXPECT_EQ(formatWithLog(altName->getValue()),
                  std::make_pair(std::string(c.altNameText), std::string()));
    }
}

TEST_P(CertificateFixtureTest, FindsItsOwnModulusOnly) {
    Bytes der = readFixture(GetParam().file);
    std::unique_ptr<ParsedCertificate> certificate = build(der);
    ByteBuffer modulus = OpenSslCertificate(der).modulus();
    EXPECT_EQ(modulus.getSize(), 256u);
    EXPECT_TRUE(certificate->containsModulus(modulus));

    for (const CertificateCase& other : certificateCases) {
        if (std::string(other.file) != GetParam().file) {
            EXPECT_FALSE(
                certificate->containsModulus(OpenSslCertificate(readFixture(other.file)).modulus()))
                << other.file;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CertificateFixtureTest, ::testing::ValuesIn(certificateCases),
                         PrintedCaseName());

TEST(CertificateBuilder, ContainsModulusMatchesAnyContiguousRun) {
    Bytes der = readFixture("v1.der");
    std::unique_ptr<ParsedCertificate> certificate = build(der);
    size_t size = der.size();
    const std::pair<ByteBuffer, bool> cases[] = {
        {ByteBuffer(der.data(), size), true},
        {ByteBuffer(der.data() + size - 3, 3), true},
        {ByteBuffer(der.data(), 3), true},
        {ByteBuffer(derbytes::concat({der, {0x00}})), false},
        {ByteBuffer(Bytes{0xC0, 0xFF, 0xEE, 0x00, 0xC0, 0xFF, 0xEE}), false},
        // An empty modulus would match anything.
        {ByteBuffer(size_t{0}), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(certificate->containsModulus(c.first), c.second) << c.first.getSize();
    }
}

TEST(CertificateBuilder, RefusesWhatIsNotACertificate) {
    Bytes time = {0x17, 0x0D, '2', '4', '0', '1', '0', '1', '0', '0', '0', '0', '0', '0', 'Z'};
    Bytes upToValidity = derbytes::seq({derbytes::seq(
        {{0x02, 0x01, 0x01}, derbytes::seq({}), derbytes::seq({}), derbytes::seq({time, time})})});
    const std::pair<const char*, Bytes> cases[] = {
        {"empty input", {}},
        {"empty SEQUENCE", {0x30, 0x00}},
        {"bare INTEGER", {0x02, 0x01, 0x05}},
        {"INTEGER not at depth 2", derbytes::seq({{0x02, 0x01, 0x05}})},
        {"no subject", upToValidity},
        {"subjectAltName OID without its OCTET STRING",
         readFixture("san_oid_without_octet_string.der")},
    };
    for (const auto& c : cases) {
        try {
            build(c.second);
            ADD_FAILURE() << c.first << " was accepted";
        } catch (const CertificateException& e) {
            EXPECT_EQ(e.getMessage(), "Failed to parse certificate") << c.first;
        }
    }
}

TEST(CertificateBuilder, ReaderErrorsPassThrough) {
    Bytes der = readFixture("v1.der");
    der[1] = 0x85;
    try {
        build(der);
        FAIL() << "a five-octet length was accepted";
    } catch (const DERException& e) {
        EXPECT_EQ(e.getMessage(), "DER filed size too long");
    }
}

TEST(CertificateBuilder, EveryPrefixIsRefused) {
    for (const char* file : fixtureFiles) {
        Bytes der = readFixture(file);
        for (size_t size = 0; size < der.size(); ++size) {
            try {
                build(Bytes(der.begin(), der.begin() + static_cast<long>(size)));
                ADD_FAILURE() << file << " cut to " << size << " bytes was accepted";
            } catch (const DERException&) {
            } catch (const CertificateException&) {
            }
        }
    }
}

// A prefix whose outer header is rewritten to fit it, so that the cut falls
// inside the elements: the reader must stop at whichever element runs past.
TEST(CertificateBuilder, EveryPrefixWithAFittingOuterHeaderIsSafe) {
    for (const char* file : fixtureFiles) {
        Bytes der = readFixture(file);
        ASSERT_EQ(der[1], 0x82) << file;
        ASSERT_EQ(der[5], 0x82) << file;
        size_t tbsEnd = 4 + 4 + (size_t{der[6]} << 8 | der[7]);
        for (size_t size = 4; size < der.size(); ++size) {
            Bytes prefix = derbytes::tlv(0x30, Bytes(der.begin() + 4, der.begin() + long(size)));
            try {
                build(prefix);
                EXPECT_GE(size, tbsEnd) << file << " cut to " << size << " bytes was accepted";
            } catch (const DERException&) {
            } catch (const CertificateException&) {
            }
        }
    }
}
