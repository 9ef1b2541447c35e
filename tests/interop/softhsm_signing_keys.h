// A SoftHSM2 token holding the kinds of signing keys people's cards carry,
// each key pair made on the token with a certificate from a test CA:
//   ecP256, ecP384      EC key pairs (CKM_EC_KEY_PAIR_GEN); SoftHSM2 signs
//                       with CKM_ECDSA (the caller hashes) and has no
//                       CKM_ECDSA_SHA256;
//   rsa                 an RSA-2048 key pair;
//   rsaAlwaysAuthenticate  an RSA-2048 key pair whose private key has
//                       CKA_ALWAYS_AUTHENTICATE: SoftHSM2 signs with it only
//                       after a CKU_CONTEXT_SPECIFIC login that follows
//                       C_SignInit (CKR_USER_NOT_LOGGED_IN otherwise).
// Every private key is sensitive and not extractable.
//
// Starts: a SoftHSM2 token folder of its own (SOFTHSM2_CONF points at it,
// see SoftHsm) with one token, "Signing keys". confWithoutSha256RsaPkcs()
// names a second configuration of the same token folder under which the
// token offers only CKM_RSA_PKCS_KEY_PAIR_GEN, CKM_RSA_PKCS, CKM_RSA_X_509,
// CKM_EC_KEY_PAIR_GEN, CKM_ECDSA and the digests, as tokens without
// CKM_SHA256_RSA_PKCS do: a host started with SOFTHSM2_CONF set to it signs
// with the same keys through what such a token offers.
//
// Gives: modulePath(), token() (slot, serial, label, SO and user PIN) and,
// for each key, its CKA_ID, its certificate (DER and the fields a listing
// should show, read independently with libcrypto; certificateSN 02030ec256,
// 02030ec384, 020305a001 and 020305a002) and its public key for verifying
// signatures (verifyEcdsaSha256 takes the raw r||s).
//
// Restores: SOFTHSM2_CONF; the folders are removed with the object. Needs
// no root.
#pragma once

#include <p11-kit/pkcs11.h>

#include <string>

#include "interop/certificate_fields.h"
#include "support/softhsm.h"
#include "support/temp_dir.h"

namespace interop {

struct SigningKey {
    TokenCertificate certificate;  // its id is the key pair's CKA_ID
    EvpPkeyPtr publicKey;          // read from the token's public key object
};

class SoftHsmSigningKeys {
  public:
    SoftHsmSigningKeys();

    static std::string modulePath() { return SoftHsm::modulePath(); }
    const SoftHsmToken& token() const { return keysToken; }
    SoftHsm& softHsm() { return hsm; }

    const SigningKey& ecP256() const { return p256; }
    const SigningKey& ecP384() const { return p384; }
    const SigningKey& rsa() const { return rsaKey; }
    const SigningKey& rsaAlwaysAuthenticate() const { return alwaysAuthenticate; }

    std::string confWithoutSha256RsaPkcs() const { return restricted.file("softhsm2.conf"); }

  private:
    SoftHsm hsm;
    SoftHsmToken keysToken;
    TempDir restricted;
    SigningKey p256;
    SigningKey p384;
    SigningKey rsaKey;
    SigningKey alwaysAuthenticate;
};

}  // namespace interop
