// Signing with the kinds of keys people's tokens hold, with what the token
// offers: RSA hashed on the token or by the host, EC with ECDSA over a digest
// the host computes, and keys that need their PIN for every signature.
#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "der/base64.h"
#include "token_fixture.h"

namespace {

Bytes fromBase64(const std::string& text) {
    std::vector<uint8_t> bytes = base64Decode(text);
    return Bytes(bytes.begin(), bytes.end());
}

class TokenSigningTest : public TokenTest {
  protected:
    // A key pair made by an independent client under `id`, as the binding's
    // handle of its private key and the public key for checking signatures.
    struct Key {
        CK_OBJECT_HANDLE privateKey = CK_INVALID_HANDLE;
        EvpPkeyPtr publicKey;
    };

    Key rsaKey(const Bytes& id, const Attributes& extraPrivate = Attributes()) {
        Pkcs11Session setup = clientSession();
        RsaKeyOptions options(id, 2048);
        options.extraPrivate = extraPrivate;
        KeyPair pair = setup.generateRsaKeyPair(options);
        return {hostHandle(hostSession, CKO_PRIVATE_KEY, id), setup.publicKey(pair.publicKey)};
    }

    Key ecKey(const Bytes& id, EcCurve curve) {
        Pkcs11Session setup = clientSession();
        KeyPair pair = setup.generateEcKeyPair(id, curve);
        return {hostHandle(hostSession, CKO_PRIVATE_KEY, id), setup.ecPublicKey(pair.publicKey)};
    }

    // The signature of `text` as the binding makes it, read again from base64;
    // a fresh mechanism list unless the test keeps one.
    Bytes sign(CK_OBJECT_HANDLE key, const std::string& text,
               const std::optional<std::string>& keyPin = std::nullopt) {
        TokenMechanisms mechanisms(token.slot);
        return fromBase64(signToBase64(hostSession, key, mechanisms, text, keyPin));
    }
    std::string signingFailure(CK_OBJECT_HANDLE key,
                               const std::optional<std::string>& keyPin = std::nullopt) {
        return failureOf([&] { sign(key, "data", keyPin); });
    }
    // With `rules`, the key is refused before anything is signed.
    void expectRefusedBeforeSigning(CK_OBJECT_HANDLE key, const std::string& rules,
                                    const std::string& failure) {
        faults->setRules(rules);
        FaultState before = faults->state();
        EXPECT_EQ(signingFailure(key), failure) << rules;
        EXPECT_EQ(callsSince(before, "C_SignInit"), 0u) << rules;
    }

    // Calls of `function` through the fault module since `before` was read.
    unsigned long callsSince(const FaultState& before, const std::string& function) {
        std::map<std::string, unsigned long> calls = faults->state().callsSince(before);
        return calls.count(function) > 0 ? calls[function] : 0;
    }
};

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

}  // namespace

TEST_F(TokenSigningTest, RsaSignaturesVerifyWithTheTokensPublicKey) {
    load();
    CK_SESSION_HANDLE session = userSession();
    KeyPairResult pair;
    ASSERT_EQ(codeOf([&] { pair = generateKeyPair(session); }), CKR_OK);
    Pkcs11Session inspect = clientSession();
    EvpPkeyPtr publicKey =
        inspect.publicKey(clientHandle(inspect, CKO_PUBLIC_KEY, idOf(session, pair.publicKey)));
    TokenMechanisms mechanisms(token.slot);
    const std::string texts[] = {"", std::string("nul\0inside\0", 11),
                                 std::string(1024 * 1024, 'm'), "\xC3\xA9t\xC3\xA9"};
    for (const std::string& text : texts) {
        std::string signature = signToBase64(session, pair.privateKey, mechanisms, text);
        EXPECT_EQ(signature.size(), 344u);
        EXPECT_TRUE(verifyRsaSha256(publicKey.get(), bytesOf(text), fromBase64(signature)))
            << text.size() << " bytes";
    }
}

// A token that cannot hash signs the DigestInfo of the host's SHA-256 with
// CKM_RSA_PKCS: RSASSA-PKCS1-v1_5 is deterministic, so the signature is the
// one the token makes with CKM_SHA256_RSA_PKCS.
TEST_F(TokenSigningTest, RsaWithoutSha256RsaPkcsGivesTheSameSignature) {
    load(true);
    userSession();
    Key key = rsaKey(toBytes("rsa"));
    const std::string text(70000, 'p');
    Bytes onTheToken = sign(key.privateKey, text);
    ASSERT_TRUE(verifyRsaSha256(key.publicKey.get(), bytesOf(text), onTheToken));
    faults->setRules("withdraw CKM_SHA256_RSA_PKCS\n");
    EXPECT_EQ(sign(key.privateKey, text), onTheToken);
    expectRefusedBeforeSigning(key.privateKey,
                               "withdraw CKM_SHA256_RSA_PKCS\nwithdraw CKM_RSA_PKCS\n",
                               "The token offers no RSA signing mechanism");
}

// ECDSA over the SHA-256 of the text's bytes, the signature the raw r||s the
// token returns (what Web Crypto verifies).
TEST_F(TokenSigningTest, EcKeysSignWithEcdsaOverTheHostsDigest) {
    load(true);
    userSession();
    struct Case {
        EcCurve curve;
        size_t size;
    };
    for (const Case& c : {Case{EcCurve::P256, 64}, Case{EcCurve::P384, 96}}) {
        Key key = ecKey(toBytes("ec-" + std::to_string(c.size)), c.curve);
        for (const std::string& text : {std::string(), std::string("an EC signature\0!", 17)}) {
            Bytes signature = sign(key.privateKey, text);
            EXPECT_EQ(signature.size(), c.size);
            EXPECT_TRUE(verifyEcdsaSha256(key.publicKey.get(), bytesOf(text), signature));
            EXPECT_FALSE(verifyEcdsaSha256(key.publicKey.get(), bytesOf(text + "x"), signature));
        }
    }
    Key key = ecKey(toBytes("ec"), EcCurve::P256);
    // A token that hashes for ECDSA itself but has no raw ECDSA gets the text.
    // (SoftHSM2 has no CKM_ECDSA_SHA256: it refuses it in C_SignInit.)
    faults->setRules("withdraw CKM_ECDSA\noffer CKM_ECDSA_SHA256\n");
    EXPECT_EQ(signingFailure(key.privateKey), "Failed to init signatiure generation (rc=112)");
    expectRefusedBeforeSigning(key.privateKey, "withdraw CKM_ECDSA\n",
                               "The token offers no ECDSA signing mechanism");
}

TEST_F(TokenSigningTest, KeysOfOtherTypesAreRefused) {
    load(true);
    userSession();
    Pkcs11Session setup = clientSession();
    Attributes secret;
    secret.number(CKA_CLASS, CKO_SECRET_KEY)
        .number(CKA_KEY_TYPE, CKK_GENERIC_SECRET)
        .flag(CKA_TOKEN, true)
        .flag(CKA_SIGN, true)
        .bytes(CKA_ID, toBytes("secret"))
        .bytes(CKA_VALUE, Bytes(32, 0x5a));
    setup.create(secret);
    expectRefusedBeforeSigning(hostHandle(hostSession, CKO_SECRET_KEY, toBytes("secret")), "",
                               "Unsupported key type for signing");
}

// The mechanisms are read once and kept; a failed read is tried again.
TEST_F(TokenSigningTest, TheMechanismListIsReadOnceAndKept) {
    load(true);
    userSession();
    Key key = rsaKey(toBytes("rsa"));
    TokenMechanisms mechanisms(token.slot);
    faults->setRules("fail C_GetMechanismList CKR_DEVICE_ERROR call 2\n");
    EXPECT_EQ(failureOf([&] { signToBase64(hostSession, key.privateKey, mechanisms, "a"); }),
              "Failed to read the token's mechanisms (rc=48)");
    faults->clearRules();
    FaultState before = faults->state();
    for (int signature = 0; signature < 3; ++signature) {
        EXPECT_EQ(failureOf([&] { signToBase64(hostSession, key.privateKey, mechanisms, "a"); }),
                  "");
    }
    EXPECT_EQ(callsSince(before, "C_GetMechanismList"), 2u);
    // One attribute read per signature: the key's type and PIN flag.
    EXPECT_EQ(callsSince(before, "C_GetAttributeValue"), 3u);
    EXPECT_EQ(callsSince(before, "C_SignInit"), 3u);
}

TEST_F(TokenSigningTest, FailuresCarryTheirMessagesAndLeaveNoOperationActive) {
    load(true);
    userSession();
    Key key = rsaKey(toBytes("rsa"));
    const std::pair<const char*, const char*> cases[] = {
        {"fail C_GetAttributeValue CKR_DEVICE_ERROR",
         "Failed to read the private key's type (rc=48)"},
        {"unavailable CKA_KEY_TYPE", "Failed to read the private key's type (rc=18)"},
        {"unavailable CKA_KEY_TYPE code CKR_ATTRIBUTE_SENSITIVE",
         "Failed to read the private key's type (rc=17)"},
        // A module that does not know the flag: the key needs no PIN per signature.
        {"unavailable CKA_ALWAYS_AUTHENTICATE", ""},
        {"fail C_GetMechanismList CKR_DEVICE_ERROR call 1",
         "Failed to read the token's mechanisms (rc=48)"},
        {"fail C_SignInit CKR_KEY_HANDLE_INVALID", "Failed to init signatiure generation (rc=96)"},
        {"fail C_Sign CKR_DEVICE_ERROR call 1", "Failed to determine the signature length (rc=48)"},
        {"fail C_Sign CKR_DEVICE_ERROR call 2", "Failed to generate signature (rc=48)"},
        // A module that accepted a mechanism it cannot perform.
        {"signature empty", "Failed to generate signature"},
    };
    for (const auto& c : cases) {
        faults->setRules(std::string(c.first) + "\n");
        EXPECT_EQ(signingFailure(key.privateKey), c.second) << c.first;
        faults->clearRules();
        // No signing operation is left active: the next one succeeds.
        EXPECT_TRUE(
            verifyRsaSha256(key.publicKey.get(), bytesOf("data"), sign(key.privateKey, "data")))
            << c.first;
        EXPECT_EQ(findCertificates(hostSession).size(), 0u) << "the session still searches";
    }
}

// A key with CKA_ALWAYS_AUTHENTICATE signs only right after its own login
// with the PIN (CKU_CONTEXT_SPECIFIC, between C_SignInit and C_Sign).
TEST_F(TokenSigningTest, AKeyThatNeedsItsPinSignsWithIt) {
    load(true);
    userSession();
    Attributes alwaysAuthenticate;
    alwaysAuthenticate.flag(CKA_ALWAYS_AUTHENTICATE, true);
    Key key = rsaKey(toBytes("always"), alwaysAuthenticate);
    Key plain = rsaKey(toBytes("plain"));
    FaultState before = faults->state();
    for (int signature = 0; signature < 2; ++signature) {
        EXPECT_TRUE(verifyRsaSha256(key.publicKey.get(), bytesOf("text"),
                                    sign(key.privateKey, "text", token.userPin)));
    }
    EXPECT_EQ(callsSince(before, "C_Login"), 2u);

    struct Case {
        const char* rules;
        std::optional<std::string> pin;
        const char* failure;
        unsigned long signInits;
    };
    const Case cases[] = {
        {"", std::nullopt, "The key needs its PIN for every signature", 0},
        {"", "", "The key needs its PIN for every signature", 0},
        {"", "000000", "Incorrect PIN  (rc=160)", 1},
        {"fail C_Login CKR_PIN_LOCKED", token.userPin, "Locked PIN (rc=164)", 1},
        {"fail C_Login CKR_DEVICE_ERROR", token.userPin, "Login failed (rc=48)", 1},
    };
    for (const Case& c : cases) {
        faults->setRules(c.rules);
        before = faults->state();
        EXPECT_EQ(signingFailure(key.privateKey, c.pin), c.failure) << c.rules;
        EXPECT_EQ(callsSince(before, "C_SignInit"), c.signInits) << c.failure;
        faults->clearRules();
        // The refused operation was ended: the right PIN signs at once.
        EXPECT_TRUE(verifyRsaSha256(key.publicKey.get(), bytesOf("data"),
                                    sign(key.privateKey, "data", token.userPin)));
    }
    // Any other key ignores a PIN given with it.
    before = faults->state();
    EXPECT_TRUE(verifyRsaSha256(plain.publicKey.get(), bytesOf("data"),
                                sign(plain.privateKey, "data", std::string("anything"))));
    EXPECT_EQ(callsSince(before, "C_Login"), 0u);
}
