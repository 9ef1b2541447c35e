#include "der/der_writer.h"

#include <gtest/gtest.h>

#include "der/der_bytes.h"
#include "der/der_parser.h"
#include "support/hex_text.h"

using derbytes::Bytes;

namespace {

std::string reencoded(const Bytes& bytes) {
    ByteBuffer buffer(bytes);
    std::unique_ptr<DERField> field = DERParser(&buffer).parseField();
    return hexOf(*encodeDer(*field));
}

}  // namespace

TEST(DERWriter, WritesLengthsInTheShortestForm) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "00"},
        {127, "7f"},
        {128, "8180"},
        {255, "81ff"},
        {256, "820100"},
        {266, "82010a"},
        {65535, "82ffff"},
        {65536, "83010000"},
        {0x01000000, "8401000000"},
        {0x7FFFFFFF, "847fffffff"},
        {0xFFFFFFFF, "84ffffffff"},
    };
    for (const auto& c : cases) {
        DERWriter writer;
        writer.writeLength(c.first);
        EXPECT_EQ(hexOf(*writer.getBuffer()), c.second) << c.first;
    }
}

TEST(DERWriter, ReproducesWhatTheReaderRead) {
    Bytes long128 = derbytes::tlv(0x04, Bytes(128, 0x5A));
    Bytes long300 = derbytes::tlv(0x30, derbytes::tlv(0x04, Bytes(296, 1)));
    const Bytes cases[] = {
        {0x30, 0x03, 0x02, 0x01, 0x05},
        {0x02, 0x03, 0x01, 0x00, 0x01},
        {0x05, 0x00},
        {0xA0, 0x03, 0x02, 0x01, 0x02},
        long128,
        long300,
        derbytes::seq({derbytes::attribute(derbytes::attributeOid(3), 0x0C, "Name"),
                       derbytes::attribute(derbytes::attributeOid(10), 0x13, "JUX")}),
    };
    for (const Bytes& bytes : cases) {
        EXPECT_EQ(reencoded(bytes), hexOf(bytes));
    }
}

TEST(DERWriter, ShortensLongerLengthForms) {
    EXPECT_EQ(reencoded({0x04, 0x82, 0x00, 0x03, 0xAA, 0xBB, 0xCC}), "0403aabbcc");
    EXPECT_EQ(reencoded({0x30, 0x81, 0x03, 0x02, 0x81, 0x01, 0x05}), "3003020105");
}

TEST(DERWriter, WritesACompositeWithItsStoredLength) {
    DERComposite composite(0x30, 10);
    const uint8_t five = 0x05;
    composite.addField(std::make_unique<DERPrimitive>(0x02, &five, 0, 1));
    composite.addField(std::make_unique<DERComposite>(0xA0, 200));
    EXPECT_EQ(hexOf(*encodeDer(composite)), "300a020105a081c8");

    // The indefinite form was read as length 0 and is written that way.
    EXPECT_EQ(reencoded({0x30, 0x80, 0x02, 0x01, 0x05}), "3000");
}

TEST(DERWriter, AppendsAcrossCalls) {
    DERWriter writer;
    const uint8_t bytes[] = {0xDE, 0xAD};
    DERPrimitive primitive(0x04, bytes, 0, 2);
    primitive.accept(writer);
    writer.writeBytes(ByteBuffer(bytes, 1));
    std::unique_ptr<ByteBuffer> first = writer.getBuffer();
    writer.writeLength(1);
    EXPECT_EQ(hexOf(*first), "0402deadde");
    EXPECT_EQ(hexOf(*writer.getBuffer()), "0402deadde01");
}

TEST(DERWriter, EncodesElementsAndUnsignedIntegers) {
    EXPECT_EQ(hexOf(encodeElement(0x04, {})), "0400");
    EXPECT_EQ(hexOf(encodeElement(0x30, Bytes(3, 0xAB))), "3003ababab");
    EXPECT_EQ(hexOf(encodeElement(0x03, Bytes(200, 0))).substr(0, 8), "0381c800");
    EXPECT_EQ(encodeElement(0x03, Bytes(200, 0)).size(), 203u);
    // ECDSA's r and s: fixed-width magnitudes as the smallest INTEGER that
    // reads as positive.
    const std::pair<Bytes, const char*> integers[] = {
        {{0x00, 0x00, 0x7f}, "02017f"},
        {{0x00, 0x80}, "02020080"},
        {{0xff, 0x01}, "020300ff01"},
        {{0x00, 0x00}, "020100"},
        {{}, "020100"},
        {{0x01, 0x00}, "02020100"},
    };
    for (const auto& c : integers) {
        EXPECT_EQ(hexOf(encodeUnsignedInteger(c.first.data(), c.first.size())), c.second)
            << hexOf(c.first);
    }
}
