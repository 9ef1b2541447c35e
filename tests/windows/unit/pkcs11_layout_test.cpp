// PKCS#11 modules for Windows are built with structures packed to one byte and
// a 32-bit CK_ULONG (MinGW's long is 32 bits on 64-bit Windows too). A host
// whose view differed would read the token's fields at the wrong offsets.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "token/pkcs11.h"
#include "token/token.h"

static_assert(sizeof(CK_ULONG) == 4, "CK_ULONG is 32 bits on Windows");
static_assert(sizeof(CK_VERSION) == 2, "");
static_assert(sizeof(CK_INFO) == 2 + 32 + 4 + 32 + 2, "CK_INFO is packed");
static_assert(offsetof(CK_INFO, flags) == 34, "no padding before CK_INFO.flags");
static_assert(sizeof(CK_TOKEN_INFO) == 32 + 32 + 16 + 16 + 4 + 10 * 4 + 2 + 2 + 16, "");
static_assert(offsetof(CK_TOKEN_INFO, ulMaxPinLen) == 116, "");
static_assert(offsetof(CK_TOKEN_INFO, ulMinPinLen) == 120, "");
static_assert(sizeof(CK_ATTRIBUTE) == 4 + sizeof(void*) + 4, "CK_ATTRIBUTE is packed");
static_assert(offsetof(CK_ATTRIBUTE, pValue) == 4, "");
static_assert(sizeof(CK_MECHANISM) == 4 + sizeof(void*) + 4, "CK_MECHANISM is packed");
static_assert(sizeof(CK_DATE) == 8, "");
static_assert(sizeof(CK_BBOOL) == 1, "");

TEST(Pkcs11Layout, TokenFieldsAreReadFromTheirPackedOffsets) {
    // The bytes a module writes, laid out by offset as the module sees them.
    unsigned char raw[sizeof(CK_TOKEN_INFO)];
    std::memset(raw, ' ', sizeof(raw));
    std::memcpy(raw, "Label", 5);
    std::memcpy(raw + 64, "ModelFillsField!", 16);
    std::memcpy(raw + 80, "SN42", 4);
    const unsigned char unavailable[4] = {0xFF, 0xFF, 0xFF, 0xFF};
    const unsigned char six[4] = {6, 0, 0, 0};
    std::memcpy(raw + 116, unavailable, 4);
    std::memcpy(raw + 120, six, 4);

    CK_TOKEN_INFO info;
    std::memcpy(&info, raw, sizeof(info));
    EXPECT_EQ(trimPadded(info.label, sizeof(info.label)), "Label");
    EXPECT_EQ(trimPadded(info.model, sizeof(info.model)), "ModelFillsField!");
    EXPECT_EQ(trimPadded(info.serialNumber, sizeof(info.serialNumber)), "SN42");
    EXPECT_EQ(info.ulMaxPinLen, CK_UNAVAILABLE_INFORMATION);
    EXPECT_EQ(static_cast<int32_t>(info.ulMaxPinLen), -1);
    EXPECT_EQ(info.ulMinPinLen, 6u);
}
