// Reads another process's memory the way a debugger or an attacker with the
// same user's rights would: every readable mapping that /proc/<pid>/maps
// lists, through /proc/<pid>/mem. The reader must be allowed to trace the
// process (its parent is; the process must not have made itself
// undumpable).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct MemoryMapping {
    uintptr_t start = 0;
    uintptr_t end = 0;
    std::string line;  // as /proc/<pid>/maps gives it
};

struct MemorySearch {
    // Where the bytes were found, with the mapping that holds each.
    std::vector<std::pair<uintptr_t, MemoryMapping>> found;
    // Readable mappings that could not be read (the kernel's [vvar] and the
    // like), which a search must not take for empty.
    std::vector<MemoryMapping> unreadable;
    // How many bytes were looked at.
    uint64_t bytesRead = 0;
};

// Every occurrence of `bytes` (not empty) in the memory of process `pid`.
// Under AddressSanitizer the shadow memory is left out: terabytes of address
// space that record which bytes may be used and never hold any of them.
MemorySearch searchProcessMemory(pid_t pid, const std::string& bytes);

// Whether every unreadable mapping is one of the kernel's own ([vvar],
// [vsyscall], ...), which hold no data of the process.
bool onlyKernelMappingsUnreadable(const MemorySearch& search);

// A description of the places found, for a failure message.
std::string describe(const MemorySearch& search);
