#include "json/json.h"

#include <cassert>

JsonList::~JsonList() {
    if (!elementsReleased) {
        for (JsonValue* element : elements) {
            delete element;
        }
    }
}

std::unique_ptr<Iterator<JsonValue*>> JsonList::iterator() const {
    return std::make_unique<VectorIterator<JsonValue*>>(elements);
}

JsonObject::~JsonObject() {
    for (auto& member : members) {
        delete member.second;
    }
}

void JsonObject::put(const std::string& key, std::unique_ptr<JsonValue> value) {
    assert(value && "value");
    auto inserted = members.emplace(key, value.get());
    if (inserted.second) {
        value.release();
    }
}

JsonValue* JsonObject::get(const std::string& key) const {
    auto found = members.find(key);
    return found == members.end() ? nullptr : found->second;
}

std::unique_ptr<Iterator<std::pair<std::string, JsonValue*>>> JsonObject::iterator() const {
    return std::make_unique<MapIterator<std::string, JsonValue*>>(members);
}

bool isBoolean(const JsonValue* value) {
    return dynamic_cast<const JsonBoolean*>(value) != nullptr;
}
bool isList(const JsonValue* value) {
    return dynamic_cast<const JsonList*>(value) != nullptr;
}
bool isObject(const JsonValue* value) {
    return dynamic_cast<const JsonObject*>(value) != nullptr;
}
bool isString(const JsonValue* value) {
    return dynamic_cast<const JsonString*>(value) != nullptr;
}
