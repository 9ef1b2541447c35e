#include "json/json_parser.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

#include "common/byte_scan.h"
#include "common/hex_digit.h"
#include "common/secret_string.h"
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

// Writes the UTF-8 bytes of a code point to `out` and returns their count.
size_t writeUtf8(uint32_t codePoint, char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (codePoint & 0x3F));
    return 4;
}

const uint32_t kReplacementCharacter = 0xFFFD;
// No escape decodes to more bytes than this.
const size_t kLongestDecodedEscape = 4;

bool isHighSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Decodes what follows "\u": the four hex digits at `digits`, of which `left`
// bytes of input remain. Writes the UTF-8 bytes to `out`, adding their count
// to `written`, and returns how many bytes of input it took, or 0 when the
// digits are not four hex digits. A surrogate that is not half of a pair
// becomes U+FFFD, as a browser's UTF-8 encoder makes it; an escape after a
// high surrogate that does not complete it is left for the caller to read.
size_t decodeUnicodeEscape(const char* digits, size_t left, char* out, size_t& written) {
    const int32_t unit = left >= 4 ? hexQuadValue(digits) : -1;
    if (unit < 0) {
        return 0;
    }
    const auto codeUnit = static_cast<uint32_t>(unit);
    if (isHighSurrogate(codeUnit)) {
        if (left >= 10 && digits[4] == '\\' && digits[5] == 'u') {
            const int32_t low = hexQuadValue(digits + 6);
            if (low >= 0 && isLowSurrogate(static_cast<uint32_t>(low))) {
                written += writeUtf8(
                    0x10000 + ((codeUnit - 0xD800) << 10) + (static_cast<uint32_t>(low) - 0xDC00),
                    out);
                return 10;
            }
        }
        written += writeUtf8(kReplacementCharacter, out);
        return 4;
    }
    written += writeUtf8(isLowSurrogate(codeUnit) ? kReplacementCharacter : codeUnit, out);
    return 4;
}

// Collects a string's decoded text in a small buffer and moves it into the
// value's text a buffer at a time: the text's block, sized once for the
// whole string, is written in one pass, with no bookkeeping per run or
// escape. The buffer is wiped as far as it was written: what was written
// since the last flush lies within kOverrun bytes past `used`, which only
// grows until the flush, so the reach is noted there and not at every write.
class DecodedText {
  public:
    explicit DecodedText(std::string& text) : text(text) {}
    ~DecodedText() { wipeMemory(buffer, std::max(touched, reach())); }
    DecodedText(const DecodedText&) = delete;
    DecodedText& operator=(const DecodedText&) = delete;

    // Copies plain bytes from `in` up to the first backslash or short-escape
    // control byte, or `count` bytes (`readable` of them may be read), and
    // returns how many it copied.
    size_t copyRun(const char* in, size_t count, size_t readable) {
        size_t copied = 0;
        for (;;) {
            const size_t room = kCapacity - used;
            const size_t want = count - copied < room ? count - copied : room;
            const size_t run = copyPlainRun(in + copied, want, readable - copied, buffer + used);
            used += run;
            copied += run;
            if (run < want || copied == count) {
                return copied;
            }
            flush();
        }
    }

    // Room for one decoded escape.
    char* escapeRoom() {
        if (kCapacity - used < kLongestDecodedEscape) {
            flush();
        }
        return buffer + used;
    }
    void escapeWritten(size_t count) { used += count; }

    void flush() {
        text.append(buffer, used);
        touched = std::max(touched, reach());
        used = 0;
    }

  private:
    static constexpr size_t kCapacity = 4096;
    // What a run may write past its end.
    static constexpr size_t kOverrun = 16;
    static_assert(kLongestDecodedEscape <= kOverrun, "an escape writes within the overrun");

    size_t reach() const { return std::min(sizeof(buffer), used + kOverrun); }

    std::string& text;
    char buffer[kCapacity + kOverrun];
    size_t used = 0;
    size_t touched = 0;
};

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
    // A PIN may come as a number too.
    SecretString text;
    text.push_back(first);
    while (input.hasMore()) {
        const char c = input.next();
        if (c == ',' || c == '}' || c == ']') {
            input.back();
            break;
        }
        text.push_back(c);
    }
    text.push_back('\0');
    // std::stod's reading without its exceptions: parsing never throws.
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.data(), &end);
    if (end == text.data()) {
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
    const char* const contents = input.rest();
    const size_t available = input.remaining();
    const size_t plain = findQuoteBackslashOrShortEscape(contents, available);
    if (plain < available && contents[plain] == '"') {
        // Nothing to decode: the text is taken in one piece.
        auto value = std::make_unique<JsonString>(contents, plain);
        input.skip(plain + 1);
        return success(std::move(value));
    }
    // The closing quote (or the end of the input), found with the escapes
    // followed a block at a time. No escape decodes to more bytes than it
    // takes, so the text needs one allocation however long it is. Decoded
    // straight into the value, which wipes it also when the string turns out
    // to be malformed.
    const size_t close = plain + findStringLiteralEnd(contents + plain, available - plain, 0);
    auto value = std::make_unique<JsonString>();
    value->text.reserve(close);
    DecodedText text(value->text);
    size_t pos = 0;
    for (;;) {
        pos += text.copyRun(contents + pos, close - pos, available - pos);
        if (pos == close) {
            if (close == available) {
                input.setPos(start);
                return failure("Unterminated string");
            }
            text.flush();
            input.skip(close + 1);
            return success(std::move(value));
        }
        const char c = contents[pos];
        if (c != '\\') {
            input.setPos(start);
            return failure(std::string("Unescaped character ") + c);
        }
        if (pos + 1 == available) {
            input.setPos(start);
            return failure("Unterminated string");
        }
        const char escaped = contents[pos + 1];
        char* out = text.escapeRoom();
        if (escaped != 'u') {
            *out = unescapedByte(escaped);
            text.escapeWritten(1);
            pos += 2;
            continue;
        }
        size_t written = 0;
        const size_t taken =
            decodeUnicodeEscape(contents + pos + 2, available - pos - 2, out, written);
        if (taken == 0) {
            input.setPos(start);
            return failure("Invalid unicode escape");
        }
        text.escapeWritten(written);
        pos += 2 + taken;
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
