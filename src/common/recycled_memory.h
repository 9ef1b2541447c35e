// Memory for the small objects that every message makes and drops by the
// dozen (JSON values, parse results). Freed blocks wait on a free list per
// size class for the next object of that size instead of going back to the
// general allocator, whose bookkeeping cost more than the objects' own work.
// The lists belong to the thread and are bounded, so nothing is locked and
// little is held. Under AddressSanitizer every block goes straight to the
// general allocator, which must see each one to find misuse.
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
