#include "common/recycled_memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "json/json.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kRecycling = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kRecycling = false;
#else
constexpr bool kRecycling = true;
#endif
#else
constexpr bool kRecycling = true;
#endif

}  // namespace

TEST(RecycledMemory, BlocksOfEverySizeHoldTheirBytes) {
    std::vector<std::pair<void*, size_t>> blocks;
    for (size_t size = 1; size <= 300; ++size) {
        void* block = allocateRecycled(size);
        std::memset(block, static_cast<int>(size & 0xFF), size);
        blocks.emplace_back(block, size);
    }
    for (const auto& [block, size] : blocks) {
        const auto* bytes = static_cast<const unsigned char*>(block);
        for (size_t i = 0; i < size; ++i) {
            ASSERT_EQ(bytes[i], size & 0xFF) << size;
        }
        freeRecycled(block, size);
    }
    freeRecycled(nullptr, 8);
}

TEST(RecycledMemory, AFreedValueMakesRoomForTheNextOfItsSize) {
    if (!kRecycling) {
        GTEST_SKIP() << "the sanitizer build hands every block to the general allocator";
    }
    auto first = std::make_unique<JsonString>("a");
    const void* address = first.get();
    first.reset();
    auto second = std::make_unique<JsonString>("b");
    EXPECT_EQ(static_cast<const void*>(second.get()), address);
    EXPECT_EQ(second->getValue(), "b");
}

// The slabs serve every thread: a block may be freed on another thread than
// the one that made it, and that thread may make values of its own meanwhile.
TEST(RecycledMemory, ValuesMayBeFreedOnAnotherThread) {
    std::vector<std::unique_ptr<JsonValue>> values;
    for (int i = 0; i < 1000; ++i) {
        values.push_back(std::make_unique<JsonNumber>(i));
    }
    std::thread other([&] {
        values.clear();
        auto object = std::make_unique<JsonObject>();
        object->put("k", std::make_unique<JsonBoolean>(true));
    });
    other.join();
    EXPECT_TRUE(values.empty());
}

// Blocks of several slabs per size, freed in an order other than the one they
// were made in, refilled and freed again: none may overlap another or lose
// its bytes, while slabs fill, empty and go back.
TEST(RecycledMemory, ManyBlocksStayApartAsTheirSlabsFillAndEmpty) {
    for (size_t size : {8, 16, 40, 72, 128}) {
        std::vector<unsigned char*> blocks(12000);
        auto fill = [&](size_t i) {
            blocks[i] = static_cast<unsigned char*>(allocateRecycled(size));
            std::memset(blocks[i], static_cast<int>(i % 251), size);
        };
        for (size_t i = 0; i < blocks.size(); ++i) {
            fill(i);
        }
        for (size_t i = 0; i < blocks.size(); i += i % 7 == 0 ? 1 : 2) {
            freeRecycled(blocks[i], size);
            blocks[i] = nullptr;
        }
        for (size_t i = 0; i < blocks.size(); ++i) {
            if (blocks[i] == nullptr) {
                fill(i);
            }
        }
        for (size_t i = 0; i < blocks.size(); ++i) {
            for (size_t byte = 0; byte < size; ++byte) {
                ASSERT_EQ(blocks[i][byte], i % 251) << size << " " << i;
            }
            freeRecycled(blocks[i], size);
        }
    }
}
