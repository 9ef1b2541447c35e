// The mechanisms a token offers (C_GetMechanismList), read from it at the
// first question and kept: a login keeps one for its token, so its list is
// read at most once however often it signs.
#pragma once

#include <optional>
#include <vector>

#include "token/pkcs11.h"

class TokenMechanisms {
  public:
    explicit TokenMechanisms(CK_SLOT_ID slot) : slot(slot) {}

    // Raises TokenException kMechanismsUnreadable (with the
    // code) when the list cannot be read; the next question tries again.
    bool offers(CK_MECHANISM_TYPE mechanism);

  private:
    CK_SLOT_ID slot;
    std::optional<std::vector<CK_MECHANISM_TYPE>> offered;  // sorted
};
