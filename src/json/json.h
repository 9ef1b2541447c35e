// The JSON value model: a tree of heap values in which every container owns
// what it holds.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/iterator.h"
#include "common/recycled_memory.h"

class JsonNull;
class JsonBoolean;
class JsonString;
class JsonNumber;
class JsonList;
class JsonObject;
class JsonStringParser;

class JsonValueVisitor {
  public:
    virtual ~JsonValueVisitor() = default;
    virtual void visit(JsonNull& v) = 0;
    virtual void visit(JsonBoolean& v) = 0;
    virtual void visit(JsonString& v) = 0;
    virtual void visit(JsonNumber& v) = 0;
    virtual void visit(JsonList& v) = 0;
    virtual void visit(JsonObject& v) = 0;
};

class JsonValue {
  public:
    VANTREL_RECYCLED_MEMORY
    virtual ~JsonValue() = default;
    virtual void accept(JsonValueVisitor& visitor) = 0;

  protected:
    JsonValue() = default;
    JsonValue(const JsonValue&) = delete;
    JsonValue& operator=(const JsonValue&) = delete;
};

class JsonNull : public JsonValue {
  public:
    void accept(JsonValueVisitor& visitor) override { visitor.visit(*this); }
};

class JsonBoolean : public JsonValue {
  public:
    explicit JsonBoolean(bool value) : value(value) {}
    bool getValue() const { return value; }
    void accept(JsonValueVisitor& visitor) override { visitor.visit(*this); }

  private:
    bool value;
};

class JsonNumber : public JsonValue {
  public:
    explicit JsonNumber(double value) : value(value) {}
    double getValue() const { return value; }
    void accept(JsonValueVisitor& visitor) override { visitor.visit(*this); }

  private:
    double value;
};

// Text is length-aware: a NUL byte is part of the text like any other byte.
// Any string of a request may be a PIN, so every byte a JsonString has held is
// wiped before its memory is given back, what a move leaves behind included.
class JsonString : public JsonValue {
  public:
    JsonString() = default;
    explicit JsonString(const std::string& text) : text(text) {}
    // The moved-from text is wiped.
    explicit JsonString(std::string&& text);
    JsonString(const char* data, size_t size) : text(data, size) {}
    ~JsonString() override;

    const std::string& getValue() const { return text; }
    // Moves the text out; the value is left empty.
    std::string takeValue();
    void accept(JsonValueVisitor& visitor) override { visitor.visit(*this); }

  private:
    // Decodes into the text in place, so that no copy is left elsewhere.
    friend class JsonStringParser;

    std::string text;
};

class JsonList : public JsonValue {
  public:
    JsonList() = default;
    ~JsonList() override;

    // Appends; the list takes ownership.
    void add(std::unique_ptr<JsonValue> value) { elements.push_back(value.release()); }
    // A new iterator over the elements in insertion order; the caller owns it.
    std::unique_ptr<Iterator<JsonValue*>> iterator() const;
    const std::vector<JsonValue*>& getElements() const { return elements; }
    // From now on destroying the list leaves its elements alone (they have been
    // moved into another container).
    void releaseElements() { elementsReleased = true; }
    void accept(JsonValueVisitor& visitor) override { visitor.visit(*this); }

  private:
    std::vector<JsonValue*> elements;
    bool elementsReleased = false;
};

// Members are kept in ascending byte order of their names; the first value
// stored under a name is never replaced.
class JsonObject : public JsonValue {
  public:
    // Requests may hold thousands of members: their nodes come from recycled
    // memory rather than one general allocation each.
    using Members = std::map<std::string, JsonValue*, std::less<std::string>,
                             RecycledAllocator<std::pair<const std::string, JsonValue*>>>;

    JsonObject() = default;
    ~JsonObject() override;

    // Adopts the value unless the key is taken; a refused value is deleted.
    void put(std::string key, std::unique_ptr<JsonValue> value);
    // Puts every member of `later` as put() would, so a key taken here keeps
    // its value, and leaves `later` empty. Members move without being copied.
    void putAll(JsonObject& later);
    // The member value, still owned by the object, or null.
    JsonValue* get(const std::string& key) const;
    std::unique_ptr<Iterator<std::pair<std::string, JsonValue*>>> iterator() const;
    const Members& getMembers() const { return members; }
    // Forgets all members without deleting their values (they have been moved
    // into another container).
    void clear() { members.clear(); }
    void accept(JsonValueVisitor& visitor) override { visitor.visit(*this); }

  private:
    Members members;
};

bool isBoolean(const JsonValue* value);
bool isList(const JsonValue* value);
bool isObject(const JsonValue* value);
bool isString(const JsonValue* value);
