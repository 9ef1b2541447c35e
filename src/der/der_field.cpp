#include "der/der_field.h"

#include <algorithm>
#include <cassert>

DERField::DERField(uint8_t tag, int32_t length) : tag(tag), length(length) {}

DERField::~DERField() = default;

DERPrimitive::DERPrimitive(uint8_t tag, const uint8_t* source, size_t offset, int32_t length)
    : DERField(tag, length), value(static_cast<size_t>(length >= 0 ? length : 0)) {
    assert(length >= 0 && "length");
    assert((source != nullptr || length == 0) && "source");
    if (length > 0) {
        std::copy(source + offset, source + offset + static_cast<size_t>(length), value.getData());
    }
}

DERPrimitive::DERPrimitive(const DERPrimitive& other) = default;

void DERPrimitive::accept(DERFieldVisitor& visitor) {
    visitor.visit(*this);
}

DERComposite::DERComposite(uint8_t tag, int32_t length) : DERField(tag, length) {}

DERComposite::DERComposite(const DERComposite& other) : DERField(other) {
    fields.reserve(other.fields.size());
    for (const std::unique_ptr<DERField>& child : other.fields) {
        if (const auto* composite = dynamic_cast<const DERComposite*>(child.get())) {
            fields.push_back(std::make_unique<DERComposite>(*composite));
        } else {
            fields.push_back(
                std::make_unique<DERPrimitive>(static_cast<const DERPrimitive&>(*child)));
        }
    }
}

void DERComposite::accept(DERFieldVisitor& visitor) {
    visitor.visit(*this);
}

void DERComposite::addField(std::unique_ptr<DERField> field) {
    assert(field && "field");
    fields.push_back(std::move(field));
}

std::vector<DERField*> DERComposite::getFields() const {
    std::vector<DERField*> children;
    children.reserve(fields.size());
    for (const std::unique_ptr<DERField>& child : fields) {
        children.push_back(child.get());
    }
    return children;
}
