#include "common/native_host_exception.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(NativeHostException, ReturnCodeIsAppendedInUnsignedDecimal) {
    struct Case {
        const char* text;
        unsigned long code;
        const char* expected;
    } cases[] = {
        {"Failed to get token info", 7, "Failed to get token info (rc=7)"},
        {"Failed to open token session", 0xE0, "Failed to open token session (rc=224)"},
        {"Failed to set token PIN", 0xA0, "Failed to set token PIN (rc=160)"},
        {"Failed to set token PIN", 0, "Failed to set token PIN (rc=0)"},
        {"Incorrect PIN ", 160, "Incorrect PIN  (rc=160)"},
        {"Vendor failure", 0x80000001UL, "Vendor failure (rc=2147483649)"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TokenException(c.text, c.code).getMessage(), c.expected);
        EXPECT_EQ(HandlerException(c.text, c.code).getMessage(), c.expected);
    }
}

TEST(NativeHostException, TheReturnCodeStaysDataBesideTheText) {
    TokenException refused("Failed to set token PIN", 0xA0);
    EXPECT_EQ(refused.getReturnCode(), 0xA0UL);
    TokenException withoutCode("No token with serial number 42");
    EXPECT_EQ(withoutCode.getReturnCode(), std::nullopt);
    EXPECT_EQ(withoutCode.getMessage(), "No token with serial number 42");
    // A code of 0 is still a code, shown as such.
    EXPECT_EQ(HandlerException("Failed", 0).getReturnCode(), 0UL);
}

TEST(NativeHostException, EndOfInputIsCaughtAsItsBases) {
    try {
        throw NMPEndOfInputException();
    } catch (const NMPException& e) {
        EXPECT_EQ(e.getMessage(), "end-of-input");
    }
    try {
        throw NMPEndOfInputException();
    } catch (const NativeHostException& e) {
        EXPECT_EQ(e.getMessage(), "end-of-input");
    }
}

TEST(NativeHostException, IsNotCaughtAsStandardException) {
    bool caughtAsStandard = false;
    bool caughtAsFamily = false;
    try {
        try {
            throw RequestException("Missing request 'action' property");
        } catch (const std::exception&) {
            caughtAsStandard = true;
        }
    } catch (const NativeHostException& e) {
        caughtAsFamily = true;
        EXPECT_EQ(e.getMessage(), "Missing request 'action' property");
    }
    EXPECT_FALSE(caughtAsStandard);
    EXPECT_TRUE(caughtAsFamily);
}

TEST(NativeHostException, CopiesCarryTheMessage) {
    DERException original("DER filed size too long");
    DERException copy = original;
    EXPECT_EQ(copy.getMessage(), "DER filed size too long");
}
