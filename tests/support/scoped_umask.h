// Sets the process's file mode creation mask for the life of the object; child
// processes started meanwhile inherit it.
#pragma once

#include <sys/stat.h>

class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : previous(umask(mask)) {}
    ~ScopedUmask() { umask(previous); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

  private:
    mode_t previous;
};
