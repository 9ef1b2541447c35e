#include "json/parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string_view>

namespace {

// Grammars over plain text: a terminal yields its text, a composite node
// "(" + its children's values joined by spaces + ")", so a result shows the
// shape of what matched.
class TextBuilder : public TerminalResultBuilder<std::string> {
  public:
    ParseResultPtr<std::string> build(std::string& match) override {
        return std::make_unique<ParseResult<std::string>>(std::make_unique<std::string>(match));
    }
};

class TextBuilderFactory : public TerminalResultBuilderFactory<std::string> {
  public:
    std::unique_ptr<TerminalResultBuilder<std::string>> create() override {
        return std::make_unique<TextBuilder>();
    }
};

class TextBuilderFFactory : public Factory<TerminalResultBuilderFactory<std::string>> {
  public:
    std::unique_ptr<TerminalResultBuilderFactory<std::string>> create() override {
        return std::make_unique<TextBuilderFactory>();
    }
};

class JoinBuilder : public CompositeResultBuilder<std::string> {
  public:
    ParseResultPtr<std::string> build(Matches<std::string>& matches) override {
        std::string text = "(";
        for (const auto& match : matches) {
            if (match->getValue() != nullptr) {
                text += text.size() > 1 ? " " : "";
                text += *match->getValue();
            }
        }
        return std::make_unique<ParseResult<std::string>>(
            std::make_unique<std::string>(text + ")"));
    }
};

class JoinBuilderFactory : public CompositeResultBuilderFactory<std::string> {
  public:
    std::unique_ptr<CompositeResultBuilder<std::string>> create() override {
        return std::make_unique<JoinBuilder>();
    }
};

class JoinBuilderFFactory : public Factory<CompositeResultBuilderFactory<std::string>> {
  public:
    std::unique_ptr<CompositeResultBuilderFactory<std::string>> create() override {
        return std::make_unique<JoinBuilderFactory>();
    }
};

using Builder = ParserBuilder<std::string>;
using Grammar = std::unique_ptr<ParserFactory<std::string>>;

std::unique_ptr<Builder> textBuilder() {
    return std::make_unique<Builder>(std::make_unique<JoinBuilderFFactory>(),
                                     std::make_unique<TextBuilderFFactory>());
}

Grammar terminalNull() {
    auto b = textBuilder();
    return b->terminal("null").pop();
}

// Operands are pushed from the last to the first.
Grammar sequenceABC() {
    auto b = textBuilder();
    b->terminal("c").terminal("b").terminal("a").sequence(*b, *b, *b);
    return b->pop();
}

Grammar zeroOrMoreA() {
    auto b = textBuilder();
    b->terminal("a").zeroOrMore(*b);
    return b->pop();
}

Grammar optionalA() {
    auto b = textBuilder();
    b->terminal("a").optional(*b);
    return b->pop();
}

Grammar selectionAbOrB() {
    auto selection = std::make_unique<SelectionParserFactory<std::string>>();
    selection->addChild(std::make_unique<TerminalParserFactory<std::string>>(
        "ab", std::make_unique<TextBuilderFactory>()));
    selection->addChild(std::make_unique<TerminalParserFactory<std::string>>(
        "b", std::make_unique<TextBuilderFactory>()));
    return selection;
}

// x (y z)* with terminals that carry no builder: only the structure is left.
Grammar bareTerminals() {
    Builder b(std::make_unique<JoinBuilderFFactory>());
    b.terminal("z").terminal("y").sequence(b, b).zeroOrMore(b).terminal("x").sequence(b, b);
    return b.pop();
}

struct Case {
    const char* name;
    std::function<Grammar()> grammar;
    std::string input;
    bool success;
    std::string valueOrMessage;
    size_t endPos;
};

const Case kCases[] = {
    {"terminal mismatch", terminalNull, "nul", false, "Failed to match 'null'", 0},
    {"terminal differs", terminalNull, "nulL", false, "Failed to match 'null'", 0},
    {"terminal matches a prefix", terminalNull, "nullx", true, "null", 4},
    {"sequence", sequenceABC, "abcd", true, "(a b c)", 3},
    {"sequence fails at last child", sequenceABC, "abx", false, "Failed to match 'c'", 0},
    {"sequence fails at first child", sequenceABC, "xbc", false, "Failed to match 'a'", 0},
    {"sequence at end of input", sequenceABC, "ab", false, "Failed to match 'c'", 0},
    {"zeroOrMore of nothing", zeroOrMoreA, "", true, "()", 0},
    {"zeroOrMore without a match", zeroOrMoreA, "baa", true, "()", 0},
    {"zeroOrMore", zeroOrMoreA, "aaab", true, "(a a a)", 3},
    {"optional absent", optionalA, "b", true, "()", 0},
    {"optional once", optionalA, "ab", true, "(a)", 1},
    {"optional twice", optionalA, "aab", false,
     "Failed to match between 0 and 1 repetition (actual matches 2)", 0},
    {"selection first", selectionAbOrB, "abc", true, "ab", 2},
    {"selection second", selectionAbOrB, "bc", true, "b", 1},
    {"selection none", selectionAbOrB, "c", false, "None of the selection choices matched", 0},
    {"selection at end of input", selectionAbOrB, "", false,
     "None of the selection choices matched", 0},
    {"bare terminals", bareTerminals, "xyzyzy", true, "((() ()))", 5},
};

}  // namespace

TEST(Parser, MatchesAndFailsAsTabled) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        Grammar grammar = c.grammar();
        ParserInput input(c.input);
        ParseResultPtr<std::string> result = grammar->create()->parse(input);
        ASSERT_NE(result, nullptr);
        EXPECT_EQ(result->isSuccess(), c.success);
        if (c.success) {
            ASSERT_NE(result->getValue(), nullptr);
            EXPECT_EQ(*result->getValue(), c.valueOrMessage);
            EXPECT_EQ(result->getError(), "");
        } else {
            EXPECT_EQ(result->getValue(), nullptr);
            EXPECT_EQ(result->getError(), c.valueOrMessage);
        }
        EXPECT_EQ(input.getPos(), c.endPos);
    }
}

TEST(Parser, ParsesFromTheCurrentPositionAndEachParserIsFresh) {
    Grammar grammar = sequenceABC();
    const std::string text = "xxabcabc";
    ParserInput input(text);
    input.setPos(2);
    for (size_t end : {5u, 8u}) {
        ParseResultPtr<std::string> result = grammar->create()->parse(input);
        ASSERT_TRUE(result->isSuccess());
        EXPECT_EQ(*result->getValue(), "(a b c)");
        EXPECT_EQ(input.getPos(), end);
    }
    ParseResultPtr<std::string> result = grammar->create()->parse(input);
    EXPECT_EQ(result->getError(), "Failed to match 'a'");
    EXPECT_EQ(input.getPos(), 8u);
}

TEST(ParserInput, UsesTheWholeStringLengthAndStepsBack) {
    const std::string text("a\0b", 3);
    ParserInput input(text);
    std::string read;
    while (input.hasMore()) {
        read += input.next();
    }
    EXPECT_EQ(read, text);
    EXPECT_EQ(input.back(), 'b');
    EXPECT_EQ(input.getPos(), 2u);
}

TEST(ParseResult, ReleaseHandsTheValueOver) {
    ParseResult<std::string> result(std::make_unique<std::string>("v"));
    std::unique_ptr<std::string> value = result.release();
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(*value, "v");
    EXPECT_EQ(result.getValue(), nullptr);
    EXPECT_TRUE(result.isSuccess());
    EXPECT_FALSE(ParseResult<std::string>(std::string("failed")).isSuccess());
    EXPECT_TRUE(ParseResult<std::string>().isSuccess());
}

TEST(ParserDeathTest, MisuseFailsItsAssertion) {
#ifdef NDEBUG
    GTEST_SKIP() << "assertions are compiled out";
#else
    struct Misuse {
        std::function<void()> run;
        const char* assertion;
    } misuses[] = {
        {[] { textBuilder()->pop(); }, "`!stack.empty\\(\\)'"},
        {[] { textBuilder()->terminal("a"); }, "`stack.empty\\(\\)'"},
        {[] {
             RepetitionParserFactory<std::string> repetition(
                 0, 1, std::make_unique<JoinBuilderFactory>(), terminalNull());
             repetition.addChild(terminalNull());
         },
         "Repetition parsesr can't have multiple child parser factories"},
        {[] {
             auto parser = optionalA()->create();
             static_cast<CompositeParser<std::string>&>(*parser).addChild(nullptr);
         },
         "Cannot add shild parser factory to Repetition parser"},
        {[] { SequenceParserFactory<std::string> sequence(nullptr); }, "`resultBuilderFactory'"},
        {[] { Builder builder(nullptr); }, "`compositeResultBuilderFFactory'"},
    };
    for (const Misuse& misuse : misuses) {
        SCOPED_TRACE(misuse.assertion);
        EXPECT_DEATH(misuse.run(), misuse.assertion);
    }
#endif
}

namespace {

// A terminal that counts the parsers made from it and the parse calls they
// get, and says it can only start with `first` (any byte when it is 0).
class CountingTerminal : public ParserFactory<std::string> {
  public:
    CountingTerminal(std::string text, char first = 0)
        : terminal(std::move(text), std::make_unique<TextBuilderFactory>()), first(first) {}

    std::unique_ptr<Parser<std::string>> create() override {
        ++created;
        return std::make_unique<Counted>(terminal.create(), parses);
    }
    bool mayStartWith(int next) const override {
        return first == 0 || next == static_cast<unsigned char>(first);
    }

    int created = 0;
    int parses = 0;

  private:
    class Counted : public Parser<std::string> {
      public:
        Counted(std::unique_ptr<Parser<std::string>> parser, int& parses)
            : parser(std::move(parser)), parses(parses) {}
        ParseResultPtr<std::string> parse(ParserInput& input) override {
            ++parses;
            return parser->parse(input);
        }

      private:
        std::unique_ptr<Parser<std::string>> parser;
        int& parses;
    };

    TerminalParserFactory<std::string> terminal;
    char first;
};

}  // namespace

TEST(Parser, SelectionLeavesOutAlternativesThatCannotStartWithTheNextByte) {
    auto selection = std::make_unique<SelectionParserFactory<std::string>>();
    auto x = std::make_unique<CountingTerminal>("xy", 'x');
    auto any = std::make_unique<CountingTerminal>("z");
    CountingTerminal& xRef = *x;
    CountingTerminal& anyRef = *any;
    selection->addChild(std::move(x));
    selection->addChild(std::move(any));

    for (const char* text : {"z", "", "q"}) {
        ParserInput input{std::string_view(text).data(), std::strlen(text)};
        selection->create()->parse(input);
    }
    EXPECT_EQ(xRef.parses, 0) << "never tried: it cannot start with z, q or the end";
    EXPECT_EQ(anyRef.parses, 3);

    const std::string text = "xy";
    ParserInput input(text);
    ParseResultPtr<std::string> result = selection->create()->parse(input);
    ASSERT_TRUE(result->isSuccess());
    EXPECT_EQ(*result->getValue(), "xy");
    EXPECT_EQ(input.getPos(), 2u);
    EXPECT_EQ(xRef.parses, 1);
    EXPECT_EQ(anyRef.parses, 4) << "alternatives that may start with the byte are all tried";
}

TEST(Parser, FactoriesTellWhichBytesTheyMayStartWith) {
    const int end = ParserInput::kEndOfInput;
    TerminalParserFactory<std::string> ab("ab");
    EXPECT_TRUE(ab.mayStartWith('a'));
    EXPECT_FALSE(ab.mayStartWith('b'));
    EXPECT_FALSE(ab.mayStartWith(end));
    EXPECT_FALSE(ab.mayStartWith(0xE1));
    TerminalParserFactory<std::string> high("\xE1");
    EXPECT_TRUE(high.mayStartWith(0xE1));
    TerminalParserFactory<std::string> empty("");
    EXPECT_TRUE(empty.mayStartWith(end));

    Grammar sequence = sequenceABC();
    EXPECT_TRUE(sequence->mayStartWith('a'));
    EXPECT_FALSE(sequence->mayStartWith('b'));
    Grammar optional = optionalA();
    EXPECT_TRUE(optional->mayStartWith('b')) << "matches nothing anywhere";
    EXPECT_TRUE(optional->mayStartWith(end));
    RepetitionParserFactory<std::string> atLeastOne(
        1, 5, std::make_unique<JoinBuilderFactory>(),
        std::make_unique<TerminalParserFactory<std::string>>("a"));
    EXPECT_TRUE(atLeastOne.mayStartWith('a'));
    EXPECT_FALSE(atLeastOne.mayStartWith('b'));
    Grammar selection = selectionAbOrB();
    EXPECT_TRUE(selection->mayStartWith('a'));
    EXPECT_TRUE(selection->mayStartWith('b'));
    EXPECT_FALSE(selection->mayStartWith('c'));
    EXPECT_FALSE(selection->mayStartWith(end));
}

// A composite parser makes a child's parser at the first attempt and uses it
// for the later ones, which must answer as fresh parsers would.
TEST(Parser, ChildParsersAreMadeOnceAndAnswerAsFreshOnes) {
    auto child = std::make_unique<CountingTerminal>("a");
    CountingTerminal& counter = *child;
    RepetitionParserFactory<std::string> repetition(0, 3, std::make_unique<JoinBuilderFactory>(),
                                                    std::move(child));
    std::unique_ptr<Parser<std::string>> parser = repetition.create();
    struct Attempt {
        std::string input;
        std::string valueOrMessage;
    } attempts[] = {
        {"aab", "(a a)"},
        {"aaaa", "Failed to match between 0 and 3 repetition (actual matches 4)"},
        {"b", "()"},
        {"aaa", "(a a a)"},
    };
    int parses = 0;
    for (const Attempt& attempt : attempts) {
        SCOPED_TRACE(attempt.input);
        ParserInput input(attempt.input);
        ParseResultPtr<std::string> result = parser->parse(input);
        const std::string& seen = result->isSuccess() ? *result->getValue() : result->getError();
        EXPECT_EQ(seen, attempt.valueOrMessage);
        parses += static_cast<int>(std::count(attempt.input.begin(), attempt.input.end(), 'a')) + 1;
    }
    EXPECT_EQ(counter.created, 1);
    EXPECT_EQ(counter.parses, parses) << "one parse per a and one that ends the repetition";
}

TEST(Parser, RepetitionStopsBeforeAnAttemptThatCannotStartWithTheNextByte) {
    auto child = std::make_unique<CountingTerminal>("xy", 'x');
    CountingTerminal& counter = *child;
    RepetitionParserFactory<std::string> repetition(0, 5, std::make_unique<JoinBuilderFactory>(),
                                                    std::move(child));
    const std::string text = "xyxyq";
    ParserInput input(text);
    ParseResultPtr<std::string> result = repetition.create()->parse(input);
    ASSERT_TRUE(result->isSuccess());
    EXPECT_EQ(*result->getValue(), "(xy xy)");
    EXPECT_EQ(input.getPos(), 4u);
    EXPECT_EQ(counter.parses, 2) << "q cannot start xy: no third attempt";

    const std::string cut = "xyx";
    ParserInput cutInput(cut);
    result = repetition.create()->parse(cutInput);
    ASSERT_TRUE(result->isSuccess());
    EXPECT_EQ(cutInput.getPos(), 2u) << "a failed attempt leaves the position where it was";
    EXPECT_EQ(counter.parses, 4);
}
