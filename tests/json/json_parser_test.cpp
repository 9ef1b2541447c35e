#include "json/json_parser.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <random>

#include "json/json_serializer.h"

namespace {

struct Parsed {
    ParseResultPtr<JsonValue> result;
    size_t endPos;
};

Parsed parseWith(ParserFactory<JsonValue>& factory, const std::string& text) {
    ParserInput input(text);
    ParseResultPtr<JsonValue> result = factory.create()->parse(input);
    return {std::move(result), input.getPos()};
}

std::string compact(JsonValue* value) {
    return JsonSerialiser(*value).getText();
}

// A request holding `levels` - 1 nested lists or objects, so that the request
// object itself is the first level.
std::string nestedLists(size_t levels) {
    return "{\"a\":" + std::string(levels - 1, '[') + std::string(levels - 1, ']') + "}";
}

std::string nestedObjects(size_t levels) {
    std::string text;
    for (size_t i = 0; i < levels; ++i) {
        text += "{\"a\":";
    }
    return text + "1" + std::string(levels, '}');
}

bool parsesAsObject(const std::string& text) {
    JsonObjectParserFactory factory;
    return parseJsonObject(factory, text)->isSuccess();
}

// Runs `body` on a thread of its own with the given stack size.
void runWithStack(size_t stackSize, const std::function<void()>& body) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, stackSize), 0);
    pthread_t thread;
    auto run = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, run, const_cast<std::function<void()>*>(&body)), 0);
    ASSERT_EQ(pthread_join(thread, nullptr), 0);
    pthread_attr_destroy(&attr);
}

#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_ASAN 1
#endif
#endif

// The budget the host has on Windows' main thread. Unoptimised and sanitised
// frames are several times larger, so those builds get more room.
#if defined(__OPTIMIZE__) && !defined(VANTREL_ASAN)
constexpr size_t kStackForMaxNesting = 1 << 20;
#else
constexpr size_t kStackForMaxNesting = 16 << 20;
#endif

}  // namespace

TEST(JsonParser, ValuesParseAsTabled) {
    struct Case {
        const char* input;
        const char* expected;  // compact JSON of the value; null: the parse fails
        size_t endPos;
    } cases[] = {
        {"{}", "{}", 2},
        {"[]", "[]", 2},
        {"null", "null", 4},
        {"nullx", "null", 4},
        {"nul", nullptr, 0},
        {"true", "true", 4},
        {"false]", "false", 5},
        {"\"a\"", "\"a\"", 3},
        {"{\"b\":[true,false,null],\"a\":{\"c\":\"d\"}}",
         "{\"a\":{\"c\":\"d\"},\"b\":[true,false,null]}", 37},
        {"{\"a\":1,\"a\":2,\"b\":3,\"a\":4}", "{\"a\":1.000000,\"b\":3.000000}", 25},
        {"[[1,2],3]", "[[1.000000,2.000000],3.000000]", 9},
        {"[[],[[]],{}]", "[[],[[]],{}]", 12},
        {"[1,]", nullptr, 0},
        {"[,1]", nullptr, 0},
        {"{\"a\":1,}", nullptr, 0},
        {"{\"a\":1, \"b\":2}", nullptr, 0},
        {"{ }", nullptr, 0},
        {"{\"a\"}", nullptr, 0},
        {"{1:2}", nullptr, 0},
        {"[1", nullptr, 0},
        // Two values without a comma between them match the optional part twice.
        {"[\"a\"\"b\"]", nullptr, 0},
        {"[1 ]", "[1.000000]", 4},
        {"[1x]", "[1.000000]", 4},
        {"[1\"a\"]", "[1.000000]", 6},
        {"+5", "5.000000", 2},
        {"01", "1.000000", 2},
        {".5", nullptr, 0},
        {"1e999", nullptr, 0},
        {"-", nullptr, 0},
        {"0x1A", "26.000000", 4},
        {"", nullptr, 0},
        {"{\"a\":1}xyz", "{\"a\":1.000000}", 7},
    };
    JsonValueParserFactory factory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        Parsed parsed = parseWith(factory, c.input);
        EXPECT_EQ(parsed.endPos, c.endPos);
        if (c.expected == nullptr) {
            EXPECT_FALSE(parsed.result->isSuccess());
            EXPECT_EQ(parsed.result->getValue(), nullptr);
            continue;
        }
        ASSERT_TRUE(parsed.result->isSuccess()) << parsed.result->getError();
        EXPECT_EQ(compact(parsed.result->getValue()), c.expected);
    }
}

TEST(JsonParser, NumbersAreReadAsStodReadsThem) {
    struct Case {
        const char* input;
        double expected;
        size_t endPos;
    } cases[] = {
        {"0", 0, 1},
        {"+5", 5, 2},
        {"01", 1, 2},
        {"-12.5e1", -125, 7},
        {"1.5E+2", 150, 6},
        {"12,3", 12, 2},
        {"7}", 7, 1},
        {"7]", 7, 1},
        {"1 2", 1, 3},
        {"3\"x\":{[", 3, 7},
        {"0x1A", 26, 4},
        {"-0X10p1", -32, 7},
        {"-inf", -INFINITY, 4},
        {"+Infinity", INFINITY, 9},
        {"1.7976931348623157e308", 1.7976931348623157e308, 22},
    };
    JsonNumberParserFactory factory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        Parsed parsed = parseWith(factory, c.input);
        ASSERT_TRUE(parsed.result->isSuccess()) << parsed.result->getError();
        EXPECT_EQ(static_cast<JsonNumber*>(parsed.result->getValue())->getValue(), c.expected);
        EXPECT_EQ(parsed.endPos, c.endPos);
    }

    Parsed negativeZero = parseWith(factory, "-0");
    ASSERT_TRUE(negativeZero.result->isSuccess());
    EXPECT_TRUE(
        std::signbit(static_cast<JsonNumber*>(negativeZero.result->getValue())->getValue()));
    Parsed nan = parseWith(factory, "-nan");
    ASSERT_TRUE(nan.result->isSuccess());
    EXPECT_TRUE(std::isnan(static_cast<JsonNumber*>(nan.result->getValue())->getValue()));
}

TEST(JsonParser, NumberFailuresLeaveThePositionAtTheStart) {
    const std::string invalid =
        "Failed to parse JSON number - invalid format: invalid stod argument";
    const std::string tooLarge =
        "Failed to parse JSON number - number is too large: stod argument out of range";
    struct Case {
        const char* input;
        std::string message;
    } cases[] = {
        {"", "Unexpected end of input"},
        {".5", "Invalid number start character"},
        {"\"1\"", "Invalid number start character"},
        {"infinity", "Invalid number start character"},
        {"-", invalid},
        {"+-1", invalid},
        {"-,1", invalid},
        {"-x1", invalid},
        {"1e999", tooLarge},
        {"-1e999", tooLarge},
        // std::stod reports an underflow the same way.
        {"1e-999", tooLarge},
    };
    JsonNumberParserFactory factory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        Parsed parsed = parseWith(factory, c.input);
        EXPECT_EQ(parsed.result->getError(), c.message);
        EXPECT_EQ(parsed.endPos, 0u);
    }
}

TEST(JsonParser, StringsDecodeTheirEscapes) {
    struct Case {
        std::string input;
        std::string expected;
    } cases[] = {
        {"\"abc\"", "abc"},
        {"\"\"", ""},
        {"\"a\\qb\"", "aqb"},
        {"\"\\\"\"", "\""},
        {"\"\\\\\"", "\\"},
        {"\"\\/\"", "/"},
        {"\"\\b\\f\\n\\r\\t\"", "\b\f\n\r\t"},
        {"\"a\x0B\x01\x7F\"", "a\x0B\x01\x7F"},
        {"\"\xC3\xA9\xFF\"", "\xC3\xA9\xFF"},
        {std::string("\"a\0b\"", 5), std::string("a\0b", 3)},
        {"\"a\\u0041\"", "aA"},
        {"\"\\u00e9\\u00E9\"", "\xC3\xA9\xC3\xA9"},
        {"\"\\u0000\"", std::string("\0", 1)},
        {"\"\\u007F\\u0080\\u07FF\\u0800\"", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80"},
        {"\"\\u20AC\\uFFFF\"", "\xE2\x82\xAC\xEF\xBF\xBF"},
        {"\"\\uD83D\\uDE00\"", "\xF0\x9F\x98\x80"},
        {"\"\\uD800\\uDC00\\uDBFF\\uDFFF\"", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        {"\"\\uD83D\"", "\xEF\xBF\xBD"},
        {"\"\\uDE00\\uD83D\"", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\"\\uD83Dx\"", "\xEF\xBF\xBDx"},
        {"\"\\uD83D\\u0041\"",
         "\xEF\xBF\xBD"
         "A"},
        {"\"\\uD83D\\n\"", "\xEF\xBF\xBD\n"},
        {"\"\\uD83D\\uD83D\\uDE00\"", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
        {"\"\\uDE00\\uD83D\\uDE00\"", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
    };
    JsonStringParserFactory factory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        Parsed parsed = parseWith(factory, c.input + "x");
        ASSERT_TRUE(parsed.result->isSuccess()) << parsed.result->getError();
        EXPECT_EQ(static_cast<JsonString*>(parsed.result->getValue())->getValue(), c.expected);
        EXPECT_EQ(parsed.endPos, c.input.size());
    }
}

TEST(JsonParser, StringFailuresCarryTheirMessages) {
    struct Case {
        std::string input;
        std::string message;
    } cases[] = {
        {"", "Unexpected end of input"},
        {"abc\"", "Expected '\"' for strat of string but got 97"},
        {"{", "Expected '\"' for strat of string but got 123"},
        {"\xC3\xA9", "Expected '\"' for strat of string but got -61"},
        {"\"abc", "Unterminated string"},
        {"\"abc\\", "Unterminated string"},
        {"\"abc\\\"", "Unterminated string"},
        {"\"a\tb\"", "Unescaped character \t"},
        {"\"a\nb\"", "Unescaped character \n"},
        {"\"a\rb\"", "Unescaped character \r"},
        {"\"a\bb\"", "Unescaped character \b"},
        {"\"a\fb\"", "Unescaped character \f"},
        {"\"\\u12\"", "Invalid unicode escape"},
        {"\"\\u12G4\"", "Invalid unicode escape"},
        {"\"\\u\"", "Invalid unicode escape"},
        {"\"\\u004", "Invalid unicode escape"},
        {"\"\\uD83D\\u12\"", "Invalid unicode escape"},
        {"\"\\u+123\"", "Invalid unicode escape"},
    };
    JsonStringParserFactory factory;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.input);
        Parsed parsed = parseWith(factory, c.input);
        EXPECT_EQ(parsed.result->getError(), c.message);
        EXPECT_EQ(parsed.endPos, 0u);
    }
}

TEST(JsonParser, ObjectParserTakesTheMessageObject) {
    JsonObjectParserFactory factory;
    for (const char* text : {"[1]", "\"a\"", "", "1", " {}"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseJsonObject(factory, text)->isSuccess());
    }
    const std::string text = "{\"action\":\"info\",\"port\":\"p1\"}trailing";
    ParseResultPtr<JsonValue> result = parseJsonObject(factory, text);
    ASSERT_TRUE(result->isSuccess());
    ASSERT_TRUE(isObject(result->getValue()));
    EXPECT_EQ(compact(result->getValue()), "{\"action\":\"info\",\"port\":\"p1\"}");
}

TEST(JsonParser, NestingStopsAtTwoHundredLevels) {
    struct Case {
        std::string text;
        bool parses;
    } cases[] = {
        {nestedLists(200), true},
        {nestedLists(201), false},
        {nestedObjects(200), true},
        {nestedObjects(201), false},
        {"{\"a\":" + std::string(99, '[') + nestedObjects(100) + std::string(99, ']') + "}", true},
        {"{\"a\":" + std::string(99, '[') + nestedObjects(101) + std::string(99, ']') + "}", false},
        // Nesting is counted along one path, not over the whole message.
        {"{\"a\":[" + nestedLists(198) + "," + nestedLists(198) + "]}", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(parsesAsObject(c.text), c.parses);
    }
    JsonValueParserFactory values;
    EXPECT_TRUE(
        parseWith(values, std::string(200, '[') + std::string(200, ']')).result->isSuccess());
    EXPECT_FALSE(
        parseWith(values, std::string(201, '[') + std::string(201, ']')).result->isSuccess());
}

TEST(JsonParser, DeepNestingFailsCleanlyAndQuickly) {
    std::string objects;
    for (int i = 0; i < 100000; ++i) {
        objects += "{\"a\":";
    }
    const std::string inputs[] = {
        "{\"a\":" + std::string(100000, '[') + std::string(100000, ']') + "}",
        "{\"a\":" + std::string(100000, '['),
        objects + "1" + std::string(100000, '}'),
        objects,
    };
    for (const std::string& text : inputs) {
        const auto start = std::chrono::steady_clock::now();
        bool parses = true;
        runWithStack(kStackForMaxNesting, [&] { parses = parsesAsObject(text); });
        EXPECT_FALSE(parses);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

TEST(JsonParser, TwoHundredLevelsFitInTheStackBudget) {
    bool lists = false;
    bool objects = false;
    runWithStack(kStackForMaxNesting, [&] {
        lists = parsesAsObject(nestedLists(200));
        objects = parsesAsObject(nestedObjects(200));
    });
    EXPECT_TRUE(lists);
    EXPECT_TRUE(objects);
}

// A selection leaves out the alternatives that say they cannot start with the
// next byte, so no rule may say so of a byte it can start with.
TEST(JsonParser, RulesMayStartWithEveryByteTheyMatchFrom) {
    const std::string texts[] = {
        "null", "nullx",     "true", "false",   "0",       "+5",           "-0",
        "01x",  "-inf",      "+nan", "0x1A",    "9}",      "\"\"",         "\"a\\u0041\"",
        "{}",   "{\"a\":1}", "[]",   "[1,[2]]", "\"a\":1", "\"k\":[null]",
    };
    JsonValueParserFactory value;
    JsonNullParserFactory null;
    JsonBooleanParserFactory boolean;
    JsonNumberParserFactory number;
    JsonStringParserFactory string;
    JsonObjectMemberParserFactory member;
    JsonObjectParserFactory object;
    JsonListParserFactory list;
    ParserFactory<JsonValue>* factories[] = {&value,  &null,   &boolean, &number,
                                             &string, &member, &object,  &list};
    int matched = 0;
    for (const std::string& text : texts) {
        for (ParserFactory<JsonValue>* factory : factories) {
            if (parseWith(*factory, text).result->isSuccess()) {
                ++matched;
                EXPECT_TRUE(factory->mayStartWith(static_cast<unsigned char>(text[0]))) << text;
            }
        }
    }
    EXPECT_GE(matched, 40);
    for (ParserFactory<JsonValue>* factory : factories) {
        EXPECT_FALSE(factory->mayStartWith(ParserInput::kEndOfInput));
        EXPECT_FALSE(factory->mayStartWith(' '));
        EXPECT_FALSE(factory->mayStartWith('.'));
    }
    EXPECT_TRUE(value.mayStartWith('n') && value.mayStartWith('t') && value.mayStartWith('f') &&
                value.mayStartWith('7') && value.mayStartWith('"') && value.mayStartWith('{') &&
                value.mayStartWith('['));
    EXPECT_FALSE(value.mayStartWith('x'));
}

// The loop's factory hands every new parser the tree of parsers the last one
// made; whatever the previous messages were, and however they ended, a
// message must parse as it does with a factory that keeps nothing.
TEST(JsonParser, KeptParsersAnswerAsNewOnes) {
    const std::string messages[] = {
        "{\"a\":[1,2,{\"b\":[true,null]}],\"c\":\"d\"}",
        "{\"a\":[1,2,{\"b\":[true,nul]}],\"c\":\"d\"}",
        "{\"a\":1,\"a\":2,\"b\":[[],[[]]]}",
        "{\"x\":" + std::string(150, '[') + std::string(150, ']') + "}",
        "{\"x\":" + std::string(300, '[') + std::string(300, ']') + "}",
        "{\"a\":1,}",
        "{}",
        "{\"a\":[1,2,{\"b\":[true,null]}],\"c\":\"d\"}",
        "{\"payload\":{\"z\":1,\"y\":[\"q\",{\"w\":{}}]},\"port\":\"p\"}",
        "[1]",
    };
    JsonObjectParserFactory kept;
    for (int round = 0; round < 2; ++round) {
        for (const std::string& message : messages) {
            SCOPED_TRACE(message.substr(0, 60));
            JsonObjectParserFactory fresh(false);
            Parsed expected = parseWith(fresh, message);
            Parsed actual = parseWith(kept, message);
            ASSERT_EQ(actual.result->isSuccess(), expected.result->isSuccess());
            EXPECT_EQ(actual.endPos, expected.endPos);
            if (expected.result->isSuccess()) {
                EXPECT_EQ(compact(actual.result->getValue()), compact(expected.result->getValue()));
            }
        }
    }
}

TEST(JsonParser, LongListsAndObjectsKeepEveryElementAndTheFirstOfRepeatedKeys) {
    const size_t count = 100000;
    std::string list = "{\"list\":[";
    std::string object = "{\"object\":{";
    for (size_t i = 0; i < count; ++i) {
        list += (i == 0 ? "" : ",") + std::to_string(i);
        // Keys in descending order, and every hundredth one repeated later on.
        object += (i == 0 ? "\"" : ",\"") + std::to_string(count - i) + "\":" + std::to_string(i);
        if (i % 100 == 99) {
            object += ",\"" + std::to_string(count - i + 50) + "\":-1";
        }
    }
    list += "]}";
    object += "}}";

    JsonObjectParserFactory factory;
    ParseResultPtr<JsonValue> parsedList = parseJsonObject(factory, list);
    ASSERT_TRUE(parsedList->isSuccess());
    const auto& elements =
        static_cast<JsonList*>(static_cast<JsonObject*>(parsedList->getValue())->get("list"))
            ->getElements();
    ASSERT_EQ(elements.size(), count);
    for (size_t i = 0; i < count; ++i) {
        ASSERT_EQ(static_cast<JsonNumber*>(elements[i])->getValue(), static_cast<double>(i));
    }

    ParseResultPtr<JsonValue> parsedObject = parseJsonObject(factory, object);
    ASSERT_TRUE(parsedObject->isSuccess());
    const auto& members =
        static_cast<JsonObject*>(static_cast<JsonObject*>(parsedObject->getValue())->get("object"))
            ->getMembers();
    ASSERT_EQ(members.size(), count);
    for (size_t i = 0; i < count; ++i) {
        JsonValue* member = members.at(std::to_string(count - i));
        ASSERT_EQ(static_cast<JsonNumber*>(member)->getValue(), static_cast<double>(i));
    }
}

namespace {

// The string rule read one byte at a time, as the grammar defines it: the
// text or the failure message, and where the string ends.
struct ReadString {
    bool parses;
    std::string textOrMessage;
    size_t end;
};

void appendCodePoint(std::string& text, uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | code >> 6);
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | code >> 12);
        text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | code >> 18);
        text += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Four hex digits at `pos`, or -1.
long hex4(const std::string& input, size_t pos) {
    if (pos + 4 > input.size()) {
        return -1;
    }
    const std::string digits = input.substr(pos, 4);
    if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
        return -1;
    }
    return std::stol(digits, nullptr, 16);
}

ReadString readStringByteByByte(const std::string& input) {
    if (input.empty()) {
        return {false, "Unexpected end of input", 0};
    }
    if (input[0] != '"') {
        return {false,
                "Expected '\"' for strat of string but got " +
                    std::to_string(static_cast<int>(static_cast<signed char>(input[0]))),
                0};
    }
    std::string text;
    size_t pos = 1;
    for (;;) {
        if (pos >= input.size()) {
            return {false, "Unterminated string", 0};
        }
        const char c = input[pos++];
        if (c == '"') {
            return {true, text, pos};
        }
        if (c == '\b' || c == '\t' || c == '\n' || c == '\f' || c == '\r') {
            return {false, std::string("Unescaped character ") + c, 0};
        }
        if (c != '\\') {
            text += c;
            continue;
        }
        if (pos >= input.size()) {
            return {false, "Unterminated string", 0};
        }
        const char escaped = input[pos++];
        const std::string shorts = "bfnrt";
        if (escaped != 'u') {
            const size_t found = shorts.find(escaped);
            text += found == std::string::npos ? escaped : "\b\f\n\r\t"[found];
            continue;
        }
        const long unit = hex4(input, pos);
        if (unit < 0) {
            return {false, "Invalid unicode escape", 0};
        }
        pos += 4;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            const long low = input.compare(pos, 2, "\\u") == 0 ? hex4(input, pos + 2) : -1;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendCodePoint(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                pos += 6;
            } else {
                appendCodePoint(text, 0xFFFD);
            }
        } else {
            appendCodePoint(text, unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
        }
    }
}

}  // namespace

// Strings made of plain runs of every length between escapes of every kind,
// valid and not, raw control bytes, NULs and quotes, so that escapes and
// failures fall at every place in and across the blocks the string rule reads
// at once; each must parse as reading it byte by byte does.
TEST(JsonParser, StringsDecodeAsReadByteByByte) {
    const std::string pieces[] = {
        "\\\"",
        "\\\\",
        "\\/",
        "\\n",
        "\\t",
        "\\b",
        "\\f",
        "\\r",
        "\\q",
        "\\u00e9",
        "\\u20AC",
        "\\u0000",
        "\\uD83D\\uDE00",
        "\\uD83D",
        "\\uDE00",
        "\\uD83D\\u0041",
        "\\uDBFF\\uDFFF",
        "\\u12",
        "\\uZZZZ",
        "\\u00",
        "\\",
        "\t",
        "\n",
        "\x0b",
        std::string(1, '\0'),
        "\xc3\xa9",
        "\xff",
        "\"",
        "\\\\\\",
        "\\\\\\\"",
    };
    std::mt19937 random(20241210);
    JsonStringParserFactory factory;
    for (int round = 0; round < 20000; ++round) {
        std::string input = "\"";
        const int parts = static_cast<int>(random() % 8);
        for (int i = 0; i < parts; ++i) {
            input += std::string(random() % 70, static_cast<char>('a' + random() % 26));
            if (random() % 4 != 0) {
                input += pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
            }
        }
        if (random() % 8 != 0) {
            input += std::string(random() % 20, 'z') + "\"";
        }
        if (random() % 2 == 0) {
            input += "rest";
        }
        SCOPED_TRACE(testing::PrintToString(input));
        const ReadString expected = readStringByteByByte(input);
        Parsed parsed = parseWith(factory, input);
        ASSERT_EQ(parsed.result->isSuccess(), expected.parses) << parsed.result->getError();
        if (expected.parses) {
            EXPECT_EQ(static_cast<JsonString*>(parsed.result->getValue())->getValue(),
                      expected.textOrMessage);
            EXPECT_EQ(parsed.endPos, expected.end);
        } else {
            EXPECT_EQ(parsed.result->getError(), expected.textOrMessage);
            EXPECT_EQ(parsed.endPos, 0u);
        }
    }
}

// A string long enough to be copied in several pieces, escapes included.
TEST(JsonParser, LongStringsDecodeWhole) {
    std::string input = "\"";
    std::string expected;
    for (int i = 0; i < 5000; ++i) {
        input += std::string(static_cast<size_t>(i % 23), 'p') + "\\n\\u00e9\\\\";
        expected += std::string(static_cast<size_t>(i % 23), 'p') + "\n\xc3\xa9\\";
    }
    input += "\"";
    JsonStringParserFactory factory;
    Parsed parsed = parseWith(factory, input);
    ASSERT_TRUE(parsed.result->isSuccess());
    EXPECT_EQ(static_cast<JsonString*>(parsed.result->getValue())->getValue(), expected);
    EXPECT_EQ(parsed.endPos, input.size());
}
