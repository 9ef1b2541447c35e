#include "json/json.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Counts live instances so tests can see what a container deletes.
class CountedValue : public JsonNull {
  public:
    explicit CountedValue(int& live) : live(live) { ++live; }
    ~CountedValue() override { --live; }

  private:
    int& live;
};

std::vector<std::string> keysOf(const JsonObject& object) {
    std::vector<std::string> keys;
    auto it = object.iterator();
    while (it->hasNext()) {
        keys.push_back(it->next().first);
    }
    return keys;
}

}  // namespace

TEST(JsonObject, MembersComeOutInByteOrderOfTheirNames) {
    JsonObject object;
    for (const char* key : {"b", "a", "B", "ab", "\xC3\xA9", ""}) {
        object.put(key, std::make_unique<JsonNull>());
    }
    EXPECT_EQ(keysOf(object), (std::vector<std::string>{"", "B", "a", "ab", "b", "\xC3\xA9"}));
}

TEST(JsonObject, FirstValueUnderAKeyWins) {
    int live = 0;
    {
        JsonObject object;
        auto first = std::make_unique<CountedValue>(live);
        JsonValue* kept = first.get();
        object.put("a", std::move(first));
        object.put("a", std::make_unique<CountedValue>(live));
        EXPECT_EQ(object.get("a"), kept);
        EXPECT_EQ(live, 1) << "a refused value is deleted at once";
        EXPECT_EQ(object.get("missing"), nullptr);
    }
    EXPECT_EQ(live, 0);
}

// Both ways of moving the members (the smaller map into the larger one) must
// give what putting each member of the later object in turn gives.
TEST(JsonObject, PutAllKeepsEarlierValuesAndDeletesTheRefusedOnes) {
    struct Case {
        std::vector<std::string> earlier;
        std::vector<std::string> later;
    } cases[] = {
        {{"a", "c", "e"}, {"b", "c"}},
        {{"c"}, {"a", "c", "d"}},
        {{"z", "y"}, {"y", "x", "w", "z", "v"}},
        {{}, {"a"}},
        {{"a"}, {}},
    };
    for (const Case& c : cases) {
        int live = 0;
        {
            JsonObject earlier;
            JsonObject later;
            JsonObject expected;
            JsonObject::Members kept;
            for (const std::string& key : c.earlier) {
                auto value = std::make_unique<CountedValue>(live);
                kept[key] = value.get();
                earlier.put(key, std::move(value));
            }
            for (const std::string& key : c.later) {
                auto value = std::make_unique<CountedValue>(live);
                kept.emplace(key, value.get());
                later.put(key, std::move(value));
            }
            earlier.putAll(later);
            EXPECT_TRUE(later.getMembers().empty());
            EXPECT_EQ(earlier.getMembers(), kept);
            EXPECT_EQ(live, static_cast<int>(kept.size())) << "refused values are deleted";
        }
        EXPECT_EQ(live, 0);
    }
}

TEST(JsonObject, ClearForgetsMembersWithoutDeletingThem) {
    int live = 0;
    auto object = std::make_unique<JsonObject>();
    auto value = std::make_unique<CountedValue>(live);
    JsonValue* moved = value.get();
    object->put("a", std::move(value));
    JsonObject target;
    target.put("a", std::unique_ptr<JsonValue>(object->get("a")));
    object->clear();
    object.reset();
    EXPECT_EQ(live, 1);
    EXPECT_EQ(target.get("a"), moved);
}

TEST(JsonList, KeepsInsertionOrderAndOwnsElements) {
    int live = 0;
    {
        JsonList list;
        list.add(std::make_unique<JsonNumber>(2));
        list.add(std::make_unique<CountedValue>(live));
        list.add(std::make_unique<JsonNumber>(1));
        auto it = list.iterator();
        ASSERT_TRUE(it->hasNext());
        EXPECT_EQ(static_cast<JsonNumber*>(it->next())->getValue(), 2);
        ASSERT_TRUE(it->hasNext());
        it->next();
        ASSERT_TRUE(it->hasNext());
        EXPECT_EQ(static_cast<JsonNumber*>(it->next())->getValue(), 1);
        EXPECT_FALSE(it->hasNext());
        EXPECT_EQ(live, 1);
    }
    EXPECT_EQ(live, 0);
}

TEST(JsonList, ReleasedElementsOutliveTheList) {
    int live = 0;
    auto element = std::make_unique<CountedValue>(live);
    JsonValue* raw = element.get();
    {
        JsonList list;
        list.add(std::move(element));
        list.releaseElements();
    }
    EXPECT_EQ(live, 1);
    delete raw;
    EXPECT_EQ(live, 0);
}

TEST(JsonContainers, EmptyOnesIterateNothing) {
    EXPECT_FALSE(JsonList().iterator()->hasNext());
    EXPECT_FALSE(JsonObject().iterator()->hasNext());
}

TEST(JsonTypeTests, AnswerByDynamicClass) {
    JsonBoolean boolean(true);
    JsonList list;
    JsonObject object;
    JsonString text("x");
    JsonNumber number(1);
    JsonNull null;
    const JsonValue* values[] = {&boolean, &list, &object, &text, &number, &null};
    for (const JsonValue* v : values) {
        EXPECT_EQ(isBoolean(v), v == &boolean);
        EXPECT_EQ(isList(v), v == &list);
        EXPECT_EQ(isObject(v), v == &object);
        EXPECT_EQ(isString(v), v == &text);
    }
}

TEST(JsonString, KeepsNulBytesInsideTheText) {
    JsonString text(std::string("a\0b", 3));
    EXPECT_EQ(text.getValue().size(), 3u);
}
