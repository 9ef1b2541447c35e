// The kinds of signing keys people's cards carry, on SoftHSM2
// (SoftHsmSigningKeys): what the token itself does with them, and what the
// host lists of their certificates.
#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <set>
#include <string>

#include "interop/interop_host.h"
#include "interop/softhsm_signing_keys.h"
#include "support/pkcs11_client.h"
#include "support/scoped_env.h"

namespace interop {
namespace {

Bytes sha256(const Bytes& data) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    EVP_Digest(data.data(), data.size(), digest, &length, EVP_sha256(), nullptr);
    return Bytes(digest, digest + length);
}

class SigningKeysTest : public InteropHostTest {
  protected:
    Pkcs11Session userSession(Pkcs11Client& client) {
        Pkcs11Session session = client.openSession(keys.token().slot);
        session.login(CKU_USER, keys.token().userPin);
        return session;
    }
    CK_OBJECT_HANDLE privateKey(Pkcs11Session& session, const SigningKey& key) {
        return session.find(CKO_PRIVATE_KEY, key.certificate.id).at(0);
    }

    SoftHsmSigningKeys keys;
};

TEST_F(SigningKeysTest, EcKeysSignWithEcdsaOverTheirCurve) {
    Pkcs11Client client;
    Pkcs11Session session = userSession(client);
    const Bytes payload = toBytes("an EC signature");
    struct Case {
        const SigningKey& key;
        size_t signatureSize;  // r and s, each as long as the curve's order
    };
    for (const Case& c : {Case{keys.ecP256(), 64}, Case{keys.ecP384(), 96}}) {
        Bytes signature = session.sign(privateKey(session, c.key), sha256(payload), CKM_ECDSA);
        EXPECT_EQ(signature.size(), c.signatureSize);
        EXPECT_TRUE(verifyEcdsaSha256(c.key.publicKey.get(), payload, signature));
        EXPECT_FALSE(verifyEcdsaSha256(c.key.publicKey.get(), toBytes("other"), signature));
        EXPECT_TRUE(samePublicKey(c.key.publicKey.get(),
                                  certificatePublicKey(c.key.certificate.der).get()));
    }
}

TEST_F(SigningKeysTest, TheAlwaysAuthenticateKeyNeedsItsPinForEverySignature) {
    Pkcs11Client client;
    Pkcs11Session session = userSession(client);
    CK_OBJECT_HANDLE key = privateKey(session, keys.rsaAlwaysAuthenticate());
    EXPECT_TRUE(session.getBool(key, CKA_ALWAYS_AUTHENTICATE));
    EXPECT_FALSE(session.getBool(privateKey(session, keys.rsa()), CKA_ALWAYS_AUTHENTICATE));
    const Bytes payload = toBytes("every signature");
    try {
        session.sign(key, payload);
        ADD_FAILURE() << "signed without the key's own login";
    } catch (const Pkcs11Error& error) {
        EXPECT_EQ(error.rv(), static_cast<CK_RV>(CKR_USER_NOT_LOGGED_IN));
    }
    // A fresh session: the refused operation may still be active in the first.
    Pkcs11Session second = client.openSession(keys.token().slot);
    try {
        second.sign(key, payload, CKM_SHA256_RSA_PKCS, std::string("000000"));
        ADD_FAILURE() << "signed with a wrong PIN";
    } catch (const Pkcs11Error& error) {
        EXPECT_EQ(error.rv(), static_cast<CK_RV>(CKR_PIN_INCORRECT));
    }
    Pkcs11Session third = client.openSession(keys.token().slot);
    for (int signature = 0; signature < 2; ++signature) {
        EXPECT_TRUE(
            verifyRsaSha256(keys.rsaAlwaysAuthenticate().certificate.der, payload,
                            third.sign(key, payload, CKM_SHA256_RSA_PKCS, keys.token().userPin)));
    }
}

TEST_F(SigningKeysTest, TheSecondConfigurationOffersNoSha256RsaPkcs) {
    ScopedEnv conf("SOFTHSM2_CONF", keys.confWithoutSha256RsaPkcs());
    Pkcs11Client client(SoftHsm::modulePath(), Pkcs11Client::Instance::Fresh);
    std::vector<CK_MECHANISM_TYPE> offered = client.mechanisms(keys.token().slot);
    std::set<CK_MECHANISM_TYPE> mechanisms(offered.begin(), offered.end());
    EXPECT_EQ(mechanisms.count(CKM_SHA256_RSA_PKCS), 0u);
    EXPECT_EQ(mechanisms.count(CKM_RSA_PKCS), 1u);
    EXPECT_EQ(mechanisms.count(CKM_ECDSA), 1u);
    EXPECT_EQ(PADDED_TEXT(client.tokenInfo(keys.token().slot).serialNumber), keys.token().serial);
    Pkcs11Session session = userSession(client);
    try {
        session.sign(privateKey(session, keys.rsa()), toBytes("data"), CKM_SHA256_RSA_PKCS);
        ADD_FAILURE() << "signed with a mechanism the token does not offer";
    } catch (const Pkcs11Error& error) {
        EXPECT_EQ(error.rv(), static_cast<CK_RV>(CKR_MECHANISM_INVALID));
    }
}

TEST_F(SigningKeysTest, ListCertificatesShowsTheCertificateOfEveryKind) {
    startHost(SoftHsmSigningKeys::modulePath());
    nlohmann::json listed =
        askJson(R"({"action":"listCertificates","tokenSN":")" + keys.token().serial + "\"}");
    std::set<std::string> records;
    for (const nlohmann::json& record : listed.value("certificates", nlohmann::json::array())) {
        records.insert(record.dump());
    }
    ASSERT_EQ(ask(login(keys.token().serial, keys.token().userPin, false)),
              loginReply(keys.token().serial));
    std::set<std::string> expected;
    for (const SigningKey* key :
         {&keys.ecP256(), &keys.ecP384(), &keys.rsa(), &keys.rsaAlwaysAuthenticate()}) {
        expected.insert(certificateRecord(key->certificate.fields, keys.token().serial));
        nlohmann::json got = askJson(getCertificateRequest(key->certificate.fields.certificateSN));
        EXPECT_EQ(base64Bytes(got.value("certificate", "")), key->certificate.der) << got.dump();
    }
    EXPECT_EQ(records, expected) << listed.dump();
}

// A page signs with an EC key as with an RSA one: ECDSA over the SHA-256 of
// the payload's bytes, the raw r||s in the reply, and the login goes on
// signing afterwards (nothing is left active in its session).
TEST_F(SigningKeysTest, EcKeysSignThroughTheHost) {
    startHost(SoftHsmSigningKeys::modulePath());
    ASSERT_EQ(ask(login(keys.token().serial, keys.token().userPin, false)),
              loginReply(keys.token().serial));
    struct Case {
        const SigningKey& key;
        size_t size;
    };
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : {Case{keys.ecP256(), 64}, Case{keys.ecP384(), 96}}) {
            const std::string payload = "Pay 100 EUR, round " + std::to_string(round);
            nlohmann::json reply =
                askJson(signRequest(c.key.certificate.fields.certificateSN, payload));
            Bytes signature = base64Bytes(reply.value("signature", ""));
            EXPECT_EQ(signature.size(), c.size) << reply.dump();
            EXPECT_TRUE(verifyEcdsaSha256(c.key.publicKey.get(), toBytes(payload), signature))
                << reply.dump();
        }
    }
    nlohmann::json reply = askJson(signRequest(keys.rsa().certificate.fields.certificateSN, "rsa"));
    EXPECT_TRUE(verifyRsaSha256(keys.rsa().certificate.der, toBytes("rsa"),
                                base64Bytes(reply.value("signature", ""))))
        << reply.dump();
}

// On a token that cannot hash (no CKM_SHA256_RSA_PKCS) the host hashes and
// signs the DigestInfo with CKM_RSA_PKCS: the very signature the token makes
// when it hashes itself, and a certification request the new key signed.
TEST_F(SigningKeysTest, RsaWithoutSha256RsaPkcsGivesTheSameSignature) {
    const std::string payload = "the same either way";
    const std::string request = signRequest(keys.rsa().certificate.fields.certificateSN, payload);
    startHost(SoftHsmSigningKeys::modulePath());
    ASSERT_EQ(ask(login(keys.token().serial, keys.token().userPin, true)),
              loginReply(keys.token().serial));
    std::string hashedOnTheToken = ask(request);
    ASSERT_TRUE(verifyRsaSha256(keys.rsa().certificate.der, toBytes(payload),
                                base64Bytes(nlohmann::json::parse(hashedOnTheToken)["signature"])))
        << hashedOnTheToken;
    EXPECT_EQ(host->stop(), 0);

    ScopedEnv conf("SOFTHSM2_CONF", keys.confWithoutSha256RsaPkcs());
    startHost(SoftHsmSigningKeys::modulePath());
    ASSERT_EQ(ask(login(keys.token().serial, keys.token().userPin, true)),
              loginReply(keys.token().serial));
    EXPECT_EQ(ask(request), hashedOnTheToken);
    nlohmann::json generated = askJson(R"({"action":"generateKeys","tokenSN":")" +
                                       keys.token().serial + R"(","result":"csr"})");
    CertificationRequest csr = parseCertificationRequest(base64Bytes(generated.value("csr", "")));
    EXPECT_TRUE(csr.signatureValid) << generated.dump();
}

// The signing keys of identity cards need their PIN for every signature:
// the sign request carries it, and the key's own login is made with it.
TEST_F(SigningKeysTest, AKeyThatNeedsItsPinSignsWithTheRequestsPin) {
    startHost(SoftHsmSigningKeys::modulePath());
    ASSERT_EQ(ask(login(keys.token().serial, keys.token().userPin, false)),
              loginReply(keys.token().serial));
    const std::string certificateSN = keys.rsaAlwaysAuthenticate().certificate.fields.certificateSN;
    auto signWith = [&](const std::string& pinMember) {
        return ask(R"({"action":"sign","certificateSN":")" + certificateSN +
                   R"(","payload":"every signature")" + pinMember + "}");
    };
    const std::string needsPin =
        R"({"action":"sign","error":"The key needs its PIN for every signature"})";
    EXPECT_EQ(signWith(""), needsPin);
    EXPECT_EQ(signWith(R"(,"pin":"")"), needsPin);
    EXPECT_EQ(signWith(R"(,"pin":"000000")"),
              R"j({"action":"sign","error":"Incorrect PIN  (rc=160)"})j");
    for (int signature = 0; signature < 2; ++signature) {
        nlohmann::json reply =
            nlohmann::json::parse(signWith(R"(,"pin":")" + keys.token().userPin + "\""));
        EXPECT_TRUE(verifyRsaSha256(keys.rsaAlwaysAuthenticate().certificate.der,
                                    toBytes("every signature"),
                                    base64Bytes(reply.value("signature", ""))))
            << reply.dump();
    }
    // The refusals left the login as it was: other keys sign, PIN or not.
    nlohmann::json reply = askJson(R"({"action":"sign","certificateSN":")" +
                                   keys.ecP256().certificate.fields.certificateSN +
                                   R"(","payload":"x","pin":"ignored"})");
    EXPECT_TRUE(verifyEcdsaSha256(keys.ecP256().publicKey.get(), toBytes("x"),
                                  base64Bytes(reply.value("signature", ""))))
        << reply.dump();
}

}  // namespace
}  // namespace interop
