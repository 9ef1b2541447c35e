// Requests and replies that several process-level tests expect, written as
// the host writes them: members in order of their names, no blanks.
#pragma once

#include <string>

namespace e2e {

inline std::string loginReply(const std::string& tokenSN, const std::string& error = "") {
    return R"({"action":"login",)" + (error.empty() ? "" : R"("error":")" + error + "\",") +
           R"("tokenSN":")" + tokenSN + "\"}";
}

inline std::string changePin(const std::string& tokenSN, const std::string& oldPin,
                             const std::string& newPin) {
    return R"({"action":"changePIN","tokenSN":")" + tokenSN + R"(","oldPIN":")" + oldPin +
           R"(","newPIN":")" + newPin + "\"}";
}

inline std::string signError(const std::string& error) {
    return R"({"action":"sign","error":")" + error + "\"}";
}

// `keys` are the orphan key records, as the host lists them.
inline std::string orphanKeysReply(const std::string& tokenSN, const std::string& keys) {
    return R"({"action":"getOrphanKeys","orphanKeys":[)" + keys + R"(],"tokenSN":")" + tokenSN +
           "\"}";
}

}  // namespace e2e
