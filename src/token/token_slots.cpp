#include <algorithm>

#include "common/native_host_exception.h"
#include "token/token.h"
#include "token/token_errors.h"
#include "token/token_internal.h"

using token_internal::allocateOrRaise;
using token_internal::check;
using token_internal::functions;

namespace {

// Some modules pad with NULs instead of blanks (tpm2-pkcs11's model field).
bool isPaddingSpace(CK_UTF8CHAR c) {
    return c == ' ' || (c >= '\t' && c <= '\r') || c == '\0';
}

// The low 32 bits of a PIN length bound, taken as signed: an unavailable bound
// reads -1.
int32_t pinLengthBound(CK_ULONG value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

CK_RV readTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO& info) {
    return functions()->C_GetTokenInfo(slot, &info);
}

// A read-only store (NSS's built-in roots) does not claim to be initialised
// either, yet it is in use as it stands: nothing could format it.
bool isBlank(const CK_TOKEN_INFO& info) {
    return (info.flags & (CKF_TOKEN_INITIALIZED | CKF_WRITE_PROTECTED)) == 0;
}

// A blank token is named by the empty serial, whatever its module reports
// for it (tpm2-pkcs11 gives its empty slot the serial of its tokens).
std::string serialOf(const CK_TOKEN_INFO& info) {
    return isBlank(info) ? std::string() : trimPadded(info.serialNumber, sizeof(info.serialNumber));
}

bool hasPinPad(const CK_TOKEN_INFO& info) {
    return (info.flags & CKF_PROTECTED_AUTHENTICATION_PATH) != 0;
}

// The most urgent of what the token says about wrong user PINs.
std::string userPinStateOf(const CK_TOKEN_INFO& info) {
    if ((info.flags & CKF_USER_PIN_LOCKED) != 0) {
        return "locked";
    }
    if ((info.flags & CKF_USER_PIN_FINAL_TRY) != 0) {
        return "finalTry";
    }
    if ((info.flags & CKF_USER_PIN_COUNT_LOW) != 0) {
        return "countLow";
    }
    return "";
}

}  // namespace

std::string trimPadded(const CK_UTF8CHAR* field, size_t width) {
    size_t length = width;
    while (length > 0 && isPaddingSpace(field[length - 1])) {
        --length;
    }
    return std::string(reinterpret_cast<const char*>(field), length);
}

std::vector<CK_SLOT_ID> getTokenSlots() {
    CK_ULONG count = 0;
    check(functions()->C_GetSlotList(CK_TRUE, nullptr, &count), kSlotCountUnreadable);
    std::vector<CK_SLOT_ID> slots;
    allocateOrRaise([&] { slots.resize(count); }, kSlotListMemory);
    check(functions()->C_GetSlotList(CK_TRUE, slots.data(), &count), kSlotListUnreadable);
    slots.resize(std::min<size_t>(count, slots.size()));
    return slots;
}

FoundToken findToken(const std::string& serial) {
    std::vector<FoundToken> matches;
    for (CK_SLOT_ID slot : getTokenSlots()) {
        CK_TOKEN_INFO info;
        if (readTokenInfo(slot, info) == CKR_OK && serialOf(info) == serial) {
            matches.push_back({slot, hasPinPad(info)});
        }
    }
    if (matches.empty()) {
        throw TokenException(kNoTokenWithSerial + serial);
    }
    // Any blank token will do; of two tokens sharing a serial the right one
    // cannot be told, and a PIN tried on the other would use up its tries.
    if (matches.size() > 1 && !serial.empty()) {
        throw TokenException(kSerialNotUnique + serial);
    }
    return matches.front();
}

CK_SLOT_ID findTokenSlot(const std::string& serial) {
    return findToken(serial).slot;
}

std::unique_ptr<TokenInfo> getTokenInfo(CK_SLOT_ID slot) {
    CK_TOKEN_INFO info;
    check(readTokenInfo(slot, info), kTokenInfoUnreadable);
    auto token = std::make_unique<TokenInfo>();
    token->tokenSN = serialOf(info);
    token->tokenLabel = isBlank(info) ? std::string() : trimPadded(info.label, sizeof(info.label));
    token->tokenModel = trimPadded(info.model, sizeof(info.model));
    token->pmin = pinLengthBound(info.ulMinPinLen);
    token->pmax = pinLengthBound(info.ulMaxPinLen);
    token->pinPad = hasPinPad(info);
    token->userPinState = userPinStateOf(info);
    return token;
}
