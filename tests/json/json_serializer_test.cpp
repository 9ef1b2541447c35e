#include "json/json_serializer.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace {

std::unique_ptr<JsonList> listOf(std::unique_ptr<JsonValue> a, std::unique_ptr<JsonValue> b) {
    auto list = std::make_unique<JsonList>();
    list->add(std::move(a));
    list->add(std::move(b));
    return list;
}

std::string serialise(JsonValue& value) {
    return JsonSerialiser(value).getText();
}
std::string xml(JsonValue& value) {
    return JsonXmlSerializer(value).getText();
}

std::string serialiseString(const std::string& text) {
    JsonString value(text);
    return serialise(value);
}

}  // namespace

TEST(JsonSerialiser, WritesTheExampleOfBothForms) {
    JsonObject object;
    object.put("tokens",
               listOf(std::make_unique<JsonNumber>(1), std::make_unique<JsonBoolean>(true)));
    object.put("action", std::make_unique<JsonString>("info"));
    EXPECT_EQ(serialise(object), R"({"action":"info","tokens":[1.000000,true]})");
    EXPECT_EQ(xml(object),
              "<action>info</action><tokens><item>1.000000</item><item>true</item></tokens>");
}

TEST(JsonSerialiser, EmptyContainers) {
    JsonObject object;
    JsonList list;
    EXPECT_EQ(serialise(object), "{}");
    EXPECT_EQ(serialise(list), "[]");
    EXPECT_EQ(xml(object), "");
    EXPECT_EQ(xml(list), "");
}

TEST(JsonSerialiser, MembersAreSortedWhateverTheInsertionOrder) {
    JsonObject object;
    object.put("result", std::make_unique<JsonNull>());
    object.put("action", std::make_unique<JsonBoolean>(false));
    object.put("port", std::make_unique<JsonString>("p1"));
    EXPECT_EQ(serialise(object), R"({"action":false,"port":"p1","result":null})");
}

TEST(JsonSerialiser, NumbersHaveSixDecimals) {
    const std::pair<double, const char*> cases[] = {
        {4, "4.000000"},    {0.5, "0.500000"},
        {-2, "-2.000000"},  {1e20, "100000000000000000000.000000"},
        {1e-7, "0.000000"}, {-0.0, "-0.000000"},
        {1.25, "1.250000"}, {0.0000015, "0.000002"},
    };
    for (const auto& c : cases) {
        JsonNumber number(c.first);
        EXPECT_EQ(serialise(number), c.second);
        EXPECT_EQ(xml(number), c.second);
    }
}

TEST(JsonSerialiser, NestedValuesNestDirectly) {
    auto inner = listOf(std::make_unique<JsonNumber>(1), std::make_unique<JsonNull>());
    auto outer = listOf(std::move(inner), std::make_unique<JsonString>("x"));
    EXPECT_EQ(serialise(*outer), R"([[1.000000,null],"x"])");
    EXPECT_EQ(xml(*outer), "<item><item>1.000000</item><item>null</item></item><item>x</item>");
}

TEST(JsonSerialiser, EscapesQuotesBackslashesAndControlBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"a\"b", R"("a\"b")"},
        {"a\\b", R"("a\\b")"},
        {"\b\t\n\f\r", R"("\b\t\n\f\r")"},
        {std::string("\0\x01\x0b\x1f", 4), R"("\u0000\u0001\u000b\u001f")"},
        {"/\x7f", "\"/\x7f\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(serialiseString(c.first), c.second);
    }
    JsonObject object;
    object.put("k\"ey", std::make_unique<JsonString>("v"));
    EXPECT_EQ(serialise(object), R"({"k\"ey":"v"})");
}

TEST(JsonSerialiser, EveryAsciiByteRoundTripsThroughAStrictParser) {
    for (int c = 1; c < 0x80; ++c) {
        std::string text = std::string("x") + static_cast<char>(c) + "y";
        JsonObject object;
        object.put(text, std::make_unique<JsonString>(text));
        std::string serialised = serialise(object);
        nlohmann::json parsed = nlohmann::json::parse(serialised);
        ASSERT_EQ(parsed.size(), 1u);
        EXPECT_EQ(parsed.begin().key(), text) << "byte " << c;
        EXPECT_EQ(parsed.begin().value().get<std::string>(), text) << "byte " << c;
    }
}

TEST(JsonSerialiser, IllFormedUtf8BecomesOneReplacementPerMaximalSubsequence) {
    const std::string fffd = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"\xC3\xA9", "\xC3\xA9"},                  // well formed: unchanged
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},  // a supplementary code point
        {"\xE2\x82\xAC", "\xE2\x82\xAC"},
        {"a\x80z", "a" + fffd + "z"},          // lone continuation byte
        {"\xC0\xAF", fffd + fffd},             // overlong lead: each byte
        {"\xE0\x80\x80", fffd + fffd + fffd},  // E0 needs A0..BF next
        {"\xED\xA0\x80", fffd + fffd + fffd},  // surrogate
        {"\xF0\x9F\x98", fffd},                // cut short at the end: one
        {"\xF0\x9F\x98z", fffd + "z"},
        {"\xE2\x82z", fffd + "z"},
        {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // beyond U+10FFFF
        {"\xF5\xFF", fffd + fffd},
        {"\xC3", fffd},
        // The Unicode Standard's example: 61 F1 80 80 E1 80 C2 62 80 63 80 BF 64
        {"a\xF1\x80\x80\xE1\x80\xC2"
         "b\x80"
         "c\x80\xBF"
         "d",
         "a" + fffd + fffd + fffd + "b" + fffd + "c" + fffd + fffd + "d"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(serialiseString(c.first), "\"" + c.second + "\"");
        EXPECT_NO_THROW(nlohmann::json::parse(serialiseString(c.first)));
    }
}

TEST(JsonXmlSerializer, WritesTextUnescapedAndClosesAtTheFirstSpaceOfTheKey) {
    JsonObject object;
    object.put("item id=7", std::make_unique<JsonString>("a\"<b>\n"));
    object.put("", std::make_unique<JsonNull>());
    EXPECT_EQ(xml(object), "<>null</><item id=7>a\"<b>\n</item>");
}

TEST(JsonXmlSerializer, KeepsTheRawBytesOfStrings) {
    JsonString text(std::string("\x80\0\xFF", 3));
    EXPECT_EQ(xml(text), std::string("\x80\0\xFF", 3));
}
