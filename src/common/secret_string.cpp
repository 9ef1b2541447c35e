#include "common/secret_string.h"

#include <algorithm>
#include <cstring>
#include <utility>

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

SecretString::SecretString(const char* data, size_t size) {
    append(data, size);
}

SecretString& SecretString::operator=(const SecretString& other) {
    if (this != &other) {
        clear();
        append(other.data(), other.size());
    }
    return *this;
}

SecretString& SecretString::operator=(SecretString&& other) noexcept {
    if (this != &other) {
        release();
        takeBlock(other);
    }
    return *this;
}

void SecretString::takeBlock(SecretString& other) {
    block = std::exchange(other.block, nullptr);
    length = std::exchange(other.length, 0);
    blockSize = std::exchange(other.blockSize, 0);
}

void SecretString::reallocate(size_t size) {
    char* bigger = static_cast<char*>(::operator new(size));
    if (length > 0) {
        std::memcpy(bigger, block, length);
    }
    release();
    // release() forgot the length along with the block.
    block = bigger;
    blockSize = size;
}

void SecretString::grow(size_t needed, bool geometric) {
    if (needed > blockSize) {
        const size_t kept = length;
        reallocate(geometric ? std::max(needed, 2 * blockSize) : needed);
        length = kept;
    }
}

void SecretString::resizeForOverwrite(size_t size) {
    if (size < length) {
        wipeMemory(block + size, length - size);
    } else {
        grow(size, false);
    }
    length = size;
}

void SecretString::resize(size_t size) {
    const size_t old = length;
    resizeForOverwrite(size);
    if (size > old) {
        std::memset(block + old, 0, size - old);
    }
}

void SecretString::reserve(size_t size) {
    grow(size, false);
}

void SecretString::push_back(char c) {
    grow(length + 1, true);
    block[length++] = c;
}

void SecretString::append(const char* data, size_t size) {
    if (size == 0) {
        return;
    }
    grow(length + size, true);
    std::memcpy(block + length, data, size);
    length += size;
}

void SecretString::clear() {
    if (block != nullptr) {
        wipeMemory(block, length);
    }
    length = 0;
}

void SecretString::release() {
    if (block != nullptr) {
        wipeMemory(block, length);
        ::operator delete(block);
    }
    block = nullptr;
    length = 0;
    blockSize = 0;
}
