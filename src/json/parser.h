// A small parser-combinator framework. A grammar is a long-lived tree of
// parser factories; a composite parser makes its children's parsers from them
// when it first needs them, so a recursive grammar unfolds only as deep as the
// input goes. What a matched piece of input becomes is left to result builders
// that the grammar supplies per node. Failures are results carrying a message,
// never exceptions.
//
// Parsers and result builders keep no state from one parse call to the next: a
// composite parser keeps the child parsers it made and uses them again for its
// later attempts, and they must answer as fresh ones would.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/recycled_memory.h"

// The cursor every parser reads from. It borrows the text, which must outlive
// it. Positions are size_t: messages can be hundreds of MiB long.
class ParserInput {
  public:
    ParserInput(const char* data, size_t length) : data(data), length(length) {}
    explicit ParserInput(const std::string& text) : data(text.data()), length(text.size()) {}
    // The cursor would dangle.
    explicit ParserInput(std::string&&) = delete;

    // What peek() gives when no byte is left.
    static constexpr int kEndOfInput = -1;

    bool hasMore() const { return position < length; }
    // No bound check: callers test hasMore() first.
    char next() { return data[position++]; }
    // The next byte as an unsigned value, or kEndOfInput; the position stays.
    int peek() const {
        return position < length ? static_cast<unsigned char>(data[position]) : kEndOfInput;
    }
    // Steps back by one and returns the byte found there.
    char back() { return data[--position]; }
    size_t getPos() const { return position; }
    void setPos(size_t pos) { position = pos; }

    // The unread bytes, for leaf parsers that take long runs of input at once.
    const char* rest() const { return data + position; }
    size_t remaining() const { return length - position; }
    // No bound check: at most remaining() bytes.
    void skip(size_t count) { position += count; }

    // How many nested constructs the grammar has open at the cursor. A
    // recursive grammar uses it to bound its recursion, and so the stack.
    size_t getDepth() const { return depth; }
    void enterNested() { ++depth; }
    void leaveNested() { --depth; }

  private:
    const char* data;
    size_t length;
    size_t position = 0;
    size_t depth = 0;
};

// Either a failure message or a success, which may hold a value or nothing
// (an "empty" success, what a bare terminal yields).
template <typename T>
class ParseResult {
  public:
    VANTREL_RECYCLED_MEMORY
    ParseResult() = default;
    explicit ParseResult(std::unique_ptr<T> value) : value(std::move(value)) {}
    explicit ParseResult(std::string error)
        : error(std::make_unique<std::string>(std::move(error))) {}

    bool isSuccess() const { return error == nullptr; }
    // Still owned by the result.
    T* getValue() const { return value.get(); }
    // Hands the value over; the result holds nothing afterwards.
    std::unique_ptr<T> release() { return std::move(value); }
    // Empty for a success.
    const std::string& getError() const {
        static const std::string none;
        return error ? *error : none;
    }

  private:
    std::unique_ptr<std::string> error;
    std::unique_ptr<T> value;
};

template <typename T>
using ParseResultPtr = std::unique_ptr<ParseResult<T>>;

// What a composite parser hands its result builder: its children's results, in
// order. A builder may move one of them out and return it as its own result;
// the rest are deleted once it returns.
template <typename T>
using Matches = std::vector<ParseResultPtr<T>>;

template <typename X>
class Factory {
  public:
    virtual ~Factory() = default;
    virtual std::unique_ptr<X> create() = 0;
};

template <typename T, typename M>
class ResultBuilder {
  public:
    virtual ~ResultBuilder() = default;
    virtual ParseResultPtr<T> build(M& matches) = 0;
};

// Receives the text a terminal matched.
template <typename T>
using TerminalResultBuilder = ResultBuilder<T, std::string>;
// Receives the children's results.
template <typename T>
using CompositeResultBuilder = ResultBuilder<T, Matches<T>>;

template <typename T>
class Parser {
  public:
    virtual ~Parser() = default;
    virtual ParseResultPtr<T> parse(ParserInput& input) = 0;
};

template <typename T>
class ParserFactory : public Factory<Parser<T>> {
  public:
    // Whether a parser made here can succeed when the input's next byte is
    // `next` (ParserInput::kEndOfInput when none is left). False promises that
    // it fails on every input that goes on with `next`; true is always a safe
    // answer. A selection leaves out the alternatives that answer false.
    virtual bool mayStartWith(int next) const {
        (void)next;
        return true;
    }
};

template <typename T>
class CompositeParser : public Parser<T> {
  public:
    explicit CompositeParser(std::unique_ptr<CompositeResultBuilder<T>> resultBuilder)
        : resultBuilder((assert(resultBuilder), std::move(resultBuilder))) {}

    // Borrowed: the factory that made this parser owns its children.
    virtual void addChild(ParserFactory<T>* parserFactory) {
        assert(parserFactory);
        parserFactories.push_back(parserFactory);
    }

    // Makes room for `count` children and their matches at once: a parser is
    // made for every message, so its few allocations count.
    void reserveChildren(size_t count) {
        parserFactories.reserve(count);
        childParsers.reserve(count);
        matches.reserve(count);
    }

  protected:
    // Hands the matches to the result builder and empties the list, which the
    // parser keeps for its next attempt unless it grew long.
    ParseResultPtr<T> build(Matches<T>& matches) {
        assert(resultBuilder != nullptr);
        ParseResultPtr<T> result = resultBuilder->build(matches);
        matches.clear();
        if (matches.capacity() > kKeptMatches) {
            Matches<T>().swap(matches);
        }
        return result;
    }

    // The parser for child `index` is made at the first attempt and kept for
    // the later ones: making parsers afresh for every element of a long list
    // cost far more than the matching itself.
    ParseResultPtr<T> parseChild(size_t index, ParserInput& input) {
        if (childParsers.size() <= index) {
            childParsers.resize(parserFactories.size());
        }
        std::unique_ptr<Parser<T>>& child = childParsers[index];
        if (!child) {
            child = parserFactories[index]->create();
        }
        return child->parse(input);
    }

    std::unique_ptr<CompositeResultBuilder<T>> resultBuilder;
    std::vector<ParserFactory<T>*> parserFactories;
    // Kept between attempts so that they are not allocated anew each time; a
    // parser is never used again while one of its attempts is in progress.
    // Emptied at the start of every attempt too, so that nothing an attempt
    // cut short by an exception left behind reaches the next one.
    Matches<T> matches;
    // Beyond this many a list of matches is not kept: a parser may live on
    // after a huge message, and such a list is cheap to make again next to
    // the matching that fills it.
    static constexpr size_t kKeptMatches = 1024;

  private:
    std::vector<std::unique_ptr<Parser<T>>> childParsers;
};

template <typename T>
class SequenceParser : public CompositeParser<T> {
  public:
    using CompositeParser<T>::CompositeParser;

    ParseResultPtr<T> parse(ParserInput& input) override {
        const size_t start = input.getPos();
        Matches<T>& matches = this->matches;
        matches.clear();
        for (size_t i = 0; i < this->parserFactories.size(); ++i) {
            ParseResultPtr<T> result = this->parseChild(i, input);
            if (!result->isSuccess()) {
                input.setPos(start);
                matches.clear();
                return result;
            }
            matches.push_back(std::move(result));
        }
        return this->build(matches);
    }
};

// Which alternatives of a selection may succeed, by the input's next byte:
// bit i of a mask stands for alternative i. Filled from the alternatives'
// mayStartWith() as they are added; alternatives beyond the 64th are always
// tried.
template <typename T>
class FirstByteDispatch {
  public:
    static constexpr size_t kMaxAlternatives = 64;

    void add(const ParserFactory<T>& alternative) {
        const size_t index = count++;
        if (index >= kMaxAlternatives) {
            return;
        }
        for (int next = ParserInput::kEndOfInput; next <= 255; ++next) {
            if (alternative.mayStartWith(next)) {
                masks[static_cast<size_t>(next + 1)] |= uint64_t{1} << index;
            }
        }
    }

    // Whether alternative `index` is worth trying when the next byte is `next`.
    bool mayTry(size_t index, int next) const {
        return index >= kMaxAlternatives ||
               (masks[static_cast<size_t>(next + 1)] >> index & 1) != 0;
    }

    bool anyMayStartWith(int next) const {
        return count > kMaxAlternatives || masks[static_cast<size_t>(next + 1)] != 0;
    }

  private:
    std::array<uint64_t, 257> masks{};
    size_t count = 0;
};

template <typename T>
class SelectionParser : public CompositeParser<T> {
  public:
    // Without a dispatch every alternative is tried.
    explicit SelectionParser(std::unique_ptr<CompositeResultBuilder<T>> resultBuilder,
                             const FirstByteDispatch<T>* dispatch = nullptr)
        : CompositeParser<T>(std::move(resultBuilder)), dispatch(dispatch) {}

    // Every alternative that may start with the next byte is tried, even after
    // one has matched. Those left out would fail, and failures are dropped.
    ParseResultPtr<T> parse(ParserInput& input) override {
        const size_t start = input.getPos();
        const int next = input.peek();
        Matches<T>& matches = this->matches;
        matches.clear();
        ends.clear();
        ends.reserve(this->parserFactories.size());
        for (size_t i = 0; i < this->parserFactories.size(); ++i) {
            if (dispatch != nullptr && !dispatch->mayTry(i, next)) {
                continue;
            }
            ParseResultPtr<T> result = this->parseChild(i, input);
            if (result->isSuccess()) {
                ends.emplace_back(result.get(), input.getPos());
                matches.push_back(std::move(result));
            }
            input.setPos(start);
        }
        ParseResultPtr<T> result = this->build(matches);
        assert(result != nullptr);
        if (result->isSuccess()) {
            for (const auto& end : ends) {
                if (end.first == result.get()) {
                    input.setPos(end.second);
                }
            }
        }
        return result;
    }

  private:
    const FirstByteDispatch<T>* dispatch;
    std::vector<std::pair<const ParseResult<T>*, size_t>> ends;
};

template <typename T>
class RepetitionParser : public CompositeParser<T> {
  public:
    RepetitionParser(uint32_t min, uint32_t max,
                     std::unique_ptr<CompositeResultBuilder<T>> resultBuilder,
                     ParserFactory<T>* childParserFactory)
        : CompositeParser<T>(std::move(resultBuilder)), min(min), max(max) {
        assert(childParserFactory);
        this->parserFactories.push_back(childParserFactory);
    }

    void addChild(ParserFactory<T>*) override {
        assert(false && "Cannot add shild parser factory to Repetition parser");
    }

    // Never gives matches back to fit max: one match too many fails the whole
    // repetition.
    ParseResultPtr<T> parse(ParserInput& input) override {
        assert(parserFactories.size() == 1);
        const size_t start = input.getPos();
        Matches<T>& matches = this->matches;
        matches.clear();
        for (;;) {
            // An attempt that cannot start with the next byte would fail, and
            // the failure that ends a repetition is dropped unread: making its
            // message cost more than the matching of a small message.
            if (!parserFactories[0]->mayStartWith(input.peek())) {
                break;
            }
            ParseResultPtr<T> result = this->parseChild(0, input);
            if (!result->isSuccess()) {
                break;
            }
            matches.push_back(std::move(result));
        }
        const size_t count = matches.size();
        if (min <= count && count <= max) {
            return this->build(matches);
        }
        input.setPos(start);
        matches.clear();
        return std::make_unique<ParseResult<T>>(
            "Failed to match between " + std::to_string(min) + " and " + std::to_string(max) +
            " repetition (actual matches " + std::to_string(count) + ")");
    }

  private:
    using CompositeParser<T>::parserFactories;

    uint32_t min;
    uint32_t max;
};

template <typename T>
class TerminalParser : public Parser<T> {
  public:
    // Without a result builder a match is an empty success.
    TerminalParser(std::string text, std::unique_ptr<TerminalResultBuilder<T>> resultBuilder)
        : text(std::move(text)), resultBuilder(std::move(resultBuilder)) {}

    ParseResultPtr<T> parse(ParserInput& input) override {
        const size_t start = input.getPos();
        for (char expected : text) {
            if (!input.hasMore() || input.next() != expected) {
                input.setPos(start);
                return std::make_unique<ParseResult<T>>("Failed to match '" + text + "'");
            }
        }
        if (!resultBuilder) {
            return std::make_unique<ParseResult<T>>();
        }
        return resultBuilder->build(text);
    }

  private:
    std::string text;
    std::unique_ptr<TerminalResultBuilder<T>> resultBuilder;
};

template <typename T>
using CompositeResultBuilderFactory = Factory<CompositeResultBuilder<T>>;
template <typename T>
using TerminalResultBuilderFactory = Factory<TerminalResultBuilder<T>>;

template <typename T>
class CompositeParserFactory : public ParserFactory<T> {
  public:
    // The parser borrows this factory's children.
    std::unique_ptr<Parser<T>> create() override {
        std::unique_ptr<CompositeParser<T>> parser = createParser();
        parser->reserveChildren(this->children.size());
        for (const auto& child : this->children) {
            parser->addChild(child.get());
        }
        return parser;
    }

    virtual void addChild(std::unique_ptr<ParserFactory<T>> child) {
        assert(child);
        children.push_back(std::move(child));
    }

  protected:
    virtual std::unique_ptr<CompositeParser<T>> createParser() = 0;

    std::vector<std::unique_ptr<ParserFactory<T>>> children;
};

template <typename T>
class SequenceParserFactory : public CompositeParserFactory<T> {
  public:
    explicit SequenceParserFactory(
        std::unique_ptr<CompositeResultBuilderFactory<T>> resultBuilderFactory)
        : resultBuilderFactory((assert(resultBuilderFactory), std::move(resultBuilderFactory))) {}

    // A sequence matches only where its first child does.
    bool mayStartWith(int next) const override {
        return this->children.empty() || this->children.front()->mayStartWith(next);
    }

  protected:
    std::unique_ptr<CompositeParser<T>> createParser() override {
        return std::make_unique<SequenceParser<T>>(resultBuilderFactory->create());
    }

  private:
    std::unique_ptr<CompositeResultBuilderFactory<T>> resultBuilderFactory;
};

template <typename T>
class SelectionParserFactory : public CompositeParserFactory<T> {
  public:
    // Hands on the first successful alternative unchanged. The alternatives'
    // own failure messages are not kept.
    class DefaultResultBuilder : public CompositeResultBuilder<T> {
      public:
        ParseResultPtr<T> build(Matches<T>& matches) override {
            if (matches.empty()) {
                return std::make_unique<ParseResult<T>>(
                    std::string("None of the selection choices matched"));
            }
            return std::move(matches.front());
        }
    };

    class DeafultResultBuilderFactory : public CompositeResultBuilderFactory<T> {
      public:
        std::unique_ptr<CompositeResultBuilder<T>> create() override {
            return std::make_unique<DefaultResultBuilder>();
        }
    };

    SelectionParserFactory()
        : resultBuilderFactory(std::make_unique<DeafultResultBuilderFactory>()) {}

    // Asks the new alternative at once which bytes it may start with, so it
    // must be complete when it is added.
    void addChild(std::unique_ptr<ParserFactory<T>> child) override {
        CompositeParserFactory<T>::addChild(std::move(child));
        dispatch.add(*this->children.back());
    }

    bool mayStartWith(int next) const override { return dispatch.anyMayStartWith(next); }

  protected:
    std::unique_ptr<CompositeParser<T>> createParser() override {
        assert(resultBuilderFactory != nullptr);
        return std::make_unique<SelectionParser<T>>(resultBuilderFactory->create(), &dispatch);
    }

  private:
    std::unique_ptr<CompositeResultBuilderFactory<T>> resultBuilderFactory;
    FirstByteDispatch<T> dispatch;
};

template <typename T>
class RepetitionParserFactory : public CompositeParserFactory<T> {
  public:
    RepetitionParserFactory(uint32_t min, uint32_t max,
                            std::unique_ptr<CompositeResultBuilderFactory<T>> resultBuilderFactory,
                            std::unique_ptr<ParserFactory<T>> childFactory)
        : min(min),
          max(max),
          resultBuilderFactory((assert(resultBuilderFactory), std::move(resultBuilderFactory))) {
        assert(childFactory);
        this->children.push_back(std::move(childFactory));
    }

    std::unique_ptr<Parser<T>> create() override { return createParser(); }

    // With a minimum of 0 it succeeds without matching anything.
    bool mayStartWith(int next) const override {
        return min == 0 || this->children.front()->mayStartWith(next);
    }

    void addChild(std::unique_ptr<ParserFactory<T>>) override {
        assert(false && "Repetition parsesr can't have multiple child parser factories");
    }

  protected:
    std::unique_ptr<CompositeParser<T>> createParser() override {
        return std::make_unique<RepetitionParser<T>>(min, max, resultBuilderFactory->create(),
                                                     this->children.front().get());
    }

  private:
    uint32_t min;
    uint32_t max;
    std::unique_ptr<CompositeResultBuilderFactory<T>> resultBuilderFactory;
};

template <typename T>
class TerminalParserFactory : public ParserFactory<T> {
  public:
    explicit TerminalParserFactory(std::string text) : text(std::move(text)) {}
    TerminalParserFactory(std::string text,
                          std::unique_ptr<TerminalResultBuilderFactory<T>> resultBuilderFactory)
        : text(std::move(text)), resultBuilderFactory(std::move(resultBuilderFactory)) {}

    std::unique_ptr<Parser<T>> create() override {
        return std::make_unique<TerminalParser<T>>(
            text, resultBuilderFactory ? resultBuilderFactory->create() : nullptr);
    }

    bool mayStartWith(int next) const override {
        return text.empty() || next == static_cast<unsigned char>(text[0]);
    }

  private:
    std::string text;
    std::unique_ptr<TerminalResultBuilderFactory<T>> resultBuilderFactory;
};

// Assembles factory trees on a stack. A combinator pops its operands from the
// top, the top becoming its first child, and pushes the new factory; so a rule
// is built by pushing its operands from the last to the first and then
// applying the combinator. Each operand names the builder to pop from. When a
// rule is complete its root is the only entry left, and its owner takes it
// with pop().
template <typename T>
class ParserBuilder {
  public:
    using CompositeResultBuilderFFactory = Factory<CompositeResultBuilderFactory<T>>;
    using TerminalResultBuilderFFactory = Factory<TerminalResultBuilderFactory<T>>;

    // Every composite node gets a result builder factory of its own from
    // `compositeResultBuilderFFactory`; terminals get one from
    // `terminalResultBuilderFFactory` when it is given, else they yield empty
    // successes.
    explicit ParserBuilder(
        std::unique_ptr<CompositeResultBuilderFFactory> compositeResultBuilderFFactory,
        std::unique_ptr<TerminalResultBuilderFFactory> terminalResultBuilderFFactory = nullptr)
        : compositeResultBuilderFFactory(
              (assert(compositeResultBuilderFFactory), std::move(compositeResultBuilderFFactory))),
          terminalResultBuilderFFactory(std::move(terminalResultBuilderFFactory)) {}
    virtual ~ParserBuilder() { assert(stack.empty()); }

    ParserBuilder(const ParserBuilder&) = delete;
    ParserBuilder& operator=(const ParserBuilder&) = delete;

    ParserBuilder& terminal(std::string text) {
        if (terminalResultBuilderFFactory) {
            push(std::make_unique<TerminalParserFactory<T>>(
                std::move(text), terminalResultBuilderFFactory->create()));
        } else {
            push(std::make_unique<TerminalParserFactory<T>>(std::move(text)));
        }
        return *this;
    }

    template <typename... More>
    ParserBuilder& sequence(ParserBuilder& first, ParserBuilder& second, More&... more) {
        auto factory =
            std::make_unique<SequenceParserFactory<T>>(compositeResultBuilderFFactory->create());
        factory->addChild(first.pop());
        factory->addChild(second.pop());
        (factory->addChild(static_cast<ParserBuilder&>(more).pop()), ...);
        push(std::move(factory));
        return *this;
    }

    ParserBuilder& zeroOrMore(ParserBuilder& builder) { return repetition(0, 2147483647, builder); }
    ParserBuilder& optional(ParserBuilder& builder) { return repetition(0, 1, builder); }

    std::unique_ptr<ParserFactory<T>> pop() {
        assert(!stack.empty());
        std::unique_ptr<ParserFactory<T>> top = std::move(stack.back());
        stack.pop_back();
        return top;
    }

  protected:
    void push(std::unique_ptr<ParserFactory<T>> factory) { stack.push_back(std::move(factory)); }

  private:
    ParserBuilder& repetition(uint32_t min, uint32_t max, ParserBuilder& builder) {
        push(std::make_unique<RepetitionParserFactory<T>>(
            min, max, compositeResultBuilderFFactory->create(), builder.pop()));
        return *this;
    }

    std::deque<std::unique_ptr<ParserFactory<T>>> stack;
    std::unique_ptr<CompositeResultBuilderFFactory> compositeResultBuilderFFactory;
    std::unique_ptr<TerminalResultBuilderFFactory> terminalResultBuilderFFactory;
};
