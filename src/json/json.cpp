#include "json/json.h"

#include <cassert>

#include "common/secret_string.h"

JsonString::JsonString(std::string&& source) : text(std::move(source)) {
    wipeString(source);
}

JsonString::~JsonString() {
    wipeString(text);
}

std::string JsonString::takeValue() {
    std::string taken = std::move(text);
    wipeString(text);
    return taken;
}

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

void JsonObject::put(std::string key, std::unique_ptr<JsonValue> value) {
    assert(value && "value");
    auto inserted = members.try_emplace(std::move(key), value.get());
    if (inserted.second) {
        value.release();
    }
}

void JsonObject::putAll(JsonObject& later) {
    if (members.size() < later.members.size()) {
        // Fewer moves the other way round: this object's members go into the
        // larger map, where they win over the values under the same keys.
        members.swap(later.members);
        while (!later.members.empty()) {
            auto earlier = later.members.extract(later.members.begin());
            auto taken = members.find(earlier.key());
            if (taken == members.end()) {
                members.insert(std::move(earlier));
            } else {
                delete taken->second;
                taken->second = earlier.mapped();
            }
        }
        return;
    }
    // Members mostly come in ascending order, so each is first tried at the end.
    while (!later.members.empty()) {
        auto member = later.members.extract(later.members.begin());
        members.insert(members.end(), std::move(member));
        if (!member.empty()) {
            // The key was taken: the node is still ours.
            delete member.mapped();
        }
    }
}

JsonValue* JsonObject::get(const std::string& key) const {
    auto found = members.find(key);
    return found == members.end() ? nullptr : found->second;
}

std::unique_ptr<Iterator<std::pair<std::string, JsonValue*>>> JsonObject::iterator() const {
    return std::make_unique<MapIterator<std::string, JsonValue*, Members>>(members);
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
