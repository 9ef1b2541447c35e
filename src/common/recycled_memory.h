// Memory for the small objects that every message makes and drops by the
// thousand (JSON values, the nodes of objects' member maps, parse results).
// Blocks are carved from slabs per size class and a freed block waits in its
// slab for the next object of that size, instead of going through the general
// allocator, whose bookkeeping cost more than the objects' own work. A slab
// whose blocks are all free goes back to the general allocator, but for a few
// kept per size class, so little is held after a huge message. Under
// AddressSanitizer every block goes straight to the general allocator, which
// must see each one to find misuse.
#pragma once

#include <cstddef>

void* allocateRecycled(size_t size);
// The block is wiped first: the objects that live here hold parts of requests.
void freeRecycled(void* block, size_t size);

// Gives a class hierarchy recycled memory. The size that delete passes is the
// one that new was given, since the hierarchy's destructors are virtual.
#define VANTREL_RECYCLED_MEMORY                             \
    static void* operator new(size_t size) {                \
        return allocateRecycled(size);                      \
    }                                                       \
    static void operator delete(void* block, size_t size) { \
        freeRecycled(block, size);                          \
    }

// An allocator for standard containers whose nodes are small and many.
template <typename T>
struct RecycledAllocator {
    using value_type = T;

    RecycledAllocator() = default;
    template <typename U>
    RecycledAllocator(const RecycledAllocator<U>&) {}

    T* allocate(size_t count) { return static_cast<T*>(allocateRecycled(count * sizeof(T))); }
    void deallocate(T* block, size_t count) { freeRecycled(block, count * sizeof(T)); }

    template <typename U>
    bool operator==(const RecycledAllocator<U>&) const {
        return true;
    }
    template <typename U>
    bool operator!=(const RecycledAllocator<U>&) const {
        return false;
    }
};
