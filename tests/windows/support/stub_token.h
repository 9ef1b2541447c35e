// What vantrel.exe answers with the stub PKCS#11 module (stub_pkcs11/) loaded
// and nobody logged in: shared by the tests that start the host from a folder
// of their own and those that start it where the installer put it.
#pragma once

#include <string>

const std::string kInfoRequest = R"({"action":"info"})";
const std::string kStubNoTokenInfo =
    R"({"action":"info","driver":"eTPKCS11.dll","error":"There is no active token","host":"1.4"})";
const std::string kListTokensRequest = R"({"action":"listTokens","port":"p"})";
const std::string kStubTokenList =
    R"({"action":"listTokens","port":"p","tokens":[{"pmax":-1.000000,"pmin":4.000000,)"
    R"("tokenLabel":"Vantrel Stub Token","tokenModel":"StubModel-16char","tokenSN":"5717B00C"}]})";
