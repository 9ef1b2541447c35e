#include "support/process_memory.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "support/random_text.h"

namespace {

// A child process that puts bytes into its memory and waits to be looked at.
// The bytes are made in the child, reversed from what the parent chose: a
// copy the child inherited from the parent cannot be taken for them.
class PlantingChild {
  public:
    // `plant` gets the bytes to plant and returns an address for the parent
    // (`where`); it runs in the child.
    template <typename Plant>
    explicit PlantingChild(const std::string& reversed, Plant plant) {
        int ready[2];
        if (pipe(ready) != 0) {
            throw std::runtime_error("pipe");
        }
        pid = fork();
        if (pid == 0) {
            close(ready[0]);
            uintptr_t address = plant(std::string(reversed.rbegin(), reversed.rend()));
            if (write(ready[1], &address, sizeof(address)) == sizeof(address)) {
                for (;;) {
                    pause();
                }
            }
            _exit(1);
        }
        close(ready[1]);
        if (pid < 0 || read(ready[0], &where, sizeof(where)) != sizeof(where)) {
            close(ready[0]);
            throw std::runtime_error("the child did not get ready");
        }
        close(ready[0]);
    }
    ~PlantingChild() {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }

    pid_t pid = -1;
    uintptr_t where = 0;
};

}  // namespace

TEST(ProcessMemory, FindsBytesInTheMemoryOfAnotherProcess) {
    const std::string reversed = randomText(24);
    PlantingChild child(reversed, [](const std::string& bytes) {
        static char* volatile copy = new char[bytes.size()];
        std::memcpy(copy, bytes.data(), bytes.size());
        return reinterpret_cast<uintptr_t>(copy);
    });
    MemorySearch search =
        searchProcessMemory(child.pid, std::string(reversed.rbegin(), reversed.rend()));
    bool atTheCopy = false;
    for (const auto& [address, mapping] : search.found) {
        atTheCopy = atTheCopy || address == child.where;
    }
    EXPECT_TRUE(atTheCopy) << describe(search);
    EXPECT_TRUE(onlyKernelMappingsUnreadable(search)) << describe(search);
    EXPECT_GT(search.bytesRead, 1000000u);
    // Bytes the child never had.
    EXPECT_TRUE(searchProcessMemory(child.pid, randomText(24)).found.empty());
}

// Copies across every page boundary of a large mapping, so that some lie
// across the pieces in which the memory is read: each is found exactly once.
TEST(ProcessMemory, FindsEveryCopyOnceWhereverItLies) {
    const size_t pages = 768;
    const std::string reversed = randomText(16);
    PlantingChild child(reversed, [pages](const std::string& bytes) {
        const long page = sysconf(_SC_PAGESIZE);
        auto* region =
            static_cast<char*>(mmap(nullptr, static_cast<size_t>(page) * (pages + 1),
                                    PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        for (size_t i = 1; i <= pages; ++i) {
            std::memcpy(region + i * static_cast<size_t>(page) - 5, bytes.data(), bytes.size());
        }
        return reinterpret_cast<uintptr_t>(region);
    });
    MemorySearch search =
        searchProcessMemory(child.pid, std::string(reversed.rbegin(), reversed.rend()));
    // The child's own copy of the bytes lies elsewhere.
    const uintptr_t end = child.where + static_cast<uintptr_t>(sysconf(_SC_PAGESIZE)) * (pages + 1);
    size_t inRegion = 0;
    for (const auto& [address, mapping] : search.found) {
        inRegion += address >= child.where && address < end ? 1 : 0;
    }
    EXPECT_EQ(inRegion, pages) << describe(search);
}
