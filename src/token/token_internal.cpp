#include "token/token_internal.h"

#include <algorithm>

#include "common/native_host_exception.h"
#include "token/token_errors.h"

namespace token_internal {

ObjectSearch::ObjectSearch(CK_SESSION_HANDLE session, CK_ATTRIBUTE* attributes, CK_ULONG count,
                           const char* initMessage)
    : session(session) {
    check(functions()->C_FindObjectsInit(session, attributes, count), initMessage);
}

ObjectSearch::~ObjectSearch() {
    if (!finished) {
        // An error is already on its way; the finalisation's own result is not news.
        functions()->C_FindObjectsFinal(session);
    }
}

CK_RV ObjectSearch::next(CK_OBJECT_HANDLE& handle, bool& found) {
    CK_ULONG count = 0;
    CK_RV rv = functions()->C_FindObjects(session, &handle, 1, &count);
    found = rv == CKR_OK && count > 0;
    return rv;
}

CK_RV ObjectSearch::finish() {
    finished = true;
    return functions()->C_FindObjectsFinal(session);
}

AttributeRead::AttributeRead(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object,
                             CK_ATTRIBUTE* attributes, CK_ULONG count, const char* lengthsMessage,
                             const char* valuesMessage, Unavailable unavailable)
    : attributes(attributes), buffers(count), capacities(count), absent(count, false) {
    for (CK_ULONG i = 0; i < count; ++i) {
        capacities[i] = attributes[i].pValue != nullptr ? attributes[i].ulValueLen : 0;
    }
    readPresent(session, object, lengthsMessage, unavailable);
    for (CK_ULONG i = 0; i < count; ++i) {
        CK_ATTRIBUTE& attribute = attributes[i];
        if (absent[i]) {
            continue;
        }
        if (capacities[i] > 0) {
            attribute.ulValueLen = capacities[i];
        } else if (attribute.ulValueLen > 0) {
            allocateOrRaise([&] { buffers[i].resize(attribute.ulValueLen); }, kInsufficientMemory);
            attribute.pValue = buffers[i].data();
            capacities[i] = attribute.ulValueLen;
        }
    }
    readPresent(session, object, valuesMessage, unavailable);
}

void AttributeRead::readPresent(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object,
                                const char* message, Unavailable unavailable) {
    std::vector<CK_ATTRIBUTE> asked;
    for (size_t i = 0; i < absent.size(); ++i) {
        if (!absent[i]) {
            asked.push_back(attributes[i]);
        }
    }
    if (asked.empty()) {
        return;
    }
    CK_RV rv = functions()->C_GetAttributeValue(session, object, asked.data(), asked.size());
    bool withheld = rv == CKR_ATTRIBUTE_SENSITIVE || rv == CKR_ATTRIBUTE_TYPE_INVALID;
    if (!(withheld && unavailable == Unavailable::Absent)) {
        check(rv, message);
    }
    for (size_t i = 0, j = 0; i < absent.size(); ++i) {
        if (absent[i]) {
            continue;
        }
        attributes[i].ulValueLen = asked[j++].ulValueLen;
        if (unavailable == Unavailable::Absent &&
            attributes[i].ulValueLen == CK_UNAVAILABLE_INFORMATION) {
            absent[i] = true;
            attributes[i].ulValueLen = 0;
        }
    }
}

size_t AttributeRead::length(CK_ULONG index) const {
    return std::min<size_t>(attributes[index].ulValueLen, capacities[index]);
}

std::vector<uint8_t> AttributeRead::bytes(CK_ULONG index) const {
    const uint8_t* data = static_cast<const uint8_t*>(attributes[index].pValue);
    return data == nullptr ? std::vector<uint8_t>()
                           : std::vector<uint8_t>(data, data + length(index));
}

std::vector<uint8_t> AttributeRead::take(CK_ULONG index) {
    if (buffers[index].empty()) {
        return bytes(index);
    }
    std::vector<uint8_t> value = std::move(buffers[index]);
    value.resize(length(index));
    attributes[index].pValue = nullptr;
    return value;
}

}  // namespace token_internal
