#include "der/byte_buffer.h"
#include "der/der_errors.h"

#include <stdexcept>

uint8_t ByteBuffer::operator[](long index) const {
    if (index < 0 || static_cast<size_t>(index) >= bytes.size()) {
        throw std::out_of_range(kByteOutsideBuffer);
    }
    return bytes[static_cast<size_t>(index)];
}
