// An owned block of bytes whose indexed access refuses positions outside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class ByteBuffer {
  public:
    // `size` bytes, zero-filled; the creator fills them.
    explicit ByteBuffer(size_t size) : bytes(size) {}
    // A copy of `size` bytes at `source`.
    ByteBuffer(const uint8_t* source, size_t size) : bytes(source, source + size) {}
    explicit ByteBuffer(const std::vector<uint8_t>& source) : bytes(source) {}
    // Takes over the vector's memory without copying.
    explicit ByteBuffer(std::vector<uint8_t>&& source) : bytes(std::move(source)) {}

    // Throws std::out_of_range(kByteOutsideBuffer) outside [0, size).
    uint8_t operator[](long index) const;

    uint8_t* getData() { return bytes.data(); }
    const uint8_t* getData() const { return bytes.data(); }
    size_t getSize() const { return bytes.size(); }

  private:
    std::vector<uint8_t> bytes;
};
