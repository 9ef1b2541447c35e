// A key that no certificate on its token claims, as the orphan-key listing
// describes it.
#pragma once

#include <string>

struct OrphanKey {
    std::string id;
    bool privateKey = false;
};
