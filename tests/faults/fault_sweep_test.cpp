// Every PKCS#11 call that an action makes, failed in turn through the fault
// module: the reply, the logged line, the login afterwards, what is left open
// on the token, and whether the host still serves.
#include <gtest/gtest.h>
#include <openssl/evp.h>

#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/logger.h"
#include "der/base64.h"
#include "der/hex.h"
#include "faults/fault_module.h"
#include "handler/default_request_handler.h"
#include "handler/session_state.h"
#include "json/json_parser.h"
#include "json/json_serializer.h"
#include "request/request_factory.h"
#include "support/crypto.h"
#include "support/pkcs11_client.h"
#include "support/softhsm.h"
#include "support/temp_dir.h"
#include "token/log_value.h"
#include "token/token.h"

namespace {

enum class Login { None, ReadOnly, ReadWrite };
enum class Token { One, Two, Three, Four };

// What must come of failing one call of an action with CKR_DEVICE_ERROR (48).
// The texts may hold the placeholders of FaultSweepTest::fill.
struct Fault {
    std::string function;
    unsigned long call;
    std::string reply;
    std::string log;  // exactly what reaches standard error
    bool loggedIn;    // afterwards
};

// One action, swept: the request, the login it starts from (made before any
// fault is set), the one token it sees, its reply when nothing fails, whether
// repeating it afterwards must give that reply again (it changes nothing on
// the token), and one row for every call it makes. `given` rules hold for the
// whole sweep, clean run included: a failure whose own path (a clean-up, a
// retry) is swept call by call.
struct Sweep {
    std::string request;
    Login start;
    Token token;
    std::string clean;
    bool repeatable;
    std::vector<Fault> faults;
    std::string given = "";
};

const bool kIn = true;
const bool kOut = false;

const std::string kCertificateRecord =
    R"({"activationCode":"{checkValue}","issuerDN":"CN=Vantrel Test CA, O=Vantrel Tests",)"
    R"("serialNumber":"01","subjectAN":"","subjectDN":"CN=Some User, O=JUX, C=ZZ",)"
    R"("tokenSN":"{sn1}","validFrom":"01/01/2025","validUntil":"01/01/2035"})";
const std::string kListing =
    R"({"action":"listCertificates","certificates":[)" + kCertificateRecord + "]}";
const std::string kNoCertificates = R"({"action":"listCertificates","certificates":[]})";
const std::string kCloseWarning = "Warning - failed to close token session {handle} (rc=48)";
const std::string kLogoutWarning = "Warning - failed to logout from token session {handle} (rc=48)";
const std::string kKeyQueryWarning = "Warning: Error finalising the key query (rc = 48) ";
const std::string kPublicKeyInfo =
    "Info: Failed to retrive the public key for certificate (sn=020101) during certificate "
    "detetion : ";
const std::string kPrivateKeyWarning =
    "Warning: Failed to retrive private key for certificate (sn=020101) during certificate "
    "detetion : ";
const std::string kDeleted = R"({"action":"deleteCertificate","certificateSN":"020101"})";
const std::string kCsrUnsigned =
    R"x({"action":"generateKeys","error":"Failed to init signatiure generation (rc=48)","tokenSN":"{sn1}"})x";
const std::string kEcCsrUnsigned =
    R"x({"action":"generateKeys","error":"Failed to init signatiure generation (rc=48)","tokenSN":"{sn4}"})x";
const std::string kKeyNotDeleted = "Failed to delete a generated key (rc=48)\n";
const std::string kImportRefused =
    R"x({"action":"importCertificate","error":"Error importing certificate on the token (rc=48)"})x";
const std::string kOrphans =
    R"({"action":"getOrphanKeys","orphanKeys":[{"id":"0b","keyType":"public"}],"tokenSN":"{sn2}"})";

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

std::vector<Fault> operator+(std::vector<Fault> first, const std::vector<Fault>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

// A signature's calls up to C_SignInit: the certificate and its private key
// found, the key read, the token's mechanisms (the login's first signature).
std::vector<Fault> signFaultsThroughSignInit(const std::string& signedReply) {
    return {
        {"C_FindObjectsInit", 1,
         R"x({"action":"sign","error":"Error initialising the query for certificates (rc=48)"})x",
         "", kIn},
        {"C_FindObjects", 1,
         R"x({"action":"sign","error":"Error quering token for certificates (rc=48)"})x", "", kIn},
        {"C_FindObjectsFinal", 1,
         R"x({"action":"sign","error":"Error finalising the public keys query (rc=48)"})x", "",
         kIn},
        {"C_GetAttributeValue", 1,
         R"x({"action":"sign","error":"Failed to get certificate id size (rc=48)"})x", "", kIn},
        {"C_GetAttributeValue", 2,
         R"x({"action":"sign","error":"Failed to get certificate id value (rc=48)"})x", "", kIn},
        {"C_FindObjectsInit", 2,
         R"x({"action":"sign","error":"Error initialising the query for certificate key (rc=48)"})x",
         "", kIn},
        {"C_FindObjects", 2,
         R"x({"action":"sign","error":"Error quering token for certificate key (rc=48)"})x", "",
         kIn},
        {"C_FindObjectsFinal", 2, signedReply, kKeyQueryWarning, kIn},
        {"C_GetAttributeValue", 3,
         R"x({"action":"sign","error":"Failed to get secretKey never-extractable attribute value (rc=48)"})x",
         "", kIn},
        {"C_GetAttributeValue", 4,
         R"x({"action":"sign","error":"Failed to read the private key's type (rc=48)"})x", "", kIn},
        {"C_GetMechanismList", 1,
         R"x({"action":"sign","error":"Failed to read the token's mechanisms (rc=48)"})x", "", kIn},
        {"C_GetMechanismList", 2,
         R"x({"action":"sign","error":"Failed to read the token's mechanisms (rc=48)"})x", "", kIn},
        {"C_SignInit", 1,
         R"x({"action":"sign","error":"Failed to init signatiure generation (rc=48)"})x", "", kIn},
    };
}

std::vector<Fault> signFaultsOfSign() {
    return {
        {"C_Sign", 1,
         R"x({"action":"sign","error":"Failed to determine the signature length (rc=48)"})x", "",
         kIn},
        {"C_Sign", 2, R"x({"action":"sign","error":"Failed to generate signature (rc=48)"})x", "",
         kIn},
    };
}

// generateKeys up to signing its request: the token's mechanisms, the pair,
// its public key read, its private key's type read.
std::vector<Fault> generateKeysFaultsBeforeSignInit() {
    return {
        {"C_GetMechanismList", 1,
         R"x({"action":"generateKeys","error":"Failed to read the token's mechanisms (rc=48)","tokenSN":"{sn1}"})x",
         "", kIn},
        {"C_GetMechanismList", 2,
         R"x({"action":"generateKeys","error":"Failed to read the token's mechanisms (rc=48)","tokenSN":"{sn1}"})x",
         "", kIn},
        {"C_GenerateKeyPair", 1,
         R"x({"action":"generateKeys","error":"Failed to generate keypair on the token (rc=48)","tokenSN":"{sn1}"})x",
         "", kIn},
        {"C_GetAttributeValue", 1,
         R"x({"action":"generateKeys","error":"Error retrieving RSA PK modulus and exponent sizes (rc=48)","tokenSN":"{sn1}"})x",
         "", kIn},
        {"C_GetAttributeValue", 2,
         R"x({"action":"generateKeys","error":"Error retrieving RSA PK modulus and exponent values (rc=48)","tokenSN":"{sn1}"})x",
         "", kIn},
        {"C_GetAttributeValue", 3,
         R"x({"action":"generateKeys","error":"Failed to read the private key's type (rc=48)","tokenSN":"{sn1}"})x",
         "", kIn},
    };
}

// generateKeys of an EC pair up to signing its request: the token's
// mechanisms, the pair, its public point read, its private key's type read.
std::vector<Fault> generateEcKeysFaultsBeforeSignInit() {
    std::vector<Fault> faults = generateKeysFaultsBeforeSignInit();
    for (Fault& fault : faults) {
        if (fault.function == "C_GetAttributeValue" && fault.call < 3) {
            fault.reply =
                R"x({"action":"generateKeys","error":"Failed to read the public key's attributes (rc=48)","tokenSN":"{sn4}"})x";
        }
        fault.reply = replaceAll(fault.reply, "{sn1}", "{sn4}");
    }
    return faults;
}

const std::string kKeyUnread =
    R"x({"action":"importCertificate","error":"Failed to read the public key's attributes (rc=48)"})x";

// The identifier of the public key found, read from call `first` on.
std::vector<Fault> importFaultsOfKeyId(unsigned long first) {
    return {
        {"C_GetAttributeValue", first,
         R"x({"action":"importCertificate","error":"Failed to get public key id size (rc=48)"})x",
         "", kIn},
        {"C_GetAttributeValue", first + 1,
         R"x({"action":"importCertificate","error":"Failed to get public key id value (rc=48)"})x",
         "", kIn},
    };
}

// The search of the token's public keys, of which it holds one.
std::vector<Fault> importFaultsOfSearch() {
    return {
        {"C_FindObjectsInit", 1,
         R"x({"action":"importCertificate","error":"Error initialising the query for certificates (rc=48)"})x",
         "", kIn},
        {"C_FindObjects", 1,
         R"x({"action":"importCertificate","error":"Error quering token for certificates (rc=48)"})x",
         "", kIn},
        {"C_FindObjects", 2,
         R"x({"action":"importCertificate","error":"Error quering token for certificates (rc=48)"})x",
         "", kIn},
        {"C_FindObjectsFinal", 1,
         R"x({"action":"importCertificate","error":"Error finalising the public keys query (rc=48)"})x",
         "", kIn},
    };
}

// importCertificate of an RSA key's certificate up to storing it: the RSA
// public key holding its modulus found, and its identifier read.
std::vector<Fault> importFaultsBeforeCreate() {
    return importFaultsOfSearch() +
           std::vector<Fault>{
               {"C_GetAttributeValue", 1, kKeyUnread, "", kIn},
               {"C_GetAttributeValue", 2,
                R"x({"action":"importCertificate","error":"Error retrieving RSA PK modulus and exponent sizes (rc=48)"})x",
                "", kIn},
               {"C_GetAttributeValue", 3,
                R"x({"action":"importCertificate","error":"Error retrieving RSA PK modulus and exponent values (rc=48)"})x",
                "", kIn},
           } +
           importFaultsOfKeyId(4);
}

// importCertificate of an EC key's certificate up to storing it: the EC
// public key found by its curve and point, and its identifier read.
std::vector<Fault> importEcFaultsBeforeCreate() {
    return importFaultsOfSearch() +
           std::vector<Fault>{
               {"C_GetAttributeValue", 1, kKeyUnread, "", kIn},
               {"C_GetAttributeValue", 2, kKeyUnread, "", kIn},
               {"C_GetAttributeValue", 3, kKeyUnread, "", kIn},
           } +
           importFaultsOfKeyId(4);
}

std::vector<Sweep> sweeps() {
    return {
        // info
        {R"({"action":"info"})",
         Login::ReadOnly,
         Token::One,
         R"({"action":"info","driver":"{driver}","host":"1.4","model":"SoftHSM v2","pmax":255.000000,"pmin":4.000000,"token":"{sn1}"})",
         true,
         {
             {"C_GetTokenInfo", 1,
              R"x({"action":"info","driver":"{driver}","error":"Failed to get token info (rc=48)","host":"1.4"})x",
              "", kIn},
         }},
        // listTokens
        {R"({"action":"listTokens"})",
         Login::None,
         Token::One,
         R"({"action":"listTokens","tokens":[{"pmax":255.000000,"pmin":4.000000,"tokenLabel":"Token one","tokenModel":"SoftHSM v2","tokenSN":"{sn1}"}]})",
         true,
         {
             {"C_GetSlotList", 1,
              R"x({"action":"listTokens","error":"Error retrieving the token slot count (rc=48)"})x",
              "", kOut},
             {"C_GetSlotList", 2,
              R"x({"action":"listTokens","error":"Error retrieving the token slots (rc=48)"})x", "",
              kOut},
             {"C_GetTokenInfo", 1, R"({"action":"listTokens","tokens":[]})",
              "Failed to get token info in slot {slot1} - Failed to get token info (rc=48)", kOut},
         }},
        // listCertificates of every token: a slot that cannot be opened or
        // read, or whose certificates cannot be found or read, is skipped
        {R"({"action":"listCertificates"})",
         Login::ReadOnly,
         Token::One,
         kListing,
         true,
         {
             {"C_GetSlotList", 1,
              R"x({"action":"listCertificates","error":"Error retrieving the token slot count (rc=48)"})x",
              "", kIn},
             {"C_GetSlotList", 2,
              R"x({"action":"listCertificates","error":"Error retrieving the token slots (rc=48)"})x",
              "", kIn},
             {"C_OpenSession", 1, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Failed to open token session "
              "(rc=48)\n",
              kIn},
             {"C_GetTokenInfo", 1, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Failed to get token info (rc=48)\n",
              kIn},
             {"C_FindObjectsInit", 1, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Error initialising the query for "
              "certificates (rc=48)\n",
              kIn},
             {"C_FindObjects", 1, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Error quering token for certificates "
              "(rc=48)\n",
              kIn},
             {"C_FindObjects", 2, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Error quering token for certificates "
              "(rc=48)\n",
              kIn},
             {"C_FindObjectsFinal", 1, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Error finalising the public keys "
              "query (rc=48)\n",
              kIn},
             {"C_GetAttributeValue", 1, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Failed to get certificate filelds "
              "lengths (rc=48)\n",
              kIn},
             {"C_GetAttributeValue", 2, kNoCertificates,
              "Failed to list certificates in slot {slot1} - Failed to get certificate filelds "
              "values (rc=48)\n",
              kIn},
             {"C_CloseSession", 1, kListing, kCloseWarning, kIn},
         }},
        // listCertificates of one token: any failure fails the listing
        {R"({"action":"listCertificates","tokenSN":"{sn1}"})",
         Login::ReadOnly,
         Token::One,
         kListing,
         true,
         {
             {"C_GetSlotList", 1,
              R"x({"action":"listCertificates","error":"Error retrieving the token slot count (rc=48)"})x",
              "", kIn},
             {"C_GetSlotList", 2,
              R"x({"action":"listCertificates","error":"Error retrieving the token slots (rc=48)"})x",
              "", kIn},
             {"C_GetTokenInfo", 1,
              R"({"action":"listCertificates","error":"No token with serial number {sn1}"})", "",
              kIn},
             {"C_OpenSession", 1,
              R"x({"action":"listCertificates","error":"Failed to open token session (rc=48)"})x",
              "", kIn},
             {"C_GetTokenInfo", 2,
              R"x({"action":"listCertificates","error":"Failed to get token info (rc=48)"})x", "",
              kIn},
             {"C_FindObjectsInit", 1,
              R"x({"action":"listCertificates","error":"Error initialising the query for certificates (rc=48)"})x",
              "", kIn},
             {"C_FindObjects", 1,
              R"x({"action":"listCertificates","error":"Error quering token for certificates (rc=48)"})x",
              "", kIn},
             {"C_FindObjects", 2,
              R"x({"action":"listCertificates","error":"Error quering token for certificates (rc=48)"})x",
              "", kIn},
             {"C_FindObjectsFinal", 1,
              R"x({"action":"listCertificates","error":"Error finalising the public keys query (rc=48)"})x",
              "", kIn},
             {"C_GetAttributeValue", 1,
              R"x({"action":"listCertificates","error":"Failed to get certificate filelds lengths (rc=48)"})x",
              "", kIn},
             {"C_GetAttributeValue", 2,
              R"x({"action":"listCertificates","error":"Failed to get certificate filelds values (rc=48)"})x",
              "", kIn},
             {"C_CloseSession", 1, kListing, kCloseWarning, kIn},
         }},
        // getCertificate
        {R"({"action":"getCertificate","certificateSN":"020101"})",
         Login::ReadOnly,
         Token::One,
         R"({"action":"getCertificate","certificate":"{certificate}"})",
         true,
         {
             {"C_FindObjectsInit", 1,
              R"x({"action":"getCertificate","error":"Error initialising the query for certificates (rc=48)"})x",
              "", kIn},
             {"C_FindObjects", 1,
              R"x({"action":"getCertificate","error":"Error quering token for certificates (rc=48)"})x",
              "", kIn},
             {"C_FindObjectsFinal", 1,
              R"x({"action":"getCertificate","error":"Error finalising the public keys query (rc=48)"})x",
              "", kIn},
             {"C_GetAttributeValue", 1,
              R"x({"action":"getCertificate","error":"Failed to get certificate content length (rc=48)"})x",
              "", kIn},
             {"C_GetAttributeValue", 2,
              R"x({"action":"getCertificate","error":"Failed to get certificate content value (rc=48)"})x",
              "", kIn},
         }},
        // login, over a read-only login: the old session is closed first, so
        // any later failure leaves the host logged out
        {R"({"action":"login","tokenSN":"{sn1}","pin":"123456","mode":"write"})",
         Login::ReadOnly,
         Token::One,
         R"({"action":"login","tokenSN":"{sn1}"})",
         false,
         {
             {"C_CloseSession", 1, R"({"action":"login","tokenSN":"{sn1}"})", kCloseWarning, kIn},
             {"C_GetSlotList", 1,
              R"x({"action":"login","error":"Error retrieving the token slot count (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_GetSlotList", 2,
              R"x({"action":"login","error":"Error retrieving the token slots (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_GetTokenInfo", 1,
              R"({"action":"login","error":"No token with serial number {sn1}","tokenSN":"{sn1}"})",
              "", kOut},
             {"C_OpenSession", 1,
              R"x({"action":"login","error":"Failed to open token session (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_Login", 1,
              R"x({"action":"login","error":"Login failed (rc=48)","tokenSN":"{sn1}"})x", "", kOut},
         }},
        // selectCertificate never reaches the token
        {R"({"action":"selectCertificate","forceLogon":true})",
         Login::None,
         Token::One,
         R"({"action":"selectCertificate","error":"Not Implemented"})",
         true,
         {}},
        // sign
        {R"({"action":"sign","certificateSN":"020101","payload":"fault sweep"})", Login::ReadOnly,
         Token::One, R"({"action":"sign","signature":"{signature}"})", true,
         signFaultsThroughSignInit(R"({"action":"sign","signature":"{signature}"})") +
             signFaultsOfSign()},
        // sign with a key that needs its PIN for every signature: the key's
        // own login follows C_SignInit
        {R"({"action":"sign","certificateSN":"020103","payload":"fault sweep","pin":"123456"})",
         Login::ReadOnly, Token::Three, R"({"action":"sign","signature":"{base64}"})", true,
         signFaultsThroughSignInit(R"({"action":"sign","signature":"{base64}"})") +
             std::vector<Fault>{
                 {"C_Login", 1, R"x({"action":"sign","error":"Login failed (rc=48)"})x", "", kIn},
             } +
             signFaultsOfSign()},
        // deleteCertificate: a key that cannot be found or deleted is only
        // logged
        {R"({"action":"deleteCertificate","certificateSN":"020101"})",
         Login::ReadWrite,
         Token::One,
         kDeleted,
         false,
         {
             {"C_FindObjectsInit", 1,
              R"x({"action":"deleteCertificate","certificateSN":"020101","error":"Error initialising the query for certificates (rc=48)"})x",
              "", kIn},
             {"C_FindObjects", 1,
              R"x({"action":"deleteCertificate","certificateSN":"020101","error":"Error quering token for certificates (rc=48)"})x",
              "", kIn},
             {"C_FindObjectsFinal", 1,
              R"x({"action":"deleteCertificate","certificateSN":"020101","error":"Error finalising the public keys query (rc=48)"})x",
              "", kIn},
             {"C_GetAttributeValue", 1, kDeleted,
              kPublicKeyInfo + "Failed to get certificate id size (rc=48)", kIn},
             {"C_GetAttributeValue", 2, kDeleted,
              kPublicKeyInfo + "Failed to get certificate id value (rc=48)", kIn},
             {"C_FindObjectsInit", 2, kDeleted,
              kPublicKeyInfo + "Error initialising the query for certificate key (rc=48)", kIn},
             {"C_FindObjects", 2, kDeleted,
              kPublicKeyInfo + "Error quering token for certificate key (rc=48)", kIn},
             {"C_FindObjectsFinal", 2, kDeleted, kKeyQueryWarning, kIn},
             {"C_DestroyObject", 1, kDeleted,
              "Warning: Failed to delete public key for certificate sn=020101 (rc = 48) ", kIn},
             {"C_GetAttributeValue", 3, kDeleted,
              kPrivateKeyWarning + "Failed to get certificate id size (rc=48)", kIn},
             {"C_GetAttributeValue", 4, kDeleted,
              kPrivateKeyWarning + "Failed to get certificate id value (rc=48)", kIn},
             {"C_FindObjectsInit", 3, kDeleted,
              kPrivateKeyWarning + "Error initialising the query for certificate key (rc=48)", kIn},
             {"C_FindObjects", 3, kDeleted,
              kPrivateKeyWarning + "Error quering token for certificate key (rc=48)", kIn},
             {"C_FindObjectsFinal", 3, kDeleted, kKeyQueryWarning, kIn},
             {"C_DestroyObject", 2, kDeleted,
              "Warning: Failed to delete private key for certificate sn=020101 (rc = 48) ", kIn},
             {"C_DestroyObject", 3,
              R"x({"action":"deleteCertificate","certificateSN":"020101","error":"Failed to delete certificate (rc=48)"})x",
              "", kIn},
         }},
        // getOrphanKeys
        {R"({"action":"getOrphanKeys","tokenSN":"{sn2}","keyType":"public"})",
         Login::ReadOnly,
         Token::Two,
         kOrphans,
         true,
         {
             {"C_FindObjectsInit", 1,
              R"x({"action":"getOrphanKeys","error":"Error initialising the query for certificates (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjects", 1,
              R"x({"action":"getOrphanKeys","error":"Error quering token for certificates (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjects", 2,
              R"x({"action":"getOrphanKeys","error":"Error quering token for certificates (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjectsFinal", 1,
              R"x({"action":"getOrphanKeys","error":"Error finalising the public keys query (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_GetAttributeValue", 1,
              R"x({"action":"getOrphanKeys","error":"Failed to get key id size (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_GetAttributeValue", 2,
              R"x({"action":"getOrphanKeys","error":"Failed to get key id value (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjectsInit", 2,
              R"x({"action":"getOrphanKeys","error":"Error initialising the query for certificate key (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjects", 3,
              R"x({"action":"getOrphanKeys","error":"Error quering token for certificate key (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjectsFinal", 2,
              R"x({"action":"getOrphanKeys","error":"Error finalising the key query (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_GetAttributeValue", 3,
              R"x({"action":"getOrphanKeys","error":"Failed to get key attrutes sizes (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_GetAttributeValue", 4,
              R"x({"action":"getOrphanKeys","error":"Failed to get key attributes values (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
         }},
        // deleteOrphanKeys
        {R"({"action":"deleteOrphanKeys","tokenSN":"{sn2}","keyType":"public"})",
         Login::ReadWrite,
         Token::Two,
         R"({"action":"deleteOrphanKeys","deletedPK":1.000000,"deletedSK":0.000000,"tokenSN":"{sn2}"})",
         false,
         {
             {"C_FindObjectsInit", 1,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Error initialising the query for certificates (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjects", 1,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Error quering token for certificates (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjects", 2,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Error quering token for certificates (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjectsFinal", 1,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Error finalising the public keys query (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_GetAttributeValue", 1,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Failed to get key id size (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_GetAttributeValue", 2,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Failed to get key id value (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjectsInit", 2,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Error initialising the query for certificate key (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjects", 3,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Error quering token for certificate key (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_FindObjectsFinal", 2,
              R"x({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Error finalising the key query (rc=48)","tokenSN":"{sn2}"})x",
              "", kIn},
             {"C_DestroyObject", 1,
              R"({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,"error":"Failed to delete 1 orphan keys","tokenSN":"{sn2}"})",
              "Warning: Failed to delete orphan public key (rc = 48)", kIn},
         }},
        // formatToken, with the token's security officer PIN and no login
        {R"({"action":"formatToken","tokenSN":"{sn1}","tokenPIN":"111111","adminPIN":"87654321"})",
         Login::None,
         Token::One,
         R"({"action":"formatToken","tokenSN":"{sn1}"})",
         false,
         {
             {"C_GetSlotList", 1,
              R"x({"action":"formatToken","error":"Error retrieving the token slot count (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_GetSlotList", 2,
              R"x({"action":"formatToken","error":"Error retrieving the token slots (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_GetTokenInfo", 1,
              R"({"action":"formatToken","error":"No token with serial number {sn1}","tokenSN":"{sn1}"})",
              "", kOut},
             {"C_InitToken", 1,
              R"x({"action":"formatToken","error":"Failed to format the token (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_OpenSession", 1,
              R"x({"action":"formatToken","error":"Failed to open token session (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_Login", 1,
              R"x({"action":"formatToken","error":"Login failed (rc=48)","tokenSN":"{sn1}"})x", "",
              kOut},
             {"C_InitPIN", 1,
              R"x({"action":"formatToken","error":"Failed to set token PIN (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_Logout", 1, R"({"action":"formatToken","tokenSN":"{sn1}"})", kLogoutWarning, kOut},
             {"C_CloseSession", 1, R"({"action":"formatToken","tokenSN":"{sn1}"})", kCloseWarning,
              kOut},
         }},
        // changePIN, over a login: logged out afterwards whatever happens
        {R"({"action":"changePIN","tokenSN":"{sn1}","oldPIN":"123456","newPIN":"654321"})",
         Login::ReadOnly,
         Token::One,
         R"({"action":"changePIN","tokenSN":"{sn1}"})",
         false,
         {
             {"C_CloseSession", 1, R"({"action":"changePIN","tokenSN":"{sn1}"})", kCloseWarning,
              kOut},
             {"C_GetSlotList", 1,
              R"x({"action":"changePIN","error":"Error retrieving the token slot count (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_GetSlotList", 2,
              R"x({"action":"changePIN","error":"Error retrieving the token slots (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_GetTokenInfo", 1,
              R"({"action":"changePIN","error":"No token with serial number {sn1}","tokenSN":"{sn1}"})",
              "", kOut},
             {"C_OpenSession", 1,
              R"x({"action":"changePIN","error":"Failed to open token session (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_Login", 1,
              R"x({"action":"changePIN","error":"Login failed (rc=48)","tokenSN":"{sn1}"})x", "",
              kOut},
             {"C_SetPIN", 1,
              R"x({"action":"changePIN","error":"Failed to set token PIN (rc=48)","tokenSN":"{sn1}"})x",
              "", kOut},
             {"C_Logout", 1, R"({"action":"changePIN","tokenSN":"{sn1}"})", kLogoutWarning, kOut},
             {"C_CloseSession", 2, R"({"action":"changePIN","tokenSN":"{sn1}"})", kCloseWarning,
              kOut},
         }},
        // generateKeys
        {R"({"action":"generateKeys","tokenSN":"{sn1}","result":"csr"})", Login::ReadWrite,
         Token::One, R"({"action":"generateKeys","csr":"{base64}","tokenSN":"{sn1}"})", false,
         generateKeysFaultsBeforeSignInit() +
             std::vector<Fault>{
                 {"C_SignInit", 1, kCsrUnsigned, "", kIn},
                 {"C_Sign", 1,
                  R"x({"action":"generateKeys","error":"Failed to determine the signature length (rc=48)","tokenSN":"{sn1}"})x",
                  "", kIn},
                 {"C_Sign", 2,
                  R"x({"action":"generateKeys","error":"Failed to generate signature (rc=48)","tokenSN":"{sn1}"})x",
                  "", kIn},
             }},
        // generateKeys whose request cannot be signed: the pair it made is
        // destroyed, private key first; a key that cannot be destroyed is
        // logged and the reply stays the signing error
        {R"({"action":"generateKeys","tokenSN":"{sn1}","result":"csr"})", Login::ReadWrite,
         Token::One, kCsrUnsigned, false,
         generateKeysFaultsBeforeSignInit() +
             std::vector<Fault>{
                 {"C_SignInit", 1, kCsrUnsigned, "", kIn},
                 {"C_DestroyObject", 1, kCsrUnsigned, kKeyNotDeleted, kIn},
                 {"C_DestroyObject", 2, kCsrUnsigned, kKeyNotDeleted, kIn},
             },
         "fail C_SignInit CKR_DEVICE_ERROR\n"},
        // importCertificate, of a second certificate for the stored key pair
        {R"({"action":"importCertificate","certificate":"{import}"})", Login::ReadWrite, Token::One,
         R"({"action":"importCertificate"})", false,
         importFaultsBeforeCreate() +
             std::vector<Fault>{{"C_CreateObject", 1, kImportRefused, "", kIn}}},
        // generateKeys of an EC pair
        {R"({"action":"generateKeys","tokenSN":"{sn4}","result":"csr","algorithm":"EC-P256"})",
         Login::ReadWrite, Token::Four,
         R"({"action":"generateKeys","csr":"{base64}","tokenSN":"{sn4}"})", false,
         generateEcKeysFaultsBeforeSignInit() +
             std::vector<Fault>{
                 {"C_SignInit", 1, kEcCsrUnsigned, "", kIn},
                 {"C_Sign", 1,
                  R"x({"action":"generateKeys","error":"Failed to determine the signature length (rc=48)","tokenSN":"{sn4}"})x",
                  "", kIn},
                 {"C_Sign", 2,
                  R"x({"action":"generateKeys","error":"Failed to generate signature (rc=48)","tokenSN":"{sn4}"})x",
                  "", kIn},
             }},
        // ... whose request cannot be signed: the pair goes again
        {R"({"action":"generateKeys","tokenSN":"{sn4}","result":"csr","algorithm":"EC-P384"})",
         Login::ReadWrite, Token::Four, kEcCsrUnsigned, false,
         generateEcKeysFaultsBeforeSignInit() +
             std::vector<Fault>{
                 {"C_SignInit", 1, kEcCsrUnsigned, "", kIn},
                 {"C_DestroyObject", 1, kEcCsrUnsigned, kKeyNotDeleted, kIn},
                 {"C_DestroyObject", 2, kEcCsrUnsigned, kKeyNotDeleted, kIn},
             },
         "fail C_SignInit CKR_DEVICE_ERROR\n"},
        // importCertificate of a certificate for the EC key pair
        {R"({"action":"importCertificate","certificate":"{importEc}"})", Login::ReadWrite,
         Token::Four, R"({"action":"importCertificate"})", false,
         importEcFaultsBeforeCreate() +
             std::vector<Fault>{{"C_CreateObject", 1, kImportRefused, "", kIn}}},
        // importCertificate on a token that refuses the certificate's dates:
        // the import is made again without them
        {R"({"action":"importCertificate","certificate":"{import}"})", Login::ReadWrite, Token::One,
         R"({"action":"importCertificate"})", false,
         importFaultsBeforeCreate() +
             std::vector<Fault>{
                 // The given rule answers the first attempt.
                 {"C_CreateObject", 1, R"({"action":"importCertificate"})", "", kIn},
                 {"C_CreateObject", 2, kImportRefused, "", kIn},
             },
         "fail C_CreateObject CKR_TEMPLATE_INCONSISTENT call 1\n"},
    };
}

// Whether `actual` is `expected` with {handle} standing for any number (the
// module chooses session handles) and {base64} for any base64 text.
bool matches(const std::string& expected, const std::string& actual) {
    std::string pattern;
    for (char c : expected) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos) {
            pattern += '\\';
        }
        pattern += c;
    }
    pattern = replaceAll(pattern, "\\{handle\\}", "-?[0-9]+");
    pattern = replaceAll(pattern, "\\{base64\\}", "[A-Za-z0-9+/]+=*");
    return std::regex_match(actual, std::regex(pattern));
}

class FaultSweepTest : public ::testing::Test {
  protected:
    void SetUp() override {
        one = hsm.createToken("Token one");
        two = hsm.createToken("Token two");
        three = hsm.createToken("Token three");
        four = hsm.createToken("Token four");
        blank = hsm.blankSlot();
        {
            Pkcs11Client client;
            Pkcs11Session first = client.openSession(one.slot);
            first.login(CKU_USER, one.userPin);
            KeyPair pair = first.generateRsaKeyPair(RsaKeyOptions({0x0A}));
            EvpPkeyPtr publicKey = first.publicKey(pair.publicKey);
            certificateDer = ca.issueForKey(publicKey.get(), certificateOptions({0x01}));
            first.createCertificate(certificateDer, {0x0A});
            importDer = ca.issueForKey(publicKey.get(), certificateOptions({0x02}));

            // A public key that no certificate claims, alone on its token.
            Pkcs11Session second = client.openSession(two.slot);
            second.login(CKU_USER, two.userPin);
            KeyPair orphan = second.generateRsaKeyPair(RsaKeyOptions({0x0B}, 1024));
            second.destroy(orphan.privateKey);

            // A key that needs its PIN for every signature, with its certificate.
            Pkcs11Session third = client.openSession(three.slot);
            third.login(CKU_USER, three.userPin);
            RsaKeyOptions alwaysAuthenticate({0x0C}, 1024);
            alwaysAuthenticate.extraPrivate.flag(CKA_ALWAYS_AUTHENTICATE, true);
            KeyPair keys = third.generateRsaKeyPair(alwaysAuthenticate);
            third.createCertificate(
                ca.issueForKey(third.publicKey(keys.publicKey).get(), certificateOptions({0x03})),
                {0x0C});

            // An EC key pair without its certificate.
            Pkcs11Session fourth = client.openSession(four.slot);
            fourth.login(CKU_USER, four.userPin);
            KeyPair ec = fourth.generateEcKeyPair({0x0D});
            importEcDer =
                ca.issueForKey(fourth.ecPublicKey(ec.publicKey).get(), certificateOptions({0x04}));
        }
        std::filesystem::copy(hsm.tokenDir(), snapshot.file("tokens"),
                              std::filesystem::copy_options::recursive);
    }

    void TearDown() override {
        unloadTokenLibrary();
        Logger::destroyInstance();
    }

    static CertificateOptions certificateOptions(Bytes serial) {
        CertificateOptions options;
        options.serial = std::move(serial);
        options.subject = "/C=ZZ/O=JUX/CN=Some User";
        return options;
    }

    // The token's CKA_CHECK_VALUE of a certificate: the first three bytes of
    // the SHA-1 of its value.
    static std::string checkValue(const Bytes& der) {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int length = 0;
        EVP_Digest(der.data(), der.size(), digest, &length, EVP_sha1(), nullptr);
        return hexEncode(digest, 3);
    }

    // Replaces the placeholders: {sn1}, {sn2} and {sn4} the tokens' serial numbers,
    // {slot1} the first token's slot as log lines print it, {driver} the
    // module's file name, {certificate} and {import} the base64 of the stored
    // certificate and of the ones to import (for the RSA and the EC key),
    // {checkValue} the stored
    // certificate's check value, {signature} the clean run's signature.
    std::string fill(const std::string& text) const {
        const std::pair<std::string, std::string> values[] = {
            {"{sn1}", one.serial},
            {"{sn2}", two.serial},
            {"{sn4}", four.serial},
            {"{slot1}", std::to_string(logValue(one.slot))},
            {"{driver}", std::filesystem::path(FaultModule::path()).filename().string()},
            {"{certificate}", base64Encode(certificateDer.data(), certificateDer.size())},
            {"{import}", base64Encode(importDer.data(), importDer.size())},
            {"{importEc}", base64Encode(importEcDer.data(), importEcDer.size())},
            {"{checkValue}", checkValue(certificateDer)},
            {"{signature}", cleanSignature},
        };
        std::string filled = text;
        for (const auto& [placeholder, value] : values) {
            filled = replaceAll(filled, placeholder, value);
        }
        return filled;
    }

    // Hides every slot but the sweep's token, so that each action sees one
    // token whatever order the module lists its slots in.
    std::string visibleOnly(Token token) const {
        std::string rules = "hide slot " + std::to_string(blank) + "\n";
        for (Token other : {Token::One, Token::Two, Token::Three, Token::Four}) {
            if (other != token) {
                rules += "hide slot " + std::to_string(tokenOf(other).slot) + "\n";
            }
        }
        return rules;
    }

    std::string answer(const std::string& text) {
        ParseResultPtr<JsonValue> parsed = parseJsonObject(parserFactory, text);
        EXPECT_TRUE(parsed->isSuccess()) << text;
        std::unique_ptr<Request> request =
            RequestFactory().createRequest(*static_cast<JsonObject*>(parsed->getValue()));
        std::unique_ptr<Response> response = handler->handle(*request, state.get());
        response->setPort(request->getPort());
        std::unique_ptr<JsonObject> json = response->toJson();
        return JsonSerialiser(*json).takeText();
    }

    struct Outcome {
        std::string reply;
        std::string log;
        bool loggedIn = false;
        unsigned long openSessions = 0;
        unsigned long activeSearches = 0;
        std::map<std::string, unsigned long> calls;
        // The requests served afterwards: info, listTokens and the action again.
        std::string info;
        std::string tokens;
        std::string again;
    };

    // A fresh copy of the tokens and a fresh host over them; the sweep's
    // login; then the action with `rule` in force, and the requests after it.
    Outcome run(const Sweep& sweep, const std::string& rule) {
        std::filesystem::remove_all(hsm.tokenDir());
        std::filesystem::copy(snapshot.file("tokens"), hsm.tokenDir(),
                              std::filesystem::copy_options::recursive);
        std::string hidden = visibleOnly(sweep.token);
        faults.setRules(hidden);
        EXPECT_TRUE(loadTokenLibrary(FaultModule::path()));
        state = std::make_unique<SessionState>();
        handler = std::make_unique<DefaultRequestHandler>();
        if (sweep.start != Login::None) {
            const std::string& serial = serialOf(sweep.token);
            std::string mode = sweep.start == Login::ReadWrite ? "write" : "read";
            EXPECT_EQ(answer(R"({"action":"login","tokenSN":")" + serial + R"(","pin":"123456",)" +
                             R"("mode":")" + mode + R"("})"),
                      R"({"action":"login","tokenSN":")" + serial + R"("})");
        }
        Outcome outcome;
        FaultState before = faults.state();
        faults.setRules(hidden + sweep.given + rule);
        testing::internal::CaptureStderr();
        outcome.reply = answer(fill(sweep.request));
        outcome.log = testing::internal::GetCapturedStderr();
        outcome.calls = faults.state().callsSince(before);
        faults.setRules(hidden);
        outcome.loggedIn = state->isLoggedIn();
        outcome.openSessions = FaultModule::loadedOpenSessions();
        outcome.activeSearches = FaultModule::loadedActiveSearches();
        outcome.info = answer(R"({"action":"info"})");
        outcome.tokens = answer(R"({"action":"listTokens"})");
        if (sweep.repeatable) {
            outcome.again = answer(fill(sweep.request));
        }
        unloadTokenLibrary();
        return outcome;
    }

    const SoftHsmToken& tokenOf(Token token) const {
        const SoftHsmToken* tokens[] = {&one, &two, &three, &four};
        return *tokens[static_cast<int>(token)];
    }
    const std::string& serialOf(Token token) const { return tokenOf(token).serial; }

    std::string infoReply(bool loggedIn, Token token) const {
        if (!loggedIn) {
            return fill(
                R"({"action":"info","driver":"{driver}","error":"There is no active token","host":"1.4"})");
        }
        return fill(R"({"action":"info","driver":"{driver}","host":"1.4","model":"SoftHSM v2",)"
                    R"("pmax":255.000000,"pmin":4.000000,"token":")") +
               serialOf(token) + R"("})";
    }

    SoftHsm hsm;
    SoftHsmToken one;
    SoftHsmToken two;
    SoftHsmToken three;
    SoftHsmToken four;
    CK_SLOT_ID blank = 0;
    TestCa ca;
    Bytes certificateDer;
    Bytes importDer;
    Bytes importEcDer;
    std::string cleanSignature;
    TempDir snapshot;
    FaultModule faults;
    JsonObjectParserFactory parserFactory;
    std::unique_ptr<SessionState> state;
    std::unique_ptr<DefaultRequestHandler> handler;
};

}  // namespace

TEST_F(FaultSweepTest, EveryFailingCallOfEveryActionIsAnsweredAndLeavesNothingOpen) {
    for (const Sweep& sweep : sweeps()) {
        SCOPED_TRACE(sweep.request);
        Outcome clean = run(sweep, "");
        if (sweep.clean.find("{signature}") != std::string::npos) {
            cleanSignature = clean.reply.substr(clean.reply.find(R"("signature":")") + 13);
            cleanSignature.resize(cleanSignature.size() - 2);
            std::vector<uint8_t> signature = base64Decode(cleanSignature);
            EXPECT_TRUE(verifyRsaSha256(certificateDer, toBytes("fault sweep"),
                                        Bytes(signature.begin(), signature.end())));
        }
        EXPECT_TRUE(matches(fill(sweep.clean), clean.reply)) << clean.reply;
        EXPECT_EQ(clean.log, "");

        // The table holds one row for every call the action makes, no more.
        std::set<std::pair<std::string, unsigned long>> made;
        for (const auto& [function, count] : clean.calls) {
            for (unsigned long n = 1; n <= count; ++n) {
                made.insert({function, n});
            }
        }
        std::set<std::pair<std::string, unsigned long>> swept;
        for (const Fault& fault : sweep.faults) {
            swept.insert({fault.function, fault.call});
        }
        EXPECT_EQ(swept, made);
        EXPECT_EQ(swept.size(), sweep.faults.size()) << "a call swept twice";

        for (const Fault& fault : sweep.faults) {
            SCOPED_TRACE(fault.function + " call " + std::to_string(fault.call));
            Outcome outcome = run(sweep, "fail " + fault.function + " CKR_DEVICE_ERROR call " +
                                             std::to_string(fault.call) + "\n");
            EXPECT_TRUE(matches(fill(fault.reply), outcome.reply)) << outcome.reply;
            EXPECT_TRUE(matches(fill(fault.log), outcome.log)) << "[" << outcome.log << "]";
            EXPECT_EQ(outcome.loggedIn, fault.loggedIn);
            // Only the login's own session stays open.
            EXPECT_EQ(outcome.openSessions, fault.loggedIn ? 1u : 0u);
            EXPECT_EQ(outcome.activeSearches, 0u);
            EXPECT_EQ(outcome.info, infoReply(fault.loggedIn, sweep.token));
            EXPECT_NE(outcome.tokens.find(R"("tokenSN":")" + serialOf(sweep.token) + "\""),
                      std::string::npos)
                << outcome.tokens;
            if (sweep.repeatable) {
                EXPECT_TRUE(matches(fill(sweep.clean), outcome.again)) << outcome.again;
            }
        }
    }
}
