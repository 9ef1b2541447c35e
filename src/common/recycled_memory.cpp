#include "common/recycled_memory.h"

#include <new>

#include "common/secret_string.h"

#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_RECYCLING 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_RECYCLING 0
#endif
#endif
// With MinGW's thread-local storage a worker thread parsing deeply nested
// input never finished under Wine; Windows builds use the general allocator.
#if defined(_WIN32) && !defined(VANTREL_RECYCLING)
#define VANTREL_RECYCLING 0
#endif
#ifndef VANTREL_RECYCLING
#define VANTREL_RECYCLING 1
#endif

#if VANTREL_RECYCLING

namespace {

constexpr size_t kGranule = 16;
constexpr size_t kClasses = 8;  // blocks of up to 128 bytes
// Enough for the objects of a request and its reply; a huge message's excess
// goes back to the general allocator.
constexpr size_t kKeptPerClass = 256;

struct FreeBlock {
    FreeBlock* next;
};

class FreeLists {
  public:
    ~FreeLists() {
        // Objects that static destructors delete afterwards bypass the lists.
        closed = true;
        for (FreeBlock*& head : heads) {
            while (head != nullptr) {
                FreeBlock* block = head;
                head = block->next;
                ::operator delete(block);
            }
        }
    }

    void* take(size_t sizeClass) {
        FreeBlock* block = heads[sizeClass];
        if (block == nullptr || closed) {
            return ::operator new((sizeClass + 1) * kGranule);
        }
        heads[sizeClass] = block->next;
        --counts[sizeClass];
        return block;
    }

    void give(void* memory, size_t sizeClass) {
        if (counts[sizeClass] >= kKeptPerClass || closed) {
            ::operator delete(memory);
            return;
        }
        auto* block = static_cast<FreeBlock*>(memory);
        block->next = heads[sizeClass];
        heads[sizeClass] = block;
        ++counts[sizeClass];
    }

  private:
    FreeBlock* heads[kClasses] = {};
    size_t counts[kClasses] = {};
    bool closed = false;
};

thread_local FreeLists freeLists;

size_t sizeClassOf(size_t size) {
    return (size + kGranule - 1) / kGranule - 1;
}

}  // namespace

void* allocateRecycled(size_t size) {
    if (size == 0 || size > kClasses * kGranule) {
        return ::operator new(size);
    }
    return freeLists.take(sizeClassOf(size));
}

void freeRecycled(void* block, size_t size) {
    if (block == nullptr) {
        return;
    }
    wipeMemory(block, size);
    if (size == 0 || size > kClasses * kGranule) {
        ::operator delete(block);
        return;
    }
    freeLists.give(block, sizeClassOf(size));
}

#else

void* allocateRecycled(size_t size) {
    return ::operator new(size);
}

void freeRecycled(void* block, size_t size) {
    if (block != nullptr) {
        wipeMemory(block, size);
    }
    ::operator delete(block);
}

#endif
