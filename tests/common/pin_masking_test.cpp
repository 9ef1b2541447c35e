#include "common/pin_masking.h"

#include <gtest/gtest.h>

#include <chrono>

TEST(MaskPins, MasksEveryPinValue) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({"action":"login","pin":"123456","tokenSN":"1"})",
         R"({"action":"login","pin":"********","tokenSN":"1"})"},
        {R"({"pin":"1"})", R"({"pin":"********"})"},
        {R"({"oldPIN":"a","newPIN":"b"})", R"({"oldPIN":"********","newPIN":"********"})"},
        {R"({"tokenPIN":"abcdef","adminPIN":"so-pin"})",
         R"({"tokenPIN":"********","adminPIN":"********"})"},
        // An empty value stays empty.
        {R"({"pin":""})", R"({"pin":""})"},
        // An escaped quote inside the value does not end it.
        {R"({"pin":"ab\"cd","x":1})", R"({"pin":"********","x":1})"},
        {R"({"pin":"ab\\","x":"y"})", R"({"pin":"********","x":"y"})"},
        {R"({"pin":"ab\\\"cd"})", R"({"pin":"********"})"},
        // Every occurrence of a key.
        {R"({"pin":"first","pin":"second"})", R"({"pin":"********","pin":"********"})"},
        // A value cut off by the end of the text is masked to the end.
        {R"({"action":"login","pin":"1234)", R"({"action":"login","pin":"********)"},
        {R"({"pin":")", R"({"pin":")"},
        // Bare scalars up to the next delimiter.
        {R"({"pin":123456,"a":"b"})", R"({"pin":********,"a":"b"})"},
        {R"({"pin":123456})", R"({"pin":********})"},
        {R"([{"pin":true]})", R"([{"pin":********]})"},
        {R"({"pin":98765)", R"({"pin":********)"},
        // Lists and objects are masked whole, up to the bracket that closes them.
        {R"({"pin":{"pin":"x1"},"newPIN":["y"]})", R"({"pin":********,"newPIN":********})"},
        {R"({"pin":["1","2",["3",{"a":[4]}]],"x":"y"})", R"({"pin":********,"x":"y"})"},
        {R"({"a":[{"oldPIN":{"b":"c"}},"d"]})", R"({"a":[{"oldPIN":********},"d"]})"},
        {R"({"pin":[],"adminPIN":{}})", R"({"pin":********,"adminPIN":********})"},
        // Brackets and quotes inside strings do not count.
        {R"({"pin":["a]}","b\"]"],"x":1})", R"({"pin":********,"x":1})"},
        {R"({"pin":{"k":"}{["},"x":1})", R"({"pin":********,"x":1})"},
        // Cut off by the end of the text: masked to the end.
        {R"({"pin":["1","2")", R"({"pin":********)"},
        {R"({"pin":{"a":["b"])", R"({"pin":********)"},
        {R"({"pin":["x]")", R"({"pin":********)"},
        // Keys written with escapes are still PIN keys.
        {R"({"p\u0069n":"secret"})", R"({"p\u0069n":"********"})"},
        {R"({"\u0070in":"secret","old\u0050IN":7})",
         R"({"\u0070in":"********","old\u0050IN":********})"},
        // Similar names and values are not keys.
        {R"({"pins":"1","PIN":"2","xpin":"3","a":"pin"})",
         R"({"pins":"1","PIN":"2","xpin":"3","a":"pin"})"},
        {R"({"payload":"\"pin\":\"zz\""})", R"({"payload":"\"pin\":\"zz\""})"},
        {"", ""},
        {R"("pin":)", R"("pin":)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(maskPins(c.first), c.second) << c.first;
    }
}

TEST(MaskPins, TakesTimeInProportionToTheText) {
    // Every escaped quote inside a long string could open a key; looking for
    // each one's closing quote to the end of the string would take hours here.
    std::string escapedQuotes;
    for (int i = 0; i < 512 * 1024; ++i) {
        escapedQuotes += "\\\"";
    }
    const std::string texts[] = {
        R"({"action":"sign","payload":")" + escapedQuotes + R"(","pin":"secret"})",
        R"({"action":"sign","payload":")" + escapedQuotes + "\"",
    };
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(maskPins(texts[0]),
              R"({"action":"sign","payload":")" + escapedQuotes + R"(","pin":"********"})");
    EXPECT_EQ(maskPins(texts[1]), texts[1]);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// Quotes far from any '"' ':' pair are passed over; a key after runs of
// escaped quotes of every length, and a quote just within a key's reach of
// the pair, must still be tried as a key's opening quote.
TEST(MaskPins, FindsKeysAfterRunsOfQuotesOfEveryLength) {
    const std::pair<std::string, std::string> keys[] = {
        {R"("pin":"secret")", R"("pin":"********")"},
        {R"("\u0074\u006f\u006b\u0065\u006e\u0050\u0049\u004e":"secret")",
         R"("\u0074\u006f\u006b\u0065\u006e\u0050\u0049\u004e":"********")"},
        // Every quote is tried, the escaped one before a key-like name too.
        {R"("a\"pin":"secret")", R"("a\"pin":"********")"},
        // An escaped quote before the colon closes no key.
        {R"("a\"pin\":\"secret\"":"x")", R"("a\"pin\":\"secret\"":"x")"},
    };
    for (size_t run = 0; run <= 140; ++run) {
        std::string quotes;
        for (size_t i = 0; i < run; ++i) {
            quotes += i % 3 == 0 ? "\\\"" : "q";
        }
        for (const auto& key : keys) {
            const std::string before = R"({"payload":")" + quotes + "\",";
            const std::string after = R"(,"x":")" + quotes + "\"}";
            EXPECT_EQ(maskPins(before + key.first + after), before + key.second + after)
                << run << " " << key.first;
        }
    }
}
