#include "request/request_factory.h"

#include <gtest/gtest.h>

#include <chrono>

#include "common/native_host_exception.h"
#include "json/json_parser.h"
#include "request/request.h"
#include "request/request_visitor.h"

namespace {

// Names the class a request reached and lists its fields.
class Describer : public RequestVisitor {
  public:
    std::string text;

    void visit(ImportCertificateRequest& r) override {
        text = "importCertificate certificate=" + r.getCertificate();
    }
    void visit(GenerateKeysRequest& r) override {
        const char* algorithms[] = {"RSA-2048", "EC-P256", "EC-P384"};
        text = "generateKeys tokenSN=" + r.getTokenSN() + " wantCsr=" + flag(r.getWantCsr()) +
               " algorithm=" + algorithms[static_cast<int>(r.getAlgorithm())];
    }
    void visit(ChangePinRequest& r) override {
        text = "changePIN tokenSN=" + r.getTokenSN() + " oldPIN=" + plain(r.getOldPIN()) +
               " newPIN=" + plain(r.getNewPIN());
    }
    void visit(GetTokensRequest&) override { text = "listTokens"; }
    void visit(GetOrphanKeysRequest& r) override {
        text =
            "getOrphanKeys tokenSN=" + r.getTokenSN() + keys(r.getPrivateKeys(), r.getPublicKeys());
    }
    void visit(FormatTokenRequest& r) override {
        text = "formatToken tokenSN=" + r.getTokenSN() + " tokenPIN=" + plain(r.getTokenPIN()) +
               " adminPIN=" + optional(r.getAdminPIN());
    }
    void visit(DeleteOrphanKeysRequest& r) override {
        text = "deleteOrphanKeys tokenSN=" + r.getTokenSN() +
               keys(r.getPrivateKeys(), r.getPublicKeys());
    }
    void visit(DeleteCertificateRequest& r) override {
        text = "deleteCertificate certificateSN=" + r.getCertificateSN();
    }
    void visit(SignRequest& r) override {
        text = "sign certificateSN=" + r.getCertificateSN() + " payload=" + r.getPayload() +
               " pin=" + optional(r.getPin());
    }
    void visit(SelectCertificateRequest& r) override {
        text = "selectCertificate forceLogon=" + flag(r.getForceLogon());
    }
    void visit(LoginRequest& r) override {
        text = "login tokenSN=" + r.getTokenSN() + " pin=" + plain(r.getPin()) +
               " readWrite=" + flag(r.isReadWrite());
    }
    void visit(GetCertificateRequest& r) override {
        text = "getCertificate certificateSN=" + r.getCertificateSN();
    }
    void visit(ListCertificatesRequest& r) override {
        text = "listCertificates tokenSN=" + optional(r.getTokenSN());
    }
    void visit(InfoRequest&) override { text = "info"; }

  private:
    static std::string flag(bool value) { return value ? "1" : "0"; }
    static std::string plain(const SecretString& pin) { return std::string(pin.view()); }
    static std::string optional(const std::optional<std::string>& value) {
        return value ? "'" + *value + "'" : "absent";
    }
    static std::string optional(const std::optional<SecretString>& pin) {
        return pin ? "'" + plain(*pin) + "'" : "absent";
    }
    static std::string keys(bool privateKeys, bool publicKeys) {
        return " private=" + flag(privateKeys) + " public=" + flag(publicKeys);
    }
};

ParseResultPtr<JsonValue> parse(const std::string& text) {
    JsonObjectParserFactory factory;
    ParseResultPtr<JsonValue> result = parseJsonObject(factory, text);
    EXPECT_TRUE(result->isSuccess()) << text;
    return result;
}

JsonObject& objectOf(const ParseResultPtr<JsonValue>& result) {
    return *static_cast<JsonObject*>(result->getValue());
}

std::unique_ptr<Request> decode(const std::string& text) {
    ParseResultPtr<JsonValue> json = parse(text);
    // The request must not need its JSON tree any more.
    return RequestFactory().createRequest(objectOf(json));
}

std::string describe(Request& request) {
    Describer describer;
    request.accept(describer);
    return describer.text + " port=" + request.getPort();
}

}  // namespace

TEST(RequestFactory, EachActionReachesItsClassWithItsMembers) {
    struct Case {
        const char* json;
        const char* expected;
    } cases[] = {
        {R"({"action":"info"})", "info port="},
        {R"({"action":"info","port":"p1","extra":[1,{}]})", "info port=p1"},
        {R"({"action":"listTokens","port":""})", "listTokens port="},
        {R"({"action":"listCertificates"})", "listCertificates tokenSN=absent port="},
        {R"({"action":"listCertificates","tokenSN":""})", "listCertificates tokenSN='' port="},
        {R"({"action":"listCertificates","tokenSN":"T1"})", "listCertificates tokenSN='T1' port="},
        {R"({"action":"getCertificate","certificateSN":"0a"})",
         "getCertificate certificateSN=0a port="},
        {R"({"action":"login","tokenSN":"1","pin":"2"})",
         "login tokenSN=1 pin=2 readWrite=0 port="},
        {R"({"action":"login","tokenSN":"1","pin":"2","mode":"write"})",
         "login tokenSN=1 pin=2 readWrite=1 port="},
        {R"({"action":"login","tokenSN":"1","pin":"2","mode":"read"})",
         "login tokenSN=1 pin=2 readWrite=0 port="},
        {R"({"action":"login","tokenSN":"1","pin":"2","mode":"Write"})",
         "login tokenSN=1 pin=2 readWrite=0 port="},
        {R"({"action":"selectCertificate","forceLogon":true})",
         "selectCertificate forceLogon=1 port="},
        {R"({"action":"selectCertificate","forceLogon":false})",
         "selectCertificate forceLogon=0 port="},
        {R"({"action":"sign","certificateSN":"0a","payload":"data"})",
         "sign certificateSN=0a payload=data pin=absent port="},
        {R"({"action":"sign","certificateSN":"0a","payload":"data","pin":"1234"})",
         "sign certificateSN=0a payload=data pin='1234' port="},
        {R"({"action":"sign","pin":"","certificateSN":"0a","payload":"data"})",
         "sign certificateSN=0a payload=data pin='' port="},
        {R"({"action":"sign","certificateSN":"0a","payload":""})",
         "sign certificateSN=0a payload= pin=absent port="},
        {R"({"action":"sign","certificateSN":"0a","payload":{"b":[1,true],"a":"x"}})",
         "sign certificateSN=0a payload=<a>x</a><b><item>1.000000</item><item>true</item></b> "
         "pin=absent port="},
        {R"({"action":"sign","certificateSN":"0a","payload":{}})",
         "sign certificateSN=0a payload= pin=absent port="},
        {R"({"action":"deleteCertificate","certificateSN":"0a"})",
         "deleteCertificate certificateSN=0a port="},
        {R"({"action":"getOrphanKeys","tokenSN":"1","keyType":"private"})",
         "getOrphanKeys tokenSN=1 private=1 public=0 port="},
        {R"({"action":"getOrphanKeys","tokenSN":"1","keyType":"public"})",
         "getOrphanKeys tokenSN=1 private=0 public=1 port="},
        {R"({"action":"deleteOrphanKeys","tokenSN":"1","keyType":"private"})",
         "deleteOrphanKeys tokenSN=1 private=1 public=0 port="},
        {R"({"action":"deleteOrphanKeys","tokenSN":"1","keyType":"public"})",
         "deleteOrphanKeys tokenSN=1 private=0 public=1 port="},
        {R"({"action":"formatToken","tokenSN":"1","tokenPIN":"2"})",
         "formatToken tokenSN=1 tokenPIN=2 adminPIN=absent port="},
        {R"({"action":"formatToken","tokenSN":"1","tokenPIN":"2","adminPIN":""})",
         "formatToken tokenSN=1 tokenPIN=2 adminPIN='' port="},
        {R"({"action":"formatToken","tokenSN":"1","tokenPIN":"2","adminPIN":"3"})",
         "formatToken tokenSN=1 tokenPIN=2 adminPIN='3' port="},
        {R"({"action":"generateKeys","tokenSN":"1","result":"csr"})",
         "generateKeys tokenSN=1 wantCsr=1 algorithm=RSA-2048 port="},
        {R"({"action":"generateKeys","tokenSN":"1","result":"publicKey"})",
         "generateKeys tokenSN=1 wantCsr=0 algorithm=RSA-2048 port="},
        {R"({"action":"generateKeys","tokenSN":"1","result":"csr","algorithm":"RSA-2048"})",
         "generateKeys tokenSN=1 wantCsr=1 algorithm=RSA-2048 port="},
        {R"({"action":"generateKeys","algorithm":"EC-P256","tokenSN":"1","result":"csr"})",
         "generateKeys tokenSN=1 wantCsr=1 algorithm=EC-P256 port="},
        {R"({"action":"generateKeys","tokenSN":"1","result":"publicKey","algorithm":"EC-P384"})",
         "generateKeys tokenSN=1 wantCsr=0 algorithm=EC-P384 port="},
        {R"({"action":"importCertificate","certificate":"MIIB"})",
         "importCertificate certificate=MIIB port="},
        {R"({"action":"changePIN","tokenSN":"1","oldPIN":"2","newPIN":""})",
         "changePIN tokenSN=1 oldPIN=2 newPIN= port="},
        // The first of repeated members counts, the action included.
        {R"({"action":"info","action":"sign","port":"a","port":"b"})", "info port=a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        std::unique_ptr<Request> request = decode(c.json);
        ASSERT_NE(request, nullptr);
        EXPECT_EQ(describe(*request), c.expected);
    }
}

TEST(RequestFactory, DecodingFailuresCarryTheirMessages) {
    struct Case {
        const char* json;
        const char* message;
    } cases[] = {
        {R"({})", "Missing request 'action' property"},
        {R"({"Action":"info"})", "Missing request 'action' property"},
        {R"({"action":5})", "Invalid 'action' property type"},
        {R"({"action":null})", "Invalid 'action' property type"},
        {R"({"action":"Sign"})", "Unknown 'action' value : Sign"},
        {R"({"action":""})", "Unknown 'action' value : "},
        {R"({"action":"listTokens","port":7})",
         "Expected JSON object string property port but got something else"},
        {R"({"action":"sign","port":{},"payload":"x"})",
         "Expected JSON object string property port but got something else"},
        {R"({"action":"listCertificates","tokenSN":5})",
         "Expected JSON object string property tokenSN but got something else"},
        {R"({"action":"getCertificate"})",
         "Missing mandatory JSON object string property certificateSN"},
        {R"({"action":"getCertificate","certificateSN":null})",
         "Missing mandatory JSON object string property certificateSN"},
        {R"({"action":"login","pin":"2"})",
         "Missing mandatory JSON object string property tokenSN"},
        {R"({"action":"login","tokenSN":"1","pin":2})",
         "Missing mandatory JSON object string property pin"},
        {R"({"action":"login","tokenSN":"1","pin":"2","mode":true})",
         "Expected JSON object string property mode but got something else"},
        {R"({"action":"selectCertificate"})",
         "Missing mandatory JSON object boolean property forceLogon"},
        {R"({"action":"selectCertificate","forceLogon":"true"})",
         "Missing mandatory JSON object boolean property forceLogon"},
        {R"({"action":"selectCertificate","forceLogon":1})",
         "Missing mandatory JSON object boolean property forceLogon"},
        {R"({"action":"sign","payload":"x"})",
         "Missing mandatory JSON object string property certificateSN"},
        {R"({"action":"sign","certificateSN":"0a"})",
         "Missing mandatory JSON object property 'payload'"},
        {R"({"action":"sign","certificateSN":"0a","payload":[1]})",
         "Invalid JSON 'payload' property type"},
        {R"({"action":"sign","certificateSN":"0a","payload":null})",
         "Invalid JSON 'payload' property type"},
        {R"({"action":"sign","certificateSN":"0a","payload":5})",
         "Invalid JSON 'payload' property type"},
        {R"({"action":"sign","certificateSN":"0a","payload":"x","pin":1234})",
         "Expected JSON object string property pin but got something else"},
        // The payload is examined before the PIN.
        {R"({"action":"sign","certificateSN":"0a","payload":5,"pin":1234})",
         "Invalid JSON 'payload' property type"},
        {R"({"action":"deleteCertificate","certificateSN":[]})",
         "Missing mandatory JSON object string property certificateSN"},
        {R"({"action":"getOrphanKeys","tokenSN":"1"})",
         "Missing mandatory JSON object string property keyType"},
        {R"({"action":"getOrphanKeys","tokenSN":"1","keyType":"Private"})",
         "Get orphan key reqyest - invalid keyType value Private"},
        {R"({"action":"deleteOrphanKeys","keyType":"private"})",
         "Missing mandatory JSON object string property tokenSN"},
        {R"({"action":"deleteOrphanKeys","tokenSN":"1","keyType":"write"})",
         "Get orphan key reqyest - invalid keyType value write"},
        {R"({"action":"formatToken","tokenSN":"1"})",
         "Missing mandatory JSON object string property tokenPIN"},
        {R"({"action":"formatToken","tokenSN":"1","tokenPIN":"2","adminPIN":false})",
         "Expected JSON object string property adminPIN but got something else"},
        {R"({"action":"generateKeys","tokenSN":"1"})",
         "Missing mandatory JSON object string property result"},
        {R"({"action":"generateKeys","tokenSN":"1","result":"CSR"})",
         "Generate key pair request - invalid result type CSR"},
        {R"({"action":"generateKeys","tokenSN":"1","result":""})",
         "Generate key pair request - invalid result type "},
        // The result is examined before the algorithm.
        {R"({"action":"generateKeys","tokenSN":"1","result":"x","algorithm":"DSA"})",
         "Generate key pair request - invalid result type x"},
        {R"({"action":"generateKeys","tokenSN":"1","result":"csr","algorithm":"ec-p256"})",
         "Generate key pair request - invalid algorithm value ec-p256"},
        {R"({"action":"generateKeys","tokenSN":"1","result":"csr","algorithm":"EC-P521"})",
         "Generate key pair request - invalid algorithm value EC-P521"},
        {R"({"action":"generateKeys","tokenSN":"1","result":"csr","algorithm":""})",
         "Generate key pair request - invalid algorithm value "},
        {R"({"action":"generateKeys","tokenSN":"1","result":"csr","algorithm":256})",
         "Expected JSON object string property algorithm but got something else"},
        {R"({"action":"importCertificate","certificate":1})",
         "Missing mandatory JSON object string property certificate"},
        {R"({"action":"changePIN","tokenSN":"1","newPIN":"3"})",
         "Missing mandatory JSON object string property oldPIN"},
        {R"({"action":"changePIN","tokenSN":"1","oldPIN":"2"})",
         "Missing mandatory JSON object string property newPIN"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.json);
        try {
            decode(c.json);
            ADD_FAILURE() << "decoded";
        } catch (const RequestException& e) {
            EXPECT_EQ(e.getMessage(), c.message);
        }
    }
}

TEST(RequestFactory, TextsKeepTheirNulBytes) {
    const std::string json = R"({"action":"login","tokenSN":"a\u0000b","pin":"\u0000"})";
    std::unique_ptr<Request> request = decode(json);
    auto& login = static_cast<LoginRequest&>(*request);
    EXPECT_EQ(login.getTokenSN(), std::string("a\0b", 3));
    EXPECT_EQ(login.getPin().view(), std::string("\0", 1));

    try {
        decode(R"({"action":"sign\u0000"})");
        ADD_FAILURE() << "decoded";
    } catch (const RequestException& e) {
        EXPECT_EQ(e.getMessage(), std::string("Unknown 'action' value : sign\0", 30));
    }
}

TEST(RequestFactory, LargeSignPayloadsDecodeQuickly) {
    const std::string text(4 << 20, 'x');
    std::string members;
    std::string xml;
    for (int i = 0; i < 10000; ++i) {
        const std::string key = "k" + std::to_string(100000 + i);
        members += (i ? "," : "") + ("\"" + key + "\":\"" + std::to_string(i) + "\"");
        xml += "<" + key + ">" + std::to_string(i) + "</" + key + ">";
    }
    struct Case {
        std::string payload;
        std::string expected;
    } cases[] = {
        {"\"" + text + "\"", text},
        {"{" + members + "}", xml},
    };
    for (const Case& c : cases) {
        const auto start = std::chrono::steady_clock::now();
        std::unique_ptr<Request> request =
            decode(R"({"action":"sign","certificateSN":"0a","payload":)" + c.payload + "}");
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
        ASSERT_NE(request, nullptr);
        EXPECT_TRUE(static_cast<SignRequest&>(*request).getPayload() == c.expected);
    }
}

// A PIN member read as a plain string would leave a copy unwiped: the members
// are read through the PIN readers, and those read nothing else.
TEST(RequestDeathTest, PinMembersAreReadOnlyAsSecrets) {
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are compiled out";
#else
    ParseResultPtr<JsonValue> parsed =
        parse(R"({"pin":"1","oldPIN":"2","newPIN":"3","adminPIN":"4","tokenPIN":"5","x":"6"})");
    const JsonObject& json = objectOf(parsed);
    for (const char* key : {"pin", "oldPIN", "newPIN", "adminPIN", "tokenPIN"}) {
        EXPECT_DEATH(Request::getMandatoryString(json, key), "getMandatoryPin") << key;
        EXPECT_DEATH(Request::getOptionalString(json, key), "getOptionalPin") << key;
        EXPECT_EQ(Request::getMandatoryPin(json, key).size(), 1u);
        EXPECT_TRUE(Request::getOptionalPin(json, key).has_value());
    }
    EXPECT_DEATH(Request::getMandatoryPin(json, "x"), "name");
    EXPECT_DEATH(Request::getOptionalPin(json, "x"), "name");
#endif
}
