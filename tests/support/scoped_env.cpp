#include "support/scoped_env.h"

#include <cstdlib>
#include <stdexcept>

ScopedEnv::ScopedEnv(std::string variable, const std::string& value) : name(std::move(variable)) {
    if (const char* old = std::getenv(name.c_str())) {
        previous = old;
    }
    if (setenv(name.c_str(), value.c_str(), 1) != 0) {
        throw std::runtime_error("cannot set " + name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (previous) {
        setenv(name.c_str(), previous->c_str(), 1);
    } else {
        unsetenv(name.c_str());
    }
}
