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
// its own: a std::string keeps short texts inside the object, and moving or
// swapping one leaves a copy behind wherever the object was, which no
// allocator sees. Moving a SecretString hands its block over; copying,
// growing, shrinking and destroying it leave nothing unwiped. No byte beyond
// size() holds anything of a text: a block's bytes past the end are zero or
// were never written.
class SecretString {
  public:
    SecretString() = default;
    SecretString(const char* data, size_t size);
    explicit SecretString(std::string_view text) : SecretString(text.data(), text.size()) {}
    SecretString(const SecretString& other) : SecretString(other.data(), other.size()) {}
    SecretString(SecretString&& other) noexcept { takeBlock(other); }
    SecretString& operator=(const SecretString& other);
    SecretString& operator=(SecretString&& other) noexcept;
    ~SecretString() { release(); }

    // Never null, as with a std::string: empty texts point at a NUL.
    const char* data() const { return block != nullptr ? block : emptyText; }
    char* data() { return block != nullptr ? block : emptyText; }
    size_t size() const { return length; }
    size_t capacity() const { return blockSize; }
    bool empty() const { return length == 0; }
    char& operator[](size_t index) { return block[index]; }
    const char& operator[](size_t index) const { return block[index]; }

    // New bytes are zero; the bytes cut off are wiped.
    void resize(size_t size);
    // Like resize, but new bytes are left for the caller to write: a message
    // buffer is overwritten anyway, and zeroing it first costs a pass over
    // the whole of it.
    void resizeForOverwrite(size_t size);
    void reserve(size_t size);
    void push_back(char c);
    void append(const char* data, size_t size);
    // Wipes the text and keeps the block for the next one.
    void clear();
    // Wipes and frees the block.
    void release();

    std::string_view view() const { return std::string_view(data(), length); }
    operator std::string_view() const { return view(); }

    friend bool operator==(const SecretString& a, std::string_view b) { return a.view() == b; }
    friend bool operator!=(const SecretString& a, std::string_view b) { return a.view() != b; }

  private:
    void takeBlock(SecretString& other);
    // Moves the text into a block of `size` bytes, wiping the old one.
    void reallocate(size_t size);
    // Appending grows the block geometrically; sizing it, to the size asked.
    void grow(size_t needed, bool geometric);

    static inline char emptyText[1] = {'\0'};

    char* block = nullptr;
    size_t length = 0;
    size_t blockSize = 0;
};
