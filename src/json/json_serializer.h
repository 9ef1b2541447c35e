// The two writers of a JSON tree: compact JSON for replies, and the XML-like
// text that is signed for a payload given as an object.
#pragma once

#include <string>

#include "json/json.h"

// Compact JSON, members in key order. Strings and keys are escaped and made
// valid UTF-8, so every reply is valid UTF-8 JSON whatever a token returns.
class JsonSerialiser : public JsonValueVisitor {
  public:
    explicit JsonSerialiser(JsonValue& root) {
        // Room for a typical reply at once instead of growing to it step by step.
        text.reserve(256);
        root.accept(*this);
    }
    std::string getText() const { return text; }
    std::string takeText() { return std::move(text); }

    void visit(JsonNull& v) override;
    void visit(JsonBoolean& v) override;
    void visit(JsonString& v) override;
    void visit(JsonNumber& v) override;
    void visit(JsonList& v) override;
    void visit(JsonObject& v) override;

  private:
    void writeQuoted(const std::string& value);
    std::string text;
};

// "<key>value</key>" per member and "<item>value</item>" per element, nothing
// escaped: the signed text must be exactly the payload's bytes.
class JsonXmlSerializer : public JsonValueVisitor {
  public:
    explicit JsonXmlSerializer(JsonValue& root) { root.accept(*this); }
    std::string getText() const { return text; }
    std::string takeText() { return std::move(text); }

    void visit(JsonNull& v) override;
    void visit(JsonBoolean& v) override;
    void visit(JsonString& v) override;
    void visit(JsonNumber& v) override;
    void visit(JsonList& v) override;
    void visit(JsonObject& v) override;

  private:
    std::string text;
};
