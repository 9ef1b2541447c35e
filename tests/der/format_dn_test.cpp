#include "der/format_dn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "common/logger.h"
#include "der/der_bytes.h"
#include "support/case_name.h"

using derbytes::attribute;
using derbytes::attributeOid;
using derbytes::Bytes;
using derbytes::concat;
using derbytes::seq;
using derbytes::tlv;

namespace {

const Bytes upnOid = {0x2B, 0x06, 0x01, 0x04, 0x01, 0x82, 0x37, 0x14, 0x02, 0x03};
const Bytes domainComponentOid = {0x09, 0x92, 0x26, 0x89, 0x93, 0xF2, 0x2C, 0x64, 0x01, 0x19};
const Bytes emailAddressOid = {0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x09, 0x01};

const Bytes enrolledUserName = seq({
    attribute(attributeOid(6), 0x13, "ZZ"),
    attribute(attributeOid(8), 0x13, "VKT"),
    attribute(attributeOid(7), 0x13, "Tervin"),
    attribute(attributeOid(10), 0x13, "JUX"),
    attribute(attributeOid(11), 0x13, "KW"),
    attribute(attributeOid(3), 0x13, "Pre-enrolled QARN User"),
});

Bytes otherName(const std::string& principal) {
    return tlv(0xA0, concat({tlv(0x06, upnOid), tlv(0xA0, tlv(0x0C, principal))}));
}

struct FormatCase {
    const char* name;
    Bytes value;
    std::string text;
    std::string logged;
};

std::ostream& operator<<(std::ostream& out, const FormatCase& c) {
    return out << c.name;
}

class FormatDnTest : public ::testing::TestWithParam<FormatCase> {
  protected:
    void TearDown() override { Logger::destroyInstance(); }
};

const FormatCase formatCases[] = {
    {"NameInReverseOrderWithUnlabelledAttributesBare", enrolledUserName,
     "CN=Pre-enrolled QARN User, OU=KW, O=JUX, Tervin, VKT, C=ZZ",
     "Unknown DN field ID = 08Unknown DN field ID = 07"},
    // The BMPString is skipped, so the CN label stays for the next attribute.
    {"BmpStringValue",
     seq({attribute(attributeOid(3), 0x1E, Bytes{0x03, 0xA9, 0x00, 0x6D}),
          attribute(attributeOid(10), 0x13, "JUX")}),
     "CN=O=JUX", ""},
    {"Utf8AndIa5Strings",
     seq({attribute(emailAddressOid, 0x16, "a@b.test"),
          attribute(attributeOid(3), 0x0C, "Zo\xC3\xAB")}),
     "CN=Zo\xC3\xAB, E=a@b.test", ""},
    {"DomainComponentReadsAsPrincipal", seq({attribute(domainComponentOid, 0x16, "example")}),
     "Principal=example", ""},
    {"OtherNameUserPrincipalName", seq({otherName("alice@example.test")}),
     "Principal=alice@example.test", ""},
    {"Rfc822NameOnly", seq({tlv(0x81, "alice@example.test")}), "", ""},
    {"OtherNameAmongImplicitlyTaggedNames",
     seq({tlv(0x82, "host.example.test"), otherName("bob"), tlv(0x81, "bob@example.test")}),
     "Principal=bob", ""},
    {"OtherConstructedTagsAreSkippedWhole",
     seq({tlv(0xA1, tlv(0x13, "hidden")), attribute(attributeOid(10), 0x13, "JUX")}), "O=JUX", ""},
    {"OidOfUnknownLength",
     seq({attribute({0x2A, 0x03, 0x04, 0x05, 0x06}, 0x13, "bare"),
          attribute(attributeOid(3), 0x13, "x")}),
     "CN=x, bare", "Unknown DN field len = 5"},
    {"EmptyOidLogsItsLength", seq({attribute({}, 0x13, "v")}), "v", "Unknown DN field len = 0"},
    {"LongFormLengths", seq({attribute(attributeOid(3), 0x13, std::string(200, 'q'))}),
     "CN=" + std::string(200, 'q'), ""},
    {"Empty", {}, "", ""},
};

// A value whose inner lengths run past its end: the walk stops before the
// offending element and keeps what was finished before it.
const FormatCase truncatedCases[] = {
    {"CutInsideTheOuterSequence", Bytes(enrolledUserName.begin(), enrolledUserName.end() - 1), "",
     ""},
    {"LoneTagOctet", concat({tlv(0x06, attributeOid(10)), tlv(0x13, "JUX"), {0x13}}), "O=JUX", ""},
    {"MissingLengthOctets",
     concat({tlv(0x06, attributeOid(10)), tlv(0x13, "JUX"), {0x13, 0x82, 0x00}}), "O=JUX", ""},
    {"FiveLengthOctets", concat({tlv(0x13, "A"), {0x13, 0x85, 0x00, 0x00, 0x00, 0x00, 0x01, 0x42}}),
     "A", ""},
    {"FourLengthOctetsAreRead", {0x13, 0x84, 0x00, 0x00, 0x00, 0x01, 0x42}, "B", ""},
    {"HugeLength", concat({tlv(0x13, "A"), {0x13, 0x84, 0xFF, 0xFF, 0xFF, 0xFF, 0x42}}), "A", ""},
    // The label already in `item` is dropped with its unfinished attribute.
    {"ValueRunsPast",
     concat({tlv(0x06, attributeOid(10)),
             tlv(0x13, "JUX"),
             tlv(0x06, attributeOid(3)),
             {0x13, 0x09, 'a', 'b'}}),
     "O=JUX", ""},
    {"OidRunsPastIsNeitherLabelledNorLogged", {0x06, 0x03, 0x55, 0x04}, "", ""},
    {"ConstructedElementRunsPast", {0x31, 0x10, 0x13, 0x01, 0x41}, "", ""},
};

}  // namespace

TEST_P(FormatDnTest, Formats) {
    const FormatCase& c = GetParam();
    // An exact-size heap copy, so that the sanitizer sees any read past the end.
    std::unique_ptr<uint8_t[]> value(new uint8_t[c.value.size()]);
    std::copy(c.value.begin(), c.value.end(), value.get());
    testing::internal::CaptureStderr();
    std::string text = formatDn(value.get(), c.value.size());
    std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(logged, c.logged);
}

INSTANTIATE_TEST_SUITE_P(Values, FormatDnTest, ::testing::ValuesIn(formatCases), PrintedCaseName());

INSTANTIATE_TEST_SUITE_P(Truncated, FormatDnTest, ::testing::ValuesIn(truncatedCases),
                         PrintedCaseName());

TEST(FormatDn, EveryPrefixOfAGeneralNamesIsSafe) {
    Bytes names = seq({tlv(0x81, "a@example.test"), otherName("alice@example.test")});
    for (size_t size = 0; size < names.size(); ++size) {
        std::unique_ptr<uint8_t[]> prefix(new uint8_t[size]);
        std::copy(names.begin(), names.begin() + static_cast<long>(size), prefix.get());
        EXPECT_EQ(formatDn(prefix.get(), size), "") << size;
    }
    // Without the outer SEQUENCE, a cut after the principal keeps it.
    Bytes bare = otherName("alice@example.test");
    bare.push_back(0x81);
    EXPECT_EQ(formatDn(bare.data(), bare.size()), "Principal=alice@example.test");
}
