// The DER element tree: one node per element, holding the identifier octet and
// the content length as they stood in the input. The tree knows nothing of
// X.509; visitors give it meaning.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "der/byte_buffer.h"

class DERComposite;
class DERPrimitive;

// `accept` does not descend: a visitor that wants the children of a composite
// walks them itself.
class DERFieldVisitor {
  public:
    virtual ~DERFieldVisitor() = default;
    virtual void visit(DERComposite& composite) = 0;
    virtual void visit(DERPrimitive& primitive) = 0;
};

class DERField {
  public:
    DERField(uint8_t tag, int32_t length);
    virtual ~DERField();

    virtual void accept(DERFieldVisitor& visitor) = 0;

    // The whole identifier octet: class, constructed bit and tag number.
    uint8_t getTag() const { return tag; }
    int32_t getLength() const { return length; }

  protected:
    DERField(const DERField&) = default;
    DERField& operator=(const DERField&) = delete;

  private:
    uint8_t tag;
    int32_t length;
};

class DERPrimitive : public DERField {
  public:
    // Copies `length` bytes starting at `source + offset`.
    DERPrimitive(uint8_t tag, const uint8_t* source, size_t offset, int32_t length);
    DERPrimitive(const DERPrimitive& other);
    DERPrimitive& operator=(const DERPrimitive&) = delete;

    void accept(DERFieldVisitor& visitor) override;

    const ByteBuffer& getValue() const { return value; }

  private:
    ByteBuffer value;
};

class DERComposite : public DERField {
  public:
    DERComposite(uint8_t tag, int32_t length);
    // Deep copy, so that a subtree (a name, say) can outlive the tree it came from.
    DERComposite(const DERComposite& other);
    DERComposite& operator=(const DERComposite&) = delete;

    void accept(DERFieldVisitor& visitor) override;

    void addField(std::unique_ptr<DERField> field);
    // The children in input order; they stay owned by this composite.
    std::vector<DERField*> getFields() const;

  private:
    std::vector<std::unique_ptr<DERField>> fields;
};
