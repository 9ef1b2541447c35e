#include "json/json_parser.h"

#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "common/byte_scan.h"
#include "common/hex_digit.h"
#include "common/string_literal.h"

namespace {

ParseResultPtr<JsonValue> failure(std::string message) {
    return std::make_unique<ParseResult<JsonValue>>(std::move(message));
}

ParseResultPtr<JsonValue> success(std::unique_ptr<JsonValue> value) {
    return std::make_unique<ParseResult<JsonValue>>(std::move(value));
}

// Holds one level of list or object nesting open while the container parses.
class NestingScope {
  public:
    explicit NestingScope(ParserInput& input) : input(input) { input.enterNested(); }
    ~NestingScope() { input.leaveNested(); }
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;

  private:
    ParserInput& input;
};

ParseResultPtr<JsonValue> tooDeep() {
    return failure("Lists and objects nest deeper than " + std::to_string(kMaxJsonNesting) +
                   " levels");
}

// What the list rule's inner nodes build: elements on their way into the list
// being parsed. The list parser itself hands out only plain JsonLists, so a
// fragment among a node's matches is never an element in its own right, while
// a plain JsonList there is a nested array.
class JsonListFragment : public JsonList {};

// The four hex digits after "\u".
bool readHex4(ParserInput& input, uint32_t& value) {
    if (input.remaining() < 4) {
        return false;
    }
    int32_t quad = hexQuadValue(input.rest());
    if (quad < 0) {
        return false;
    }
    input.skip(4);
    value = static_cast<uint32_t>(quad);
    return true;
}

void appendUtf8(std::string& text, uint32_t codePoint) {
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

const uint32_t kReplacementCharacter = 0xFFFD;

bool isHighSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Decodes what follows "\u". A surrogate that is not half of a pair becomes
// U+FFFD, as a browser's UTF-8 encoder makes it; an escape after a high
// surrogate that does not complete it is left for the caller to read.
bool decodeUnicodeEscape(ParserInput& input, std::string& text) {
    uint32_t unit;
    if (!readHex4(input, unit)) {
        return false;
    }
    if (isHighSurrogate(unit)) {
        const size_t afterHigh = input.getPos();
        uint32_t low;
        if (input.hasMore() && input.next() == '\\' && input.hasMore() && input.next() == 'u' &&
            readHex4(input, low) && isLowSurrogate(low)) {
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            return true;
        }
        input.setPos(afterHigh);
        appendUtf8(text, kReplacementCharacter);
        return true;
    }
    appendUtf8(text, isLowSurrogate(unit) ? kReplacementCharacter : unit);
    return true;
}

// Bytes from the cursor up to the closing quote (or the end), escapes
// included; never less than the decoded text, which therefore needs at most
// one allocation however long the string is.
size_t rawStringLength(const ParserInput& input) {
    return findStringLiteralEnd(input.rest(), input.remaining(), 0);
}

bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

JsonRuleParser::JsonRuleParser(ParserFactory<JsonValue>& rule,
                               std::unique_ptr<Parser<JsonValue>>* keeper)
    : rule(rule), keeper(keeper) {
    if (keeper != nullptr) {
        ruleParser = std::move(*keeper);
    }
}

JsonRuleParser::~JsonRuleParser() {
    if (keeper != nullptr && ruleParser) {
        *keeper = std::move(ruleParser);
    }
}

ParseResultPtr<JsonValue> JsonRuleParser::parse(ParserInput& input) {
    if (!ruleParser) {
        ruleParser = rule.create();
    }
    return ruleParser->parse(input);
}

namespace {

std::unique_ptr<ParserFactory<JsonValue>> buildValueRule() {
    auto rule = std::make_unique<SelectionParserFactory<JsonValue>>();
    rule->addChild(std::make_unique<JsonNullParserFactory>());
    rule->addChild(std::make_unique<JsonBooleanParserFactory>());
    rule->addChild(std::make_unique<JsonNumberParserFactory>());
    rule->addChild(std::make_unique<JsonStringParserFactory>());
    // This rule is shared by every parser on every thread: it keeps nothing.
    rule->addChild(std::make_unique<JsonObjectParserFactory>(false));
    rule->addChild(std::make_unique<JsonListParserFactory>());
    return rule;
}

ParserFactory<JsonValue>& valueRule() {
    static const std::unique_ptr<ParserFactory<JsonValue>> rule = buildValueRule();
    return *rule;
}

}  // namespace

JsonValueParser::JsonValueParser() : JsonRuleParser(valueRule()) {}

std::unique_ptr<Parser<JsonValue>> JsonValueParserFactory::create() {
    return std::make_unique<JsonValueParser>();
}

bool JsonValueParserFactory::mayStartWith(int next) const {
    return valueRule().mayStartWith(next);
}

ParseResultPtr<JsonValue> JsonNullParser::MyResultBuilder::build(std::string& match) {
    assert("null" == match);
    (void)match;
    return success(std::make_unique<JsonNull>());
}

std::unique_ptr<TerminalResultBuilder<JsonValue>> JsonNullParser::MyResultBuilderFactory::create() {
    return std::make_unique<MyResultBuilder>();
}

namespace {

ParserFactory<JsonValue>& nullRule() {
    static const std::unique_ptr<ParserFactory<JsonValue>> rule =
        std::make_unique<TerminalParserFactory<JsonValue>>(
            "null", std::make_unique<JsonNullParser::MyResultBuilderFactory>());
    return *rule;
}

}  // namespace

JsonNullParser::JsonNullParser() : JsonRuleParser(nullRule()) {}

std::unique_ptr<Parser<JsonValue>> JsonNullParserFactory::create() {
    return std::make_unique<JsonNullParser>();
}

bool JsonNullParserFactory::mayStartWith(int next) const {
    return nullRule().mayStartWith(next);
}

ParseResultPtr<JsonValue> JsonBooleanParser::MyResultBuilder::build(std::string& match) {
    return success(std::make_unique<JsonBoolean>(match == "true"));
}

std::unique_ptr<TerminalResultBuilder<JsonValue>>
JsonBooleanParser::MyResultBuilderFactory::create() {
    return std::make_unique<MyResultBuilder>();
}

namespace {

std::unique_ptr<ParserFactory<JsonValue>> buildBooleanRule() {
    auto rule = std::make_unique<SelectionParserFactory<JsonValue>>();
    rule->addChild(std::make_unique<TerminalParserFactory<JsonValue>>(
        "true", std::make_unique<JsonBooleanParser::MyResultBuilderFactory>()));
    rule->addChild(std::make_unique<TerminalParserFactory<JsonValue>>(
        "false", std::make_unique<JsonBooleanParser::MyResultBuilderFactory>()));
    return rule;
}

ParserFactory<JsonValue>& booleanRule() {
    static const std::unique_ptr<ParserFactory<JsonValue>> rule = buildBooleanRule();
    return *rule;
}

}  // namespace

JsonBooleanParser::JsonBooleanParser() : JsonRuleParser(booleanRule()) {}

std::unique_ptr<Parser<JsonValue>> JsonBooleanParserFactory::create() {
    return std::make_unique<JsonBooleanParser>();
}

bool JsonBooleanParserFactory::mayStartWith(int next) const {
    return booleanRule().mayStartWith(next);
}

ParseResultPtr<JsonValue> JsonNumberParser::parse(ParserInput& input) {
    if (!input.hasMore()) {
        return failure("Unexpected end of input");
    }
    const size_t start = input.getPos();
    const char first = input.next();
    if (!isAsciiDigit(first) && first != '+' && first != '-') {
        input.setPos(start);
        return failure("Invalid number start character");
    }
    std::string text(1, first);
    while (input.hasMore()) {
        const char c = input.next();
        if (c == ',' || c == '}' || c == ']') {
            input.back();
            break;
        }
        text += c;
    }
    // std::stod's reading without its exceptions: parsing never throws.
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) {
        input.setPos(start);
        return failure("Failed to parse JSON number - invalid format: invalid stod argument");
    }
    if (errno == ERANGE) {
        input.setPos(start);
        return failure(
            "Failed to parse JSON number - number is too large: stod argument out of range");
    }
    return success(std::make_unique<JsonNumber>(value));
}

std::unique_ptr<Parser<JsonValue>> JsonNumberParserFactory::create() {
    return std::make_unique<JsonNumberParser>();
}

bool JsonNumberParserFactory::mayStartWith(int next) const {
    return (next >= '0' && next <= '9') || next == '+' || next == '-';
}

ParseResultPtr<JsonValue> JsonStringParser::parse(ParserInput& input) {
    if (!input.hasMore()) {
        return failure("Unexpected end of input");
    }
    const size_t start = input.getPos();
    const char first = input.next();
    if (first != '"') {
        input.setPos(start);
        return failure("Expected '\"' for strat of string but got " +
                       std::to_string(static_cast<int>(static_cast<signed char>(first))));
    }
    const size_t plain = findQuoteBackslashOrShortEscape(input.rest(), input.remaining());
    if (plain < input.remaining() && input.rest()[plain] == '"') {
        // Nothing to decode: the text is taken in one piece.
        std::string text(input.rest(), plain);
        input.skip(plain + 1);
        return success(std::make_unique<JsonString>(std::move(text)));
    }
    std::string text;
    text.reserve(rawStringLength(input));
    for (;;) {
        const size_t run = findQuoteBackslashOrShortEscape(input.rest(), input.remaining());
        text.append(input.rest(), run);
        input.skip(run);
        if (!input.hasMore()) {
            input.setPos(start);
            return failure("Unterminated string");
        }
        const char c = input.next();
        if (c == '"') {
            return success(std::make_unique<JsonString>(std::move(text)));
        }
        if (c == '\\') {
            if (!input.hasMore()) {
                input.setPos(start);
                return failure("Unterminated string");
            }
            const char escaped = input.next();
            if (escaped != 'u') {
                text += unescapedByte(escaped);
            } else if (!decodeUnicodeEscape(input, text)) {
                input.setPos(start);
                return failure("Invalid unicode escape");
            }
            continue;
        }
        if (c == '\b' || c == '\t' || c == '\n' || c == '\f' || c == '\r') {
            input.setPos(start);
            return failure(std::string("Unescaped character ") + c);
        }
        text += c;
    }
}

std::unique_ptr<Parser<JsonValue>> JsonStringParserFactory::create() {
    return std::make_unique<JsonStringParser>();
}

bool JsonStringParserFactory::mayStartWith(int next) const {
    return next == '"';
}

ParseResultPtr<JsonValue> JsonObjectMemberParser::MyResultBuilder::build(
    Matches<JsonValue>& matches) {
    assert(matches.size() == 3);
    std::string key = static_cast<JsonString*>(matches[0]->getValue())->takeValue();
    auto member = std::make_unique<JsonObject>();
    member->put(std::move(key), matches[2]->release());
    return success(std::move(member));
}

std::unique_ptr<CompositeResultBuilder<JsonValue>>
JsonObjectMemberParser::MyResultBuilderFactory::create() {
    return std::make_unique<MyResultBuilder>();
}

namespace {

std::unique_ptr<ParserFactory<JsonValue>> buildMemberRule() {
    auto rule = std::make_unique<SequenceParserFactory<JsonValue>>(
        std::make_unique<JsonObjectMemberParser::MyResultBuilderFactory>());
    rule->addChild(std::make_unique<JsonStringParserFactory>());
    rule->addChild(std::make_unique<TerminalParserFactory<JsonValue>>(":"));
    rule->addChild(std::make_unique<JsonValueParserFactory>());
    return rule;
}

ParserFactory<JsonValue>& memberRule() {
    static const std::unique_ptr<ParserFactory<JsonValue>> rule = buildMemberRule();
    return *rule;
}

}  // namespace

JsonObjectMemberParser::JsonObjectMemberParser() : JsonRuleParser(memberRule()) {}

std::unique_ptr<Parser<JsonValue>> JsonObjectMemberParserFactory::create() {
    return std::make_unique<JsonObjectMemberParser>();
}

bool JsonObjectMemberParserFactory::mayStartWith(int next) const {
    return memberRule().mayStartWith(next);
}

// Members arrive in document order and putAll() never replaces, so of
// repeated keys the first one is kept. The members gather in the first part
// instead of a new object: a part of a single member, or the only part, is
// handed on as it is rather than copied at every level of the rule.
ParseResultPtr<JsonValue> JsonObjectParser::MyResultBuilder::build(Matches<JsonValue>& matches) {
    ParseResultPtr<JsonValue> gathered;
    for (ParseResultPtr<JsonValue>& match : matches) {
        auto* part = static_cast<JsonObject*>(match->getValue());
        if (part == nullptr) {
            continue;
        }
        if (!gathered) {
            gathered = std::move(match);
            continue;
        }
        static_cast<JsonObject*>(gathered->getValue())->putAll(*part);
    }
    if (!gathered) {
        return success(std::make_unique<JsonObject>());
    }
    return gathered;
}

std::unique_ptr<CompositeResultBuilder<JsonValue>>
JsonObjectParser::MyResultBuilderFactory::create() {
    return std::make_unique<MyResultBuilder>();
}

std::unique_ptr<CompositeResultBuilderFactory<JsonValue>>
JsonObjectParser::MyResultBuilderFFactory::create() {
    return std::make_unique<MyResultBuilderFactory>();
}

namespace {

std::unique_ptr<ParserFactory<JsonValue>> buildObjectRule() {
    JsonParserBuilder builder(std::make_unique<JsonObjectParser::MyResultBuilderFFactory>());
    builder.terminal("}");
    builder.objectMember();
    builder.terminal(",");
    builder.sequence(builder, builder);
    builder.zeroOrMore(builder);
    builder.objectMember();
    builder.sequence(builder, builder);
    builder.optional(builder);
    builder.terminal("{");
    builder.sequence(builder, builder, builder);
    return builder.pop();
}

ParserFactory<JsonValue>& objectRule() {
    static const std::unique_ptr<ParserFactory<JsonValue>> rule = buildObjectRule();
    return *rule;
}

}  // namespace

JsonObjectParser::JsonObjectParser() : JsonRuleParser(objectRule()) {}

JsonObjectParser::JsonObjectParser(std::unique_ptr<Parser<JsonValue>>* keeper)
    : JsonRuleParser(objectRule(), keeper) {}

ParseResultPtr<JsonValue> JsonObjectParser::parse(ParserInput& input) {
    if (input.getDepth() >= kMaxJsonNesting) {
        return tooDeep();
    }
    NestingScope scope(input);
    return JsonRuleParser::parse(input);
}

std::unique_ptr<Parser<JsonValue>> JsonObjectParserFactory::create() {
    return std::make_unique<JsonObjectParser>(keepsParsers ? &keptParser : nullptr);
}

bool JsonObjectParserFactory::mayStartWith(int next) const {
    return objectRule().mayStartWith(next);
}

// A node with a single match hands it on as it is instead of copying it into a
// new fragment: a fragment stays one, and a value stands for itself as one
// element to the node above, which tells the two apart as it does for its own
// matches. The optional part always yields a fragment (its inner sequence has
// two matches, or it has none), so the rule's root still hands one to the list
// parser.
ParseResultPtr<JsonValue> JsonListParser::MyResultBuilder::build(Matches<JsonValue>& matches) {
    ParseResultPtr<JsonValue>* single = nullptr;
    size_t count = 0;
    for (ParseResultPtr<JsonValue>& match : matches) {
        if (match->getValue() != nullptr) {
            single = &match;
            ++count;
        }
    }
    if (count == 1) {
        return std::move(*single);
    }
    auto list = std::make_unique<JsonListFragment>();
    for (ParseResultPtr<JsonValue>& match : matches) {
        JsonValue* value = match->getValue();
        if (value == nullptr) {
            continue;
        }
        if (auto* fragment = dynamic_cast<JsonListFragment*>(value)) {
            fragment->releaseElements();
            for (JsonValue* element : fragment->getElements()) {
                list->add(std::unique_ptr<JsonValue>(element));
            }
        } else {
            list->add(match->release());
        }
    }
    return success(std::move(list));
}

std::unique_ptr<CompositeResultBuilder<JsonValue>>
JsonListParser::MyResultBuilderFactory::create() {
    return std::make_unique<MyResultBuilder>();
}

std::unique_ptr<CompositeResultBuilderFactory<JsonValue>>
JsonListParser::MyResultBuilderFFactory::create() {
    return std::make_unique<MyResultBuilderFactory>();
}

namespace {

std::unique_ptr<ParserFactory<JsonValue>> buildListRule() {
    JsonParserBuilder builder(std::make_unique<JsonListParser::MyResultBuilderFFactory>());
    builder.terminal("]");
    builder.jsonValue();
    builder.terminal(",");
    builder.sequence(builder, builder);
    builder.zeroOrMore(builder);
    builder.jsonValue();
    builder.sequence(builder, builder);
    builder.optional(builder);
    builder.terminal("[");
    builder.sequence(builder, builder, builder);
    return builder.pop();
}

ParserFactory<JsonValue>& listRule() {
    static const std::unique_ptr<ParserFactory<JsonValue>> rule = buildListRule();
    return *rule;
}

}  // namespace

JsonListParser::JsonListParser() : JsonRuleParser(listRule()) {}

ParseResultPtr<JsonValue> JsonListParser::parse(ParserInput& input) {
    if (input.getDepth() >= kMaxJsonNesting) {
        return tooDeep();
    }
    NestingScope scope(input);
    ParseResultPtr<JsonValue> result = JsonRuleParser::parse(input);
    if (!result->isSuccess()) {
        return result;
    }
    // The rule's root node built a fragment; the array itself is a plain list.
    std::unique_ptr<JsonValue> fragment = result->release();
    assert(dynamic_cast<JsonListFragment*>(fragment.get()) != nullptr);
    auto* elements = static_cast<JsonList*>(fragment.get());
    elements->releaseElements();
    auto list = std::make_unique<JsonList>();
    for (JsonValue* element : elements->getElements()) {
        list->add(std::unique_ptr<JsonValue>(element));
    }
    return success(std::move(list));
}

std::unique_ptr<Parser<JsonValue>> JsonListParserFactory::create() {
    return std::make_unique<JsonListParser>();
}

bool JsonListParserFactory::mayStartWith(int next) const {
    return listRule().mayStartWith(next);
}

JsonParserBuilder& JsonParserBuilder::jsonValue() {
    push(std::make_unique<JsonValueParserFactory>());
    return *this;
}

JsonParserBuilder& JsonParserBuilder::objectMember() {
    push(std::make_unique<JsonObjectMemberParserFactory>());
    return *this;
}

ParseResultPtr<JsonValue> parseJsonObject(JsonObjectParserFactory& factory,
                                          const std::string& text) {
    ParserInput input(text);
    return factory.create()->parse(input);
}
