// Where the real PKCS#11 modules and the programs of their set-ups are on
// this machine, as tests.cmake found them when the build was configured.
#pragma once

#include <unistd.h>

#include <string>

namespace interop {

inline std::string openScModule() {
    return VANTREL_OPENSC_MODULE;
}
inline std::string openCryptokiModule() {
    return VANTREL_OPENCRYPTOKI_MODULE;
}
inline std::string p11KitProxyModule() {
    return VANTREL_P11KIT_PROXY_MODULE;
}
inline std::string p11KitTrustModule() {
    return VANTREL_P11KIT_TRUST_MODULE;
}
// NSS's built-in root certificates.
inline std::string nssRootsModule() {
    return VANTREL_NSS_ROOTS_MODULE;
}
// NSS's software token; it needs initialisation arguments.
inline std::string nssSoftokenModule() {
    return VANTREL_NSS_SOFTOKEN_MODULE;
}
// tpm2-pkcs11, the TPM 2.0 as tokens.
inline std::string tpm2Module() {
    return VANTREL_TPM2_MODULE;
}
// The card side of the virtual smart card (virtual_cac_card.cpp).
inline std::string virtualCacProgram() {
    return VANTREL_VIRTUAL_CAC;
}

inline bool runningAsRoot() {
    return geteuid() == 0;
}

}  // namespace interop
