// Memory that may hold a PIN is wiped before it is freed or used again, so
// that no copy of a PIN outlives the request that carried it: not in freed
// heap blocks, not in a buffer kept for the next message.
#pragma once

#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <vector>

// Zeroes the bytes; unlike a plain memset, never left out by the compiler
// because the memory is about to be freed.
void wipeMemory(void* data, size_t size);

// Zeroes every byte a std::string holds or has held, the unused capacity and
// the text kept inside the object itself included, and leaves it empty.
void wipeString(std::string& text);

// An allocator whose blocks are zeroed before they go back to the heap, also
// the old block when a container grows.
template <typename T>
class WipingAllocator {
  public:
    using value_type = T;

    WipingAllocator() = default;
    template <typename U>
    WipingAllocator(const WipingAllocator<U>&) {}

    T* allocate(size_t count) { return static_cast<T*>(::operator new(count * sizeof(T))); }
    void deallocate(T* block, size_t count) {
        wipeMemory(block, count * sizeof(T));
        ::operator delete(block);
    }

    template <typename U>
    bool operator==(const WipingAllocator<U>&) const {
        return true;
    }
    template <typename U>
    bool operator!=(const WipingAllocator<U>&) const {
        return false;
    }
};

// Text that is or may hold a PIN. Its bytes always live in one heap block of
// a WipingAllocator: a std::string keeps short texts inside the object, and
// moving or swapping one leaves a copy behind wherever the object was, which
// no allocator sees. Moving a SecretString hands its block over; copying,
// growing and destroying it leave nothing unwiped.
class SecretString {
  public:
    SecretString() = default;
    SecretString(const char* data, size_t size) : bytes(data, data + size) {}
    explicit SecretString(std::string_view text) : SecretString(text.data(), text.size()) {}

    // Never null, as with a std::string: empty texts point at a NUL.
    const char* data() const { return bytes.empty() ? emptyText : bytes.data(); }
    char* data() { return bytes.empty() ? emptyText : bytes.data(); }
    size_t size() const { return bytes.size(); }
    bool empty() const { return bytes.empty(); }
    char& operator[](size_t index) { return bytes[index]; }
    const char& operator[](size_t index) const { return bytes[index]; }

    // New bytes are zero.
    void resize(size_t size) { bytes.resize(size); }
    void reserve(size_t size) { bytes.reserve(size); }
    void push_back(char c) { bytes.push_back(c); }
    void append(const char* data, size_t size) { bytes.insert(bytes.end(), data, data + size); }
    // Wipes and frees the block.
    void release() { std::vector<char, WipingAllocator<char>>().swap(bytes); }

    std::string_view view() const { return std::string_view(data(), bytes.size()); }
    operator std::string_view() const { return view(); }

    friend bool operator==(const SecretString& a, std::string_view b) { return a.view() == b; }
    friend bool operator!=(const SecretString& a, std::string_view b) { return a.view() != b; }

  private:
    static inline char emptyText[1] = {'\0'};

    std::vector<char, WipingAllocator<char>> bytes;
};
