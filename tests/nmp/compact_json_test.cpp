#include <gtest/gtest.h>

#include "nmp/nmp.h"

TEST(CompactJson, RemovesWhitespaceOutsideStringLiterals) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({ "action" : "login" , "mode" : "write" })", R"({"action":"login","mode":"write"})"},
        {R"({"payload":"a b" ,"port":[ 1, 2 ]})", R"({"payload":"a b","port":[1,2]})"},
        {R"({"payload":"q\"", "port":"p 1"})", R"({"payload":"q\"","port":"p 1"})"},
        {R"({"payload":"\\", "port":"p 1"})", R"({"payload":"\\","port":"p 1"})"},
        {"{\n\t\"a\"\r\n:\v\f\"b\\n c\"}", "{\"a\":\"b\\n c\"}"},
        {"{\"a\":\"line\nfeed\"}", "{\"a\":\"line\nfeed\"}"},
        {"{\"a\":\"\xC2\xA0\"} \xA0", "{\"a\":\"\xC2\xA0\"}\xA0"},
        {std::string("{\"a\" : 1}\0 {\"b\" : 2}", 20), "{\"a\":1}"},
        {"", ""},
        {"   ", ""},
    };
    for (auto c : cases) {
        std::string text = c.first;
        EXPECT_EQ(compactJson(text), c.second) << c.first;
        EXPECT_EQ(text, c.second);
    }
}
