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
        // The names in letters of either case, escaped ones too.
        {R"({"PIN":"2","Pin":"1","OLDpin":"x","newPin":7,"TokenPin":["y"],"ADMINPIN":{}})",
         R"({"PIN":"********","Pin":"********","OLDpin":"********","newPin":********,)"
         R"("TokenPin":********,"ADMINPIN":********})"},
        {R"({"\u0050IN":"secret","old\u0070in":"x"})",
         R"({"\u0050IN":"********","old\u0070in":"********"})"},
        // Similar names and values are not keys.
        {R"({"pins":"1","PINS":"2","xpin":"3","a":"pin","b":"PIN"})",
         R"({"pins":"1","PINS":"2","xpin":"3","a":"pin","b":"PIN"})"},
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

// A message that does not parse may have its keys mistyped, where the masking
// of well-formed members cannot find them: everything from the first PIN name
// on is hidden, after that masking has hidden what it finds.
TEST(MaskPinsOfUnparsable, HidesEverythingFromTheFirstPinName) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({'action':'login','tokenSN':'ab','pin':'SECRET30'})",
         R"({'action':'login','tokenSN':'ab','********)"},
        {R"({action:"login",tokenSN:"ab",pin:"SECRET31"})",
         R"({action:"login",tokenSN:"ab",********)"},
        {R"({"action":"login","pin"=>"SECRET32"})", R"({"action":"login","********)"},
        {R"({"action":"login","pin"="SECRET33"})", R"({"action":"login","********)"},
        {R"({"action":"login","pin"/**/:"pin-2468"})", R"({"action":"login","********)"},
        {R"({"action":"login","pin" "SECRET34"})", R"({"action":"login","********)"},
        // Letters of either case; the longer names from their first letter.
        {R"({"action":"login","PIN"='SECRET35'})", R"({"action":"login","********)"},
        {R"({"action":"x","Tokenpin"='SECRET36'})", R"({"action":"x","********)"},
        {R"({"x":1,"ADMINPIN"=1,"oldPIN"=2})", R"({"x":1,"********)"},
        // Wherever the name stands, in other words too.
        {R"({"action":"changePIN","oldPIN"='SECRET37'})", R"({"action":"change********)"},
        {R"({"payload":"spinach",)", R"({"payload":"s********)"},
        {"pin", "********"},
        // Cut off inside the value.
        {R"({"action":"login","pin":"SECRET38)", R"({"action":"login","********)"},
        // Well-formed members are masked first: a key spelt with escapes holds
        // no name to cut at.
        {R"({"p\u0069n":"SECRET39","x":'y'})", R"({"p\u0069n":"********","x":'y'})"},
        // Nothing to hide.
        {R"({"action":'info'})", R"({"action":'info'})"},
        {"", ""},
        {"pi", "pi"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(maskPinsOfUnparsable(c.first), c.second) << c.first;
    }
}
