#include "interop/softhsm_signing_keys.h"

#include "support/pkcs11_client.h"

namespace interop {

namespace {

struct KeyPlan {
    enum class Kind { Ec, Rsa } kind;
    EcCurve curve;
    bool alwaysAuthenticate;
    std::string id;
    std::string subject;
    Bytes serial;
};

SigningKey makeKey(Pkcs11Session& session, const TestCa& ca, const KeyPlan& plan) {
    Bytes id = toBytes(plan.id);
    Attributes extraPrivate;
    if (plan.alwaysAuthenticate) {
        extraPrivate.flag(CKA_ALWAYS_AUTHENTICATE, true);
    }
    SigningKey key;
    if (plan.kind == KeyPlan::Kind::Ec) {
        KeyPair pair = session.generateEcKeyPair(id, plan.curve, extraPrivate);
        key.publicKey = session.ecPublicKey(pair.publicKey);
    } else {
        RsaKeyOptions options(id, 2048);
        options.extraPrivate = extraPrivate;
        KeyPair pair = session.generateRsaKeyPair(options);
        key.publicKey = session.publicKey(pair.publicKey);
    }
    CertificateOptions options;
    options.subject = plan.subject;
    options.serial = plan.serial;
    key.certificate.der = ca.issueForKey(key.publicKey.get(), options);
    key.certificate.id = id;
    key.certificate.fields = readCertificateFields(key.certificate.der);
    session.createCertificate(key.certificate.der, id);
    return key;
}

}  // namespace

SoftHsmSigningKeys::SoftHsmSigningKeys() : keysToken(hsm.createToken("Signing keys")) {
    restricted.write("softhsm2.conf",
                     "directories.tokendir = " + hsm.tokenDir() +
                         "\nobjectstore.backend = file\nlog.level = ERROR\n"
                         "slots.mechanisms = CKM_RSA_PKCS_KEY_PAIR_GEN,CKM_RSA_PKCS,CKM_RSA_X_509,"
                         "CKM_EC_KEY_PAIR_GEN,CKM_ECDSA,CKM_SHA_1,CKM_SHA256,CKM_SHA384,"
                         "CKM_SHA512\n");
    TestCa ca;
    // A client of its own: SoftHSM2 keeps the slot list of its C_Initialize,
    // and the token was made just now.
    Pkcs11Client client(SoftHsm::modulePath(), Pkcs11Client::Instance::Fresh);
    Pkcs11Session session = client.openSession(keysToken.slot);
    session.login(CKU_USER, keysToken.userPin);
    using Kind = KeyPlan::Kind;
    p256 = makeKey(session, ca,
                   {Kind::Ec,
                    EcCurve::P256,
                    false,
                    "ec-p256",
                    "/C=ZZ/O=Vantrel Tests/CN=EC P-256",
                    {0x0e, 0xc2, 0x56}});
    p384 = makeKey(session, ca,
                   {Kind::Ec,
                    EcCurve::P384,
                    false,
                    "ec-p384",
                    "/C=ZZ/O=Vantrel Tests/CN=EC P-384",
                    {0x0e, 0xc3, 0x84}});
    rsaKey = makeKey(session, ca,
                     {Kind::Rsa,
                      EcCurve::P256,
                      false,
                      "rsa",
                      "/C=ZZ/O=Vantrel Tests/CN=RSA",
                      {0x05, 0xa0, 0x01}});
    alwaysAuthenticate = makeKey(session, ca,
                                 {Kind::Rsa,
                                  EcCurve::P256,
                                  true,
                                  "rsa-always-authenticate",
                                  "/C=ZZ/O=Vantrel Tests/CN=RSA Always Authenticate",
                                  {0x05, 0xa0, 0x02}});
}

}  // namespace interop
