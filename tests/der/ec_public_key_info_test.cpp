#include "der/ec_public_key_info.h"

#include <gtest/gtest.h>

#include "der/der_bytes.h"
#include "der/der_parser.h"
#include "support/hex_text.h"

using derbytes::Bytes;
using derbytes::concat;
using derbytes::tlv;

namespace {

const Bytes kP256 = {0x06, 0x08, 0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};
const Bytes kEcKey = {0x06, 0x07, 0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01};
const Bytes kRsaKey = {0x06, 0x09, 0x2A, 0x86, 0x48, 0x86, 0xF7, 0x0D, 0x01, 0x01, 0x01};
const Bytes kNull = {0x05, 0x00};
const Bytes kPoint = {0x04, 0x11, 0x22, 0x33, 0x44};

Bytes keyInfo(const Bytes& algorithm, const Bytes& parameters, const Bytes& bits) {
    return tlv(0x30, concat({tlv(0x30, concat({algorithm, parameters})), tlv(0x03, bits)}));
}

std::unique_ptr<DERComposite> parsed(const Bytes& der) {
    ByteBuffer buffer(der);
    std::unique_ptr<DERField> field = DERParser(&buffer).parseField();
    return std::unique_ptr<DERComposite>(dynamic_cast<DERComposite*>(field.release()));
}

}  // namespace

TEST(EcPublicKeyInfo, GivesTheNamedCurveAndThePoint) {
    std::unique_ptr<DERComposite> info = parsed(keyInfo(kEcKey, kP256, concat({{0x00}, kPoint})));
    ASSERT_TRUE(isEcPublicKeyInfo(*info));
    std::optional<EcPublicKeyInfo> key = ecPublicKeyInfo(*info);
    ASSERT_TRUE(key);
    EXPECT_EQ(hexOf(key->curve), hexOf(kP256));
    EXPECT_EQ(hexOf(key->point), hexOf(kPoint));
    EXPECT_EQ(hexOf(kCurveP256), hexOf(kP256));
    EXPECT_EQ(hexOf(kIdEcPublicKey), hexOf(kEcKey));
}

TEST(EcPublicKeyInfo, RefusesOtherKeysAndMalformedOnes) {
    struct Case {
        const char* what;
        Bytes der;
        bool ec;
    };
    const Case cases[] = {
        {"RSA", keyInfo(kRsaKey, kNull, concat({{0x00}, kPoint})), false},
        {"curve not named", keyInfo(kEcKey, kNull, concat({{0x00}, kPoint})), true},
        {"no parameters", keyInfo(kEcKey, {}, concat({{0x00}, kPoint})), true},
        {"bits left over", keyInfo(kEcKey, kP256, concat({{0x01}, kPoint})), true},
        {"empty point", keyInfo(kEcKey, kP256, {0x00}), true},
        {"no bits at all", tlv(0x30, tlv(0x30, concat({kEcKey, kP256}))), true},
        {"no algorithm", tlv(0x30, tlv(0x03, concat({{0x00}, kPoint}))), false},
        {"algorithm not an OID", keyInfo(kNull, kP256, concat({{0x00}, kPoint})), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<DERComposite> info = parsed(c.der);
        ASSERT_TRUE(info);
        EXPECT_EQ(isEcPublicKeyInfo(*info), c.ec);
        EXPECT_FALSE(ecPublicKeyInfo(*info));
    }
}
