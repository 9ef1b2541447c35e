// One token as the token listing and the info reply describe it.
#pragma once

#include <cstdint>
#include <string>

struct TokenInfo {
    std::string tokenSN;
    std::string tokenLabel;
    std::string tokenModel;
    int32_t pmin = 0;
    int32_t pmax = 0;
};
