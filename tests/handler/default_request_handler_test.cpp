#include "handler/default_request_handler.h"

#include <gtest/gtest.h>

#include "handler/session_state.h"
#include "json/json_parser.h"
#include "json/json_serializer.h"
#include "request/request_factory.h"

namespace {

// With no token module loaded, every action still reaches its own handler and
// answers with its own reply class.
class DefaultRequestHandlerTest : public ::testing::Test {
  protected:
    void TearDown() override { Logger::destroyInstance(); }

    std::string answer(const std::string& text) {
        JsonObjectParserFactory factory;
        ParseResultPtr<JsonValue> parsed = parseJsonObject(factory, text);
        EXPECT_TRUE(parsed->isSuccess()) << text;
        std::unique_ptr<Request> request =
            RequestFactory().createRequest(*static_cast<JsonObject*>(parsed->getValue()));
        std::unique_ptr<Response> response = handler.handle(*request, &state);
        response->setPort(request->getPort());
        std::unique_ptr<JsonObject> json = response->toJson();
        return JsonSerialiser(*json).getText();
    }

    DefaultRequestHandler handler;
    SessionState state;
};

}  // namespace

TEST_F(DefaultRequestHandlerTest, EveryActionReachesItsHandler) {
    const std::string notReady = R"("error":"Failed to initalise PKCS11 API")";
    const std::pair<std::string, std::string> cases[] = {
        {R"({"action":"info","port":"p1"})",
         R"({"action":"info","driver":"None","error":"There is no active token","host":"1.4","port":"p1"})"},
        {R"({"action":"selectCertificate","forceLogon":true})",
         R"({"action":"selectCertificate","error":"Not Implemented"})"},
        {R"({"action":"listTokens"})", R"({"action":"listTokens",)" + notReady + "}"},
        {R"({"action":"listCertificates"})", R"({"action":"listCertificates",)" + notReady + "}"},
        {R"({"action":"getCertificate","certificateSN":"01"})",
         R"({"action":"getCertificate",)" + notReady + "}"},
        {R"({"action":"login","tokenSN":"7","pin":"1"})",
         R"({"action":"login",)" + notReady + R"(,"tokenSN":"7"})"},
        {R"({"action":"sign","certificateSN":"01","payload":"x"})",
         R"({"action":"sign",)" + notReady + "}"},
        {R"({"action":"deleteCertificate","certificateSN":"0201"})",
         R"({"action":"deleteCertificate","certificateSN":"0201",)" + notReady + "}"},
        {R"({"action":"deleteOrphanKeys","tokenSN":"7","keyType":"public"})",
         R"({"action":"deleteOrphanKeys","deletedPK":0.000000,"deletedSK":0.000000,)" + notReady +
             R"(,"tokenSN":"7"})"},
        {R"({"action":"formatToken","tokenSN":"7","tokenPIN":"1"})",
         R"({"action":"formatToken",)" + notReady + R"(,"tokenSN":"7"})"},
        {R"({"action":"getOrphanKeys","tokenSN":"7","keyType":"private"})",
         R"({"action":"getOrphanKeys",)" + notReady + R"(,"tokenSN":"7"})"},
        {R"({"action":"changePIN","tokenSN":"7","oldPIN":"1","newPIN":"2"})",
         R"({"action":"changePIN",)" + notReady + R"(,"tokenSN":"7"})"},
        {R"({"action":"generateKeys","tokenSN":"7","result":"csr"})",
         R"({"action":"generateKeys",)" + notReady + R"(,"tokenSN":"7"})"},
        {R"({"action":"importCertificate","certificate":"MIIB"})",
         R"({"action":"importCertificate",)" + notReady + "}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(answer(c.first), c.second);
    }
    EXPECT_FALSE(state.isLoggedIn());
}

TEST_F(DefaultRequestHandlerTest, ConsecutiveDispatchesReturnIndependentResponses) {
    JsonObjectParserFactory factory;
    ParseResultPtr<JsonValue> first = parseJsonObject(factory, R"({"action":"info"})");
    ParseResultPtr<JsonValue> second = parseJsonObject(factory, R"({"action":"listTokens"})");
    auto infoRequest = RequestFactory().createRequest(*static_cast<JsonObject*>(first->getValue()));
    auto tokensRequest =
        RequestFactory().createRequest(*static_cast<JsonObject*>(second->getValue()));
    std::unique_ptr<Response> info = handler.handle(*infoRequest, &state);
    std::unique_ptr<Response> tokens = handler.handle(*tokensRequest, &state);
    EXPECT_EQ(info->getAction(), "info");
    EXPECT_EQ(tokens->getAction(), "listTokens");
    EXPECT_EQ(info->getError(), "There is no active token");
}
