// The JSON dialect the host accepts, written with the parser framework. It has
// no whitespace rule: the loop removes whitespace outside strings before
// parsing. Its quirks (numbers run up to the next delimiter and are read like
// std::stod reads them, escapes other than the known ones stand for
// themselves) decide which requests parse, so they are kept on purpose.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "json/json.h"
#include "json/parser.h"

// Lists and objects nest at most this deep, the outermost counting as level
// 1. Deeper input fails to parse instead of exhausting the stack: 200 levels
// fit in a 1 MiB stack.
constexpr size_t kMaxJsonNesting = 200;

// A rule built from framework parts. Factories hold nothing of a parse, so all
// parsers of a rule borrow one tree of its factories, built at its first use.
// The rules refer to each other through factories (a list's values come from a
// JsonValueParserFactory), so parsers still unfold only as deep as the input
// goes.
class JsonRuleParser : public Parser<JsonValue> {
  public:
    ~JsonRuleParser() override;
    ParseResultPtr<JsonValue> parse(ParserInput& input) override;

  protected:
    // With a `keeper`, the rule's parser is taken from it when it holds one and
    // given back to it when this parser is deleted, for the next parser made
    // with the same keeper. The keeper must outlive this parser.
    explicit JsonRuleParser(ParserFactory<JsonValue>& rule,
                            std::unique_ptr<Parser<JsonValue>>* keeper = nullptr);

  private:
    ParserFactory<JsonValue>& rule;
    std::unique_ptr<Parser<JsonValue>>* keeper;
    // Made at the first attempt, kept for the later ones.
    std::unique_ptr<Parser<JsonValue>> ruleParser;
};

// null, boolean, number, string, object or list.
class JsonValueParser : public JsonRuleParser {
  public:
    JsonValueParser();
};

class JsonValueParserFactory : public ParserFactory<JsonValue> {
  public:
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;
};

class JsonNullParser : public JsonRuleParser {
  public:
    class MyResultBuilder : public TerminalResultBuilder<JsonValue> {
      public:
        ParseResultPtr<JsonValue> build(std::string& match) override;
    };
    class MyResultBuilderFactory : public TerminalResultBuilderFactory<JsonValue> {
      public:
        std::unique_ptr<TerminalResultBuilder<JsonValue>> create() override;
    };

    JsonNullParser();
};

class JsonNullParserFactory : public ParserFactory<JsonValue> {
  public:
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;
};

class JsonBooleanParser : public JsonRuleParser {
  public:
    class MyResultBuilder : public TerminalResultBuilder<JsonValue> {
      public:
        ParseResultPtr<JsonValue> build(std::string& match) override;
    };
    class MyResultBuilderFactory : public TerminalResultBuilderFactory<JsonValue> {
      public:
        std::unique_ptr<TerminalResultBuilder<JsonValue>> create() override;
    };

    JsonBooleanParser();
};

class JsonBooleanParserFactory : public ParserFactory<JsonValue> {
  public:
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;
};

// Starts with a digit, "+" or "-" and takes every byte up to the next ",",
// "}" or "]" (or the end); what std::stod reads of that text is the number.
class JsonNumberParser : public Parser<JsonValue> {
  public:
    ParseResultPtr<JsonValue> parse(ParserInput& input) override;
};

class JsonNumberParserFactory : public ParserFactory<JsonValue> {
  public:
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;
};

// A quoted string. \b \f \n \r \t and \uXXXX are decoded (\u to UTF-8, a
// surrogate pair to one code point, a lone surrogate to U+FFFD); any other
// escaped byte stands for itself. The raw control bytes that have a short
// escape are refused; every other byte is taken as it is.
class JsonStringParser : public Parser<JsonValue> {
  public:
    ParseResultPtr<JsonValue> parse(ParserInput& input) override;
};

class JsonStringParserFactory : public ParserFactory<JsonValue> {
  public:
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;
};

// string ":" value, built into an object with that one member.
class JsonObjectMemberParser : public JsonRuleParser {
  public:
    class MyResultBuilder : public CompositeResultBuilder<JsonValue> {
      public:
        ParseResultPtr<JsonValue> build(Matches<JsonValue>& matches) override;
    };
    class MyResultBuilderFactory : public CompositeResultBuilderFactory<JsonValue> {
      public:
        std::unique_ptr<CompositeResultBuilder<JsonValue>> create() override;
    };

    JsonObjectMemberParser();
};

class JsonObjectMemberParserFactory : public ParserFactory<JsonValue> {
  public:
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;
};

// "{" [member ("," member)*] "}". Of repeated keys the first one counts.
class JsonObjectParser : public JsonRuleParser {
  public:
    class MyResultBuilder : public CompositeResultBuilder<JsonValue> {
      public:
        ParseResultPtr<JsonValue> build(Matches<JsonValue>& matches) override;
    };
    class MyResultBuilderFactory : public CompositeResultBuilderFactory<JsonValue> {
      public:
        std::unique_ptr<CompositeResultBuilder<JsonValue>> create() override;
    };
    class MyResultBuilderFFactory : public Factory<CompositeResultBuilderFactory<JsonValue>> {
      public:
        std::unique_ptr<CompositeResultBuilderFactory<JsonValue>> create() override;
    };

    JsonObjectParser();
    explicit JsonObjectParser(std::unique_ptr<Parser<JsonValue>>* keeper);
    ParseResultPtr<JsonValue> parse(ParserInput& input) override;
};

// The request loop asks it for a parser per message. By default it keeps the
// tree of parsers that one parser made below itself and hands it to the next
// one, so that a message costs no parser-making once the shapes of messages
// have been seen: parsers keep nothing from one parse to the next, so a kept
// tree answers as a new one would. Such a factory must outlive the parsers it
// makes and be used by one thread at a time.
class JsonObjectParserFactory : public ParserFactory<JsonValue> {
  public:
    explicit JsonObjectParserFactory(bool keepsParsers = true) : keepsParsers(keepsParsers) {}
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;

  private:
    bool keepsParsers;
    std::unique_ptr<Parser<JsonValue>> keptParser;
};

// "[" [value ("," value)*] "]".
class JsonListParser : public JsonRuleParser {
  public:
    class MyResultBuilder : public CompositeResultBuilder<JsonValue> {
      public:
        ParseResultPtr<JsonValue> build(Matches<JsonValue>& matches) override;
    };
    class MyResultBuilderFactory : public CompositeResultBuilderFactory<JsonValue> {
      public:
        std::unique_ptr<CompositeResultBuilder<JsonValue>> create() override;
    };
    class MyResultBuilderFFactory : public Factory<CompositeResultBuilderFactory<JsonValue>> {
      public:
        std::unique_ptr<CompositeResultBuilderFactory<JsonValue>> create() override;
    };

    JsonListParser();
    ParseResultPtr<JsonValue> parse(ParserInput& input) override;
};

class JsonListParserFactory : public ParserFactory<JsonValue> {
  public:
    std::unique_ptr<Parser<JsonValue>> create() override;
    bool mayStartWith(int next) const override;
};

// A ParserBuilder that also knows the two recursive JSON rules. Every
// composite node it makes gets a result builder of the rule being built.
class JsonParserBuilder : public ParserBuilder<JsonValue> {
  public:
    explicit JsonParserBuilder(
        std::unique_ptr<CompositeResultBuilderFFactory> compositeResultBuilderFFactory)
        : ParserBuilder<JsonValue>(std::move(compositeResultBuilderFFactory)) {}

    JsonParserBuilder& jsonValue();
    JsonParserBuilder& objectMember();
};

// Parses one message with a fresh parser from `factory`. On success the value
// is a JsonObject, owned by the result; bytes after the object's closing brace
// are not looked at.
ParseResultPtr<JsonValue> parseJsonObject(JsonObjectParserFactory& factory,
                                          const std::string& text);
