#include "common/secret_string.h"

#include <cstring>

void wipeMemory(void* data, size_t size) {
    if (size == 0) {
        return;
    }
#if defined(__GNUC__)
    std::memset(data, 0, size);
    // The compiler must assume the zeros are read, so it keeps the memset
    // even when the block is freed right after.
    __asm__ __volatile__("" : : "r"(data) : "memory");
#else
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = 0;
    }
#endif
}

void wipeString(std::string& text) {
    // Growing to the capacity reaches the bytes beyond the end without
    // reallocating, whether they lie in the object or on the heap.
    text.resize(text.capacity());
    wipeMemory(&text[0], text.size());
    text.clear();
}
