#include <gtest/gtest.h>

#include "common/native_host_exception.h"
#include "json/json_serializer.h"
#include "response/admin_responses.h"
#include "response/certificate_responses.h"
#include "response/enrolment_responses.h"
#include "response/token_responses.h"

namespace {

std::string wire(Response& response, const std::string& port = "") {
    response.setPort(port);
    std::unique_ptr<JsonObject> json = response.toJson();
    return JsonSerialiser(*json).getText();
}

const HandlerException kFailure("Failure text");

std::unique_ptr<TokenInfo> token(const char* serial, int32_t pmin, int32_t pmax) {
    auto info = std::make_unique<TokenInfo>();
    info->tokenSN = serial;
    info->tokenLabel = "Label";
    info->tokenModel = "Model";
    info->pmin = pmin;
    info->pmax = pmax;
    return info;
}

}  // namespace

TEST(Response, EachClassWritesItsMembersInNameOrder) {
    InfoResponse info("0001", "eToken", 4, -1, "1.4", "eTPKCS11.dll");
    InfoResponse infoFailed("1.4", "None", HandlerException("There is no active token"));
    GetTokensResponse tokens;
    tokens.add(token("0001", 4, 16));
    tokens.add(token("", 0, -1));
    GetTokensResponse noTokens;
    GetTokensResponse tokensFailed(kFailure);
    LoginResponse login("1");
    LoginResponse loginFailed("1", TokenException("Incorrect PIN ", 160));
    SelectCertificateResponse select(HandlerException("Not Implemented"));
    ListCertificatesResponse certificates;
    auto certificate = std::make_unique<CertificateInfo>();
    certificate->subjectDN = "CN=A";
    certificate->serialNumber = "0a";
    certificate->tokenSN = "1";
    certificates.add(std::move(certificate));
    ListCertificatesResponse certificatesFailed(kFailure);
    GetCertificateResponse getCertificate("MIIB");
    GetCertificateResponse getCertificateFailed(kFailure);
    SignResponse sign("c2ln");
    SignResponse signFailed(HandlerException("Must login before being able to sign"));
    DeleteCertificateResponse deleteCertificate("020100");
    DeleteCertificateResponse deleteCertificateFailed("020100", kFailure);
    DeleteOrphanKeysResponse deleteOrphans("1", 2, 0);
    DeleteOrphanKeysResponse deleteOrphansFailed(
        "1", 1, 3, HandlerException("Failed to delete 2 orphan keys"));
    FormatTokenResponse format("1");
    FormatTokenResponse formatFailed("1", HandlerException("Failed to format the token", 182));
    GetOrphanKeysResponse orphans("1");
    auto orphan = std::make_unique<OrphanKey>();
    orphan->id = "0102";
    orphans.add(std::move(orphan));
    auto privateOrphan = std::make_unique<OrphanKey>();
    privateOrphan->id = "ff";
    privateOrphan->privateKey = true;
    orphans.add(std::move(privateOrphan));
    GetOrphanKeysResponse orphansFailed("1", kFailure);
    ChangePinResponse changePin("1");
    ChangePinResponse changePinFailed("1", kFailure);
    GenerateKeysResponse csr("1", "MIIC", true);
    GenerateKeysResponse publicKey("1", "AQAB", false);
    GenerateKeysResponse generateFailed("1", kFailure);
    ImportCertificateResponse import;
    ImportCertificateResponse importFailed(kFailure);

    const std::pair<Response*, const char*> cases[] = {
        {&info,
         R"({"action":"info","driver":"eTPKCS11.dll","host":"1.4","model":"eToken","pmax":-1.000000,"pmin":4.000000,"token":"0001"})"},
        {&infoFailed,
         R"({"action":"info","driver":"None","error":"There is no active token","host":"1.4"})"},
        {&tokens,
         R"({"action":"listTokens","tokens":[{"pmax":16.000000,"pmin":4.000000,"tokenLabel":"Label","tokenModel":"Model","tokenSN":"0001"},)"
         R"({"pmax":-1.000000,"pmin":0.000000,"tokenLabel":"Label","tokenModel":"Model","tokenSN":""}]})"},
        {&noTokens, R"({"action":"listTokens","tokens":[]})"},
        {&tokensFailed, R"({"action":"listTokens","error":"Failure text"})"},
        {&login, R"({"action":"login","tokenSN":"1"})"},
        {&loginFailed, R"j({"action":"login","error":"Incorrect PIN  (rc=160)","tokenSN":"1"})j"},
        {&select, R"({"action":"selectCertificate","error":"Not Implemented"})"},
        {&certificates,
         R"({"action":"listCertificates","certificates":[{"activationCode":"","issuerDN":"","serialNumber":"0a",)"
         R"("subjectAN":"","subjectDN":"CN=A","tokenSN":"1","validFrom":"","validUntil":""}]})"},
        {&certificatesFailed, R"({"action":"listCertificates","error":"Failure text"})"},
        {&getCertificate, R"({"action":"getCertificate","certificate":"MIIB"})"},
        {&getCertificateFailed, R"({"action":"getCertificate","error":"Failure text"})"},
        {&sign, R"({"action":"sign","signature":"c2ln"})"},
        {&signFailed, R"({"action":"sign","error":"Must login before being able to sign"})"},
        {&deleteCertificate, R"({"action":"deleteCertificate","certificateSN":"020100"})"},
        {&deleteCertificateFailed,
         R"({"action":"deleteCertificate","certificateSN":"020100","error":"Failure text"})"},
        {&deleteOrphans,
         R"({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":2.000000,"tokenSN":"1"})"},
        {&deleteOrphansFailed,
         R"({"action":"deleteOrphanKeys","deletedPK":3.000000,"deletedSK":1.000000,"error":"Failed to delete 2 orphan keys","tokenSN":"1"})"},
        {&format, R"({"action":"formatToken","tokenSN":"1"})"},
        {&formatFailed,
         R"j({"action":"formatToken","error":"Failed to format the token (rc=182)","tokenSN":"1"})j"},
        {&orphans,
         R"({"action":"getOrphanKeys","orphanKeys":[{"id":"0102","keyType":"public"},{"id":"ff","keyType":"private"}],"tokenSN":"1"})"},
        {&orphansFailed, R"({"action":"getOrphanKeys","error":"Failure text","tokenSN":"1"})"},
        {&changePin, R"({"action":"changePIN","tokenSN":"1"})"},
        {&changePinFailed, R"({"action":"changePIN","error":"Failure text","tokenSN":"1"})"},
        {&csr, R"({"action":"generateKeys","csr":"MIIC","tokenSN":"1"})"},
        {&publicKey, R"({"action":"generateKeys","publicKey":"AQAB","tokenSN":"1"})"},
        {&generateFailed, R"({"action":"generateKeys","error":"Failure text","tokenSN":"1"})"},
        {&import, R"({"action":"importCertificate"})"},
        {&importFailed, R"({"action":"importCertificate","error":"Failure text"})"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wire(*c.first), c.second);
    }
}

TEST(Response, PortIsEchoedOnlyWhenNotEmpty) {
    LoginResponse login("1");
    EXPECT_EQ(wire(login, "p1"), R"({"action":"login","port":"p1","tokenSN":"1"})");
    EXPECT_EQ(wire(login, ""), R"({"action":"login","tokenSN":"1"})");
    SignResponse failed(HandlerException("Must login before being able to sign"));
    EXPECT_EQ(wire(failed, "p1"),
              R"({"action":"sign","error":"Must login before being able to sign","port":"p1"})");
}

TEST(Response, TextsFromTokensAreEscapedIntoValidJson) {
    ListCertificatesResponse certificates;
    auto certificate = std::make_unique<CertificateInfo>();
    certificate->subjectDN = "CN=\"quoted\\\" \x01\xff";
    certificates.add(std::move(certificate));
    std::string text = wire(certificates);
    EXPECT_NE(text.find(R"("subjectDN":"CN=\"quoted\\\" \u0001)"
                        "\xEF\xBF\xBD\""),
              std::string::npos)
        << text;
}
