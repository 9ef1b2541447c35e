#include "common/recycled_memory.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <new>
#include <thread>

#include "common/secret_string.h"

#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_RECYCLING 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_RECYCLING 0
#endif
#endif
// Windows builds use the general allocator: MinGW's C library has no
// aligned_alloc for the slabs.
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
// Blocks are carved from slabs of this size, aligned to it, so that a block's
// slab is found from its address alone.
constexpr size_t kSlabSize = 64 * 1024;
// Slabs with no block in use that each size class keeps for the next message;
// a huge message's other slabs go back to the general allocator as they empty.
constexpr size_t kKeptEmptySlabs = 2;

struct FreeBlock {
    FreeBlock* next;
};

// Values may be made on one thread and freed on another, but the host makes
// them on one only: a lock that costs next to nothing when free is enough.
class SpinLock {
  public:
    void lock() {
        while (taken.test_and_set(std::memory_order_acquire)) {
            std::this_thread::yield();
        }
    }
    void unlock() { taken.clear(std::memory_order_release); }

  private:
    std::atomic_flag taken = ATOMIC_FLAG_INIT;
};

// The head of a slab; its blocks follow. A slab with room is on its class's
// list: blocks freed in it, then blocks never used.
struct alignas(kGranule) Slab {
    Slab* previous;
    Slab* next;
    FreeBlock* freeBlocks;
    char* unused;
    char* end;
    size_t live;
    size_t sizeClass;
    bool listed;

    bool hasRoom() const { return freeBlocks != nullptr || unused != end; }
};

class Slabs {
  public:
    void* take(size_t sizeClass) {
        std::lock_guard<SpinLock> lock(spinLock);
        Slab* slab = withRoom[sizeClass];
        if (slab == nullptr) {
            slab = newSlab(sizeClass);
        } else if (slab->live == 0) {
            --emptySlabs[sizeClass];
        }
        void* block;
        if (slab->freeBlocks != nullptr) {
            block = slab->freeBlocks;
            slab->freeBlocks = slab->freeBlocks->next;
        } else {
            block = slab->unused;
            slab->unused += blockSize(sizeClass);
        }
        ++slab->live;
        if (!slab->hasRoom()) {
            unlink(slab);
        }
        return block;
    }

    void give(void* memory) {
        auto* slab = reinterpret_cast<Slab*>(reinterpret_cast<uintptr_t>(memory) &
                                             ~static_cast<uintptr_t>(kSlabSize - 1));
        std::lock_guard<SpinLock> lock(spinLock);
        auto* block = static_cast<FreeBlock*>(memory);
        block->next = slab->freeBlocks;
        slab->freeBlocks = block;
        if (!slab->listed) {
            link(slab);
        }
        if (--slab->live > 0) {
            return;
        }
        if (emptySlabs[slab->sizeClass] >= kKeptEmptySlabs) {
            unlink(slab);
            std::free(slab);
        } else {
            ++emptySlabs[slab->sizeClass];
        }
    }

  private:
    static size_t blockSize(size_t sizeClass) { return (sizeClass + 1) * kGranule; }

    Slab* newSlab(size_t sizeClass) {
        void* memory = std::aligned_alloc(kSlabSize, kSlabSize);
        if (memory == nullptr) {
            throw std::bad_alloc();
        }
        auto* slab = new (memory) Slab();
        slab->unused = static_cast<char*>(memory) + sizeof(Slab);
        const size_t blocks = (kSlabSize - sizeof(Slab)) / blockSize(sizeClass);
        slab->end = slab->unused + blocks * blockSize(sizeClass);
        slab->sizeClass = sizeClass;
        link(slab);
        return slab;
    }

    void link(Slab* slab) {
        Slab*& head = withRoom[slab->sizeClass];
        slab->previous = nullptr;
        slab->next = head;
        if (head != nullptr) {
            head->previous = slab;
        }
        head = slab;
        slab->listed = true;
    }

    void unlink(Slab* slab) {
        (slab->previous != nullptr ? slab->previous->next : withRoom[slab->sizeClass]) = slab->next;
        if (slab->next != nullptr) {
            slab->next->previous = slab->previous;
        }
        slab->listed = false;
    }

    SpinLock spinLock;
    Slab* withRoom[kClasses] = {};
    size_t emptySlabs[kClasses] = {};
};

// Never destroyed: objects that static destructors delete still find it.
Slabs& slabs() {
    static Slabs* const all = new Slabs();
    return *all;
}

size_t sizeClassOf(size_t size) {
    return (size + kGranule - 1) / kGranule - 1;
}

}  // namespace

void* allocateRecycled(size_t size) {
    if (size == 0 || size > kClasses * kGranule) {
        return ::operator new(size);
    }
    return slabs().take(sizeClassOf(size));
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
    slabs().give(block);
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
