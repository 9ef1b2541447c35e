// One certificate found on a token, as display text for the certificate listing.
#pragma once

#include <string>

struct CertificateInfo {
    std::string subjectDN;
    std::string subjectAN;
    std::string issuerDN;
    std::string validFrom;
    std::string validUntil;
    std::string serialNumber;
    std::string tokenSN;
    std::string activationCode;
    // Base64 of the certificate's DER encoding.
    std::string value;
};
