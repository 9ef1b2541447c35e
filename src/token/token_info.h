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
    // The token takes its PINs on its reader's keypad, not from the host.
    bool pinPad = false;
    // What the token says about wrong PINs: "locked", "finalTry", "countLow",
    // or empty when it says nothing.
    std::string userPinState;
};
