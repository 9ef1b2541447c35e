#include "support/process_memory.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

#if defined(__SANITIZE_ADDRESS__)
#define VANTREL_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VANTREL_TEST_ASAN 1
#endif
#endif

// AddressSanitizer's shadow memory on x86_64 Linux: from the low shadow's
// start to the high shadow's end.
const uintptr_t kShadowStart = 0x00007fff8000;
const uintptr_t kShadowEnd = 0x10007fff8000;

bool isShadowMemory(const MemoryMapping& mapping) {
#ifdef VANTREL_TEST_ASAN
    return mapping.start >= kShadowStart && mapping.end <= kShadowEnd;
#else
    (void)mapping;
    return false;
#endif
}

std::vector<MemoryMapping> readableMappings(pid_t pid) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    if (!maps) {
        throw std::runtime_error("cannot read the mappings of process " + std::to_string(pid));
    }
    std::vector<MemoryMapping> mappings;
    std::string line;
    while (std::getline(maps, line)) {
        MemoryMapping mapping;
        mapping.line = line;
        char permissions[5] = {};
        unsigned long long start = 0;
        unsigned long long end = 0;
        if (std::sscanf(line.c_str(), "%llx-%llx %4s", &start, &end, permissions) != 3 ||
            permissions[0] != 'r') {
            continue;
        }
        mapping.start = start;
        mapping.end = end;
        mappings.push_back(mapping);
    }
    return mappings;
}

// Reads one mapping in pieces that overlap by the needle's length less one,
// so that an occurrence across two pieces is found once. False when the
// kernel refuses a piece.
bool searchMapping(int memory, const MemoryMapping& mapping, const std::string& bytes,
                   MemorySearch& search) {
    const size_t piece = 1 << 20;
    std::vector<char> buffer(piece + bytes.size());
    uintptr_t at = mapping.start;
    size_t carried = 0;
    while (at < mapping.end) {
        size_t wanted = std::min<uintptr_t>(piece, mapping.end - at);
        ssize_t got = pread(memory, buffer.data() + carried, wanted, static_cast<off_t>(at));
        if (got <= 0) {
            return false;
        }
        search.bytesRead += static_cast<uint64_t>(got);
        size_t filled = carried + static_cast<size_t>(got);
        const char* begin = buffer.data();
        for (const char* hit = begin;
             (hit = std::search(hit, begin + filled, bytes.begin(), bytes.end())) != begin + filled;
             ++hit) {
            search.found.emplace_back(at - carried + static_cast<size_t>(hit - begin), mapping);
        }
        carried = std::min(filled, bytes.size() - 1);
        std::memmove(buffer.data(), buffer.data() + filled - carried, carried);
        at += static_cast<uintptr_t>(got);
    }
    return true;
}

}  // namespace

MemorySearch searchProcessMemory(pid_t pid, const std::string& bytes) {
    if (bytes.empty()) {
        throw std::invalid_argument("nothing to look for");
    }
    MemorySearch search;
    std::vector<MemoryMapping> mappings = readableMappings(pid);
    std::string memoryPath = "/proc/" + std::to_string(pid) + "/mem";
    int memory = open(memoryPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (memory < 0) {
        throw std::runtime_error("cannot open " + memoryPath + ": " + std::strerror(errno));
    }
    for (const MemoryMapping& mapping : mappings) {
        if (!isShadowMemory(mapping) && !searchMapping(memory, mapping, bytes, search)) {
            search.unreadable.push_back(mapping);
        }
    }
    close(memory);
    return search;
}

bool onlyKernelMappingsUnreadable(const MemorySearch& search) {
    for (const MemoryMapping& mapping : search.unreadable) {
        if (mapping.line.find("[vvar") == std::string::npos &&
            mapping.line.find("[vsyscall]") == std::string::npos) {
            return false;
        }
    }
    return true;
}

std::string describe(const MemorySearch& search) {
    std::ostringstream text;
    text << search.found.size() << " found in " << search.bytesRead << " bytes read";
    for (const auto& [address, mapping] : search.found) {
        text << "\n  at 0x" << std::hex << address << std::dec << " in " << mapping.line;
    }
    for (const MemoryMapping& mapping : search.unreadable) {
        text << "\n  unreadable: " << mapping.line;
    }
    return text.str();
}
