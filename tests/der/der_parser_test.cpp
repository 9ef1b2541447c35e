#include "der/der_parser.h"

#include <gtest/gtest.h>

#include <string>

#include "common/native_host_exception.h"
#include "der/der_bytes.h"
#include "der/hex.h"

using derbytes::Bytes;

namespace {

const std::string runsPastEnd = "DER field runs past the end of the data";
const std::string tooLong = "DER filed size too long";
const std::string tooDeep = "DER nesting too deep";

std::unique_ptr<DERField> parse(const Bytes& bytes) {
    ByteBuffer buffer(bytes);
    DERParser parser(&buffer);
    return parser.parseField();
}

// The DERException message parsing `bytes` raises, or "" when it parses.
std::string parseError(const Bytes& bytes) {
    try {
        parse(bytes);
        return "";
    } catch (const DERException& e) {
        return e.getMessage();
    }
}

std::string valueHex(const DERField* field) {
    const auto* primitive = dynamic_cast<const DERPrimitive*>(field);
    if (primitive == nullptr) {
        return "(not a primitive)";
    }
    return hexEncode(primitive->getValue().getData(), primitive->getValue().getSize());
}

// Number of nested composites along the first-child path.
int compositeDepth(DERField* field) {
    int depth = 0;
    while (auto* composite = dynamic_cast<DERComposite*>(field)) {
        ++depth;
        std::vector<DERField*> children = composite->getFields();
        if (children.empty()) {
            break;
        }
        field = children.front();
    }
    return depth;
}

}  // namespace

TEST(DERParser, ReadsACompositeAndItsPrimitive) {
    std::unique_ptr<DERField> field = parse({0x30, 0x03, 0x02, 0x01, 0x05});
    auto* composite = dynamic_cast<DERComposite*>(field.get());
    ASSERT_NE(composite, nullptr);
    EXPECT_EQ(composite->getTag(), 0x30);
    EXPECT_EQ(composite->getLength(), 3);
    std::vector<DERField*> children = composite->getFields();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0]->getTag(), 0x02);
    EXPECT_EQ(children[0]->getLength(), 1);
    EXPECT_EQ(valueHex(children[0]), "05");
}

TEST(DERParser, ReadsLengthsInShortAndLongForm) {
    struct Case {
        Bytes octets;
        int32_t length;  // -1: refused
        std::string error;
    };
    const Case cases[] = {
        {{0x00}, 0, ""},
        {{0x7F}, 127, ""},
        {{0x81, 0x80}, 128, ""},
        {{0x82, 0x01, 0x0A}, 266, ""},
        {{0x84, 0x7F, 0xFF, 0xFF, 0xFF}, 0x7FFFFFFF, ""},
        // Non-minimal forms are accepted.
        {{0x81, 0x05}, 5, ""},
        {{0x84, 0x00, 0x00, 0x00, 0x01}, 1, ""},
        // BER's indefinite form reads as an empty content.
        {{0x80}, 0, ""},
        {{0x84, 0x80, 0x00, 0x00, 0x00}, -1, tooLong},
        {{0x85, 0x00, 0x00, 0x00, 0x00, 0x01}, -1, tooLong},
        {{0xFF}, -1, tooLong},
        {{}, -1, runsPastEnd},
        {{0x84}, -1, runsPastEnd},
        {{0x82, 0x01}, -1, runsPastEnd},
        {{0x84, 0x7F, 0xFF, 0xFF}, -1, runsPastEnd},
    };
    for (const Case& c : cases) {
        ByteBuffer buffer(c.octets);
        DERParser parser(&buffer);
        SCOPED_TRACE(hexEncode(c.octets.data(), c.octets.size()));
        try {
            EXPECT_EQ(parser.readLength(), c.length);
            EXPECT_TRUE(c.error.empty());
            EXPECT_FALSE(parser.hasMore()) << "length octets left unread";
        } catch (const DERException& e) {
            EXPECT_EQ(e.getMessage(), c.error);
        }
    }
}

TEST(DERParser, ReadsALongFormPrimitive) {
    Bytes content(128);
    for (size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<uint8_t>(i * 7);
    }
    std::unique_ptr<DERField> field = parse(derbytes::concat({{0x04, 0x81, 0x80}, content}));
    EXPECT_EQ(field->getTag(), 0x04);
    EXPECT_EQ(field->getLength(), 128);
    EXPECT_EQ(valueHex(field.get()), hexEncode(content.data(), content.size()));
}

TEST(DERParser, OnlyTheConstructedBitDecidesTheKind) {
    const uint8_t constructed[] = {0x30, 0x31, 0xA0, 0xA3, 0x20, 0x7F};
    const uint8_t primitive[] = {0x02, 0x04, 0x80, 0x86, 0x9E, 0x00, 0xDF};
    for (uint8_t tag : constructed) {
        std::unique_ptr<DERField> field = parse({tag, 0x00});
        EXPECT_NE(dynamic_cast<DERComposite*>(field.get()), nullptr) << int(tag);
        EXPECT_EQ(field->getTag(), tag);
        EXPECT_TRUE(DERParser::isConstructed(tag));
    }
    for (uint8_t tag : primitive) {
        std::unique_ptr<DERField> field = parse({tag, 0x00});
        EXPECT_NE(dynamic_cast<DERPrimitive*>(field.get()), nullptr) << int(tag);
        EXPECT_EQ(field->getTag(), tag);
        EXPECT_FALSE(DERParser::isConstructed(tag));
    }
}

TEST(DERParser, IndefiniteLengthGivesAnEmptyComposite) {
    std::unique_ptr<DERField> field = parse({0x30, 0x80, 0x02, 0x01, 0x05, 0x00, 0x00});
    auto* composite = dynamic_cast<DERComposite*>(field.get());
    ASSERT_NE(composite, nullptr);
    EXPECT_EQ(composite->getLength(), 0);
    EXPECT_TRUE(composite->getFields().empty());
}

TEST(DERParser, ReadsOnlyTheFirstElement) {
    ByteBuffer empty(size_t{0});
    EXPECT_FALSE(DERParser(&empty).hasMore());

    ByteBuffer buffer(Bytes{0x02, 0x01, 0x05, 0xFF, 0xFF});
    DERParser parser(&buffer);
    ASSERT_TRUE(parser.hasMore());
    std::unique_ptr<DERField> field = parser.parseField();
    EXPECT_EQ(valueHex(field.get()), "05");
    EXPECT_TRUE(parser.hasMore());
}

TEST(DERParser, KeepsAChildThatRunsPastItsParent) {
    // The parent claims 2 bytes; its child takes 5, all inside the input.
    std::unique_ptr<DERField> field = parse({0x30, 0x02, 0x04, 0x03, 0xAA, 0xBB, 0xCC, 0x02});
    auto* composite = dynamic_cast<DERComposite*>(field.get());
    ASSERT_NE(composite, nullptr);
    EXPECT_EQ(composite->getLength(), 2);
    std::vector<DERField*> children = composite->getFields();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(valueHex(children[0]), "aabbcc");
}

TEST(DERParser, RefusesAnythingThatRunsPastTheInput) {
    const Bytes cases[] = {
        {},
        {0x30},
        {0x04, 0x81},
        {0x04, 0x03, 0x01, 0x02},
        {0x30, 0x05, 0x02, 0x01, 0x05},
        // The parent fits, its last child's header or contents do not.
        {0x30, 0x03, 0x02},
        {0x30, 0x03, 0x02, 0x05, 0x00},
        {0x30, 0x02, 0x04, 0x03, 0xAA},
        {0x30, 0x04, 0x02, 0x01, 0x05, 0x30},
        // The largest length the reader accepts, with nothing behind it.
        {0x04, 0x84, 0x7F, 0xFF, 0xFF, 0xFF},
        {0x30, 0x84, 0x7F, 0xFF, 0xFF, 0xFF},
        {0x30, 0x08, 0x04, 0x84, 0x7F, 0xFF, 0xFF, 0xFF, 0x00, 0x00},
    };
    for (const Bytes& bytes : cases) {
        EXPECT_EQ(parseError(bytes), runsPastEnd) << hexEncode(bytes.data(), bytes.size());
    }
}

TEST(DERParser, LimitsTheNestingOfConstructedElements) {
    std::unique_ptr<DERField> deepest = parse(derbytes::nested(32, {0x02, 0x01, 0x05}));
    EXPECT_EQ(compositeDepth(deepest.get()), 32);
    EXPECT_EQ(compositeDepth(parse(derbytes::nested(31, {0xA0, 0x00})).get()), 32);

    EXPECT_EQ(parseError(derbytes::nested(33, {})), tooDeep);
    EXPECT_EQ(parseError(derbytes::nested(32, {0xA0, 0x00})), tooDeep);
    EXPECT_EQ(parseError(derbytes::nested(1000, {0x02, 0x01, 0x05})), tooDeep);
    // Siblings do not add up: 32 levels twice over is fine.
    Bytes level31 = derbytes::nested(31, {});
    EXPECT_EQ(parseError(derbytes::tlv(0x31, derbytes::concat({level31, level31}))), "");
}
