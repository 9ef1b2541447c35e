// Parameterised tests named by what their case is. GoogleTest lists a case
// under the name its generator gives, CTest under what its parameter prints
// as; a struct without a PrintTo prints as raw bytes ("48-byte object <0C-FD
// ...>"), unreadable in a list of failures. A case's struct has a PrintTo
// that says what the case is, and PrintedCaseName makes a test name of that.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

// Letters and digits as they are, every run of anything else one '_'.
inline std::string caseNameOf(const std::string& text) {
    std::string name;
    bool gap = false;
    for (unsigned char c : text) {
        if (std::isalnum(c)) {
            if (gap && !name.empty()) {
                name += '_';
            }
            name += static_cast<char>(c);
            gap = false;
        } else {
            gap = true;
        }
    }
    return name;
}

// The name generator of INSTANTIATE_TEST_SUITE_P.
struct PrintedCaseName {
    template <typename T>
    std::string operator()(const testing::TestParamInfo<T>& info) const {
        return caseNameOf(testing::PrintToString(info.param));
    }
};
