#include "der/der_field.h"

#include <gtest/gtest.h>

#include "der/der_bytes.h"
#include "der/der_parser.h"
#include "der/der_writer.h"
#include "der/hex.h"
#include "support/hex_text.h"

using derbytes::Bytes;

namespace {

std::unique_ptr<DERField> parse(const Bytes& bytes) {
    ByteBuffer buffer(bytes);
    return DERParser(&buffer).parseField();
}

class CountingVisitor : public DERFieldVisitor {
  public:
    void visit(DERComposite&) override { ++composites; }
    void visit(DERPrimitive&) override { ++primitives; }
    int composites = 0;
    int primitives = 0;
};

// A Name-like tree with composites and primitives at several levels.
const Bytes tree = derbytes::seq({
    derbytes::attribute(derbytes::attributeOid(6), 0x13, "ZZ"),
    derbytes::tlv(0xA0, derbytes::seq({{0x02, 0x01, 0x07}, {0x05, 0x00}})),
    {0x04, 0x02, 0xCA, 0xFE},
});

}  // namespace

TEST(DERField, AcceptDispatchesWithoutDescending) {
    std::unique_ptr<DERField> root = parse(tree);
    CountingVisitor visitor;
    root->accept(visitor);
    EXPECT_EQ(visitor.composites, 1);
    EXPECT_EQ(visitor.primitives, 0);

    std::vector<DERField*> children = static_cast<DERComposite&>(*root).getFields();
    ASSERT_EQ(children.size(), 3u);
    children[2]->accept(visitor);
    EXPECT_EQ(visitor.primitives, 1);
}

TEST(DERField, GetFieldsHandsOutBorrowedPointers) {
    std::unique_ptr<DERField> root = parse(tree);
    auto& composite = static_cast<DERComposite&>(*root);
    std::vector<DERField*> first = composite.getFields();
    first.clear();
    std::vector<DERField*> again = composite.getFields();
    ASSERT_EQ(again.size(), 3u);
    EXPECT_EQ(again[2]->getTag(), 0x04);
}

TEST(DERField, DeepCopySurvivesTheTree) {
    std::unique_ptr<DERField> root = parse(tree);
    std::unique_ptr<DERComposite> copy =
        std::make_unique<DERComposite>(static_cast<DERComposite&>(*root));
    auto* leaf = static_cast<DERPrimitive*>(static_cast<DERComposite&>(*root).getFields()[2]);
    DERPrimitive leafCopy(*leaf);
    std::vector<DERField*> originalChildren = static_cast<DERComposite&>(*root).getFields();
    root.reset();

    std::vector<DERField*> children = copy->getFields();
    ASSERT_EQ(children.size(), 3u);
    for (size_t i = 0; i < children.size(); ++i) {
        EXPECT_NE(children[i], originalChildren[i]) << "child " << i << " is shared";
    }
    EXPECT_EQ(copy->getTag(), 0x30);
    EXPECT_EQ(copy->getLength(), static_cast<int32_t>(tree.size() - 2));
    EXPECT_NE(dynamic_cast<DERComposite*>(children[1]), nullptr);
    EXPECT_EQ(hexOf(*encodeDer(*copy)), hexEncode(tree.data(), tree.size()));

    EXPECT_EQ(leafCopy.getTag(), 0x04);
    EXPECT_EQ(leafCopy.getLength(), 2);
    EXPECT_EQ(hexOf(leafCopy.getValue()), "cafe");
}

TEST(DERField, PrimitiveCopiesFromTheGivenOffset) {
    const uint8_t source[] = {0x01, 0x02, 0x03, 0x04, 0x05};
    DERPrimitive primitive(0x04, source, 2, 3);
    EXPECT_EQ(hexOf(primitive.getValue()), "030405");
    DERPrimitive empty(0x05, source, 5, 0);
    EXPECT_EQ(empty.getValue().getSize(), 0u);
}
