// Sets an environment variable for the life of the object; the previous value
// (or its absence) comes back when the object goes.
#pragma once

#include <optional>
#include <string>

class ScopedEnv {
  public:
    ScopedEnv(std::string name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name;
    std::optional<std::string> previous;
};
