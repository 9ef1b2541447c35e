#pragma once

#include <cstdint>

// Slot IDs, session handles and return codes in "%d" log lines show as their
// low 32 bits taken as signed, as the 32-bit build of the host prints them.
inline int logValue(unsigned long value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}
