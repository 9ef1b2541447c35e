// A PKCS#11 module for the Windows host tests: one slot holding one token with
// a fixed description, and C_Login answering by PIN with the codes that the host
// turns into messages. No cryptography and no objects: the tests that load it
// go no further than info, listTokens and login.
//
// The token allows one open session at a time, as small tokens do: a session
// that the host forgets to close makes the next C_OpenSession fail with
// CKR_SESSION_COUNT, which the tests see in the replies.

#define CRYPTOKI_EXPORTS
#include "token/pkcs11.h"

#include <cstring>
#include <set>
#include <string>

namespace {

const CK_SLOT_ID kSlot = 7;
const CK_ULONG kMaxSessions = 1;

struct PinAnswer {
    const char* pin;
    CK_RV rv;
};

// One PIN per code that the host maps to its own message, and one it does not map.
const PinAnswer kPinAnswers[] = {
    {"1111", CKR_OK},
    {"2222", CKR_PIN_INCORRECT},
    {"3333", CKR_PIN_INVALID},
    {"4444", CKR_PIN_LEN_RANGE},
    {"5555", CKR_PIN_EXPIRED},
    {"6666", CKR_PIN_LOCKED},
    {"7777", CKR_USER_ALREADY_LOGGED_IN},
    {"8888", CKR_USER_PIN_NOT_INITIALIZED},
    {"9999", CKR_DEVICE_ERROR},
};

bool initialized = false;
CK_SESSION_HANDLE lastSession = 0;
std::set<CK_SESSION_HANDLE> openSessions;

void padded(CK_UTF8CHAR* field, size_t width, const char* text) {
    std::memset(field, ' ', width);
    std::memcpy(field, text, std::strlen(text));
}

CK_RV C_Initialize_(CK_VOID_PTR) {
    if (initialized) {
        return CKR_CRYPTOKI_ALREADY_INITIALIZED;
    }
    initialized = true;
    return CKR_OK;
}

CK_RV C_Finalize_(CK_VOID_PTR) {
    if (!initialized) {
        return CKR_CRYPTOKI_NOT_INITIALIZED;
    }
    initialized = false;
    openSessions.clear();
    return CKR_OK;
}

CK_RV C_GetSlotList_(CK_BBOOL, CK_SLOT_ID_PTR list, CK_ULONG_PTR count) {
    if (!initialized) {
        return CKR_CRYPTOKI_NOT_INITIALIZED;
    }
    if (list != nullptr) {
        if (*count < 1) {
            *count = 1;
            return CKR_BUFFER_TOO_SMALL;
        }
        list[0] = kSlot;
    }
    *count = 1;
    return CKR_OK;
}

CK_RV C_GetTokenInfo_(CK_SLOT_ID slot, CK_TOKEN_INFO_PTR info) {
    if (!initialized) {
        return CKR_CRYPTOKI_NOT_INITIALIZED;
    }
    if (slot != kSlot) {
        return CKR_SLOT_ID_INVALID;
    }
    std::memset(info, 0, sizeof(*info));
    padded(info->label, sizeof(info->label), "Vantrel Stub Token");
    padded(info->manufacturerID, sizeof(info->manufacturerID), "Vantrel Tests");
    // A model that fills its field: the serial number must not run into it.
    padded(info->model, sizeof(info->model), "StubModel-16char");
    padded(info->serialNumber, sizeof(info->serialNumber), "5717B00C");
    info->flags = CKF_LOGIN_REQUIRED | CKF_USER_PIN_INITIALIZED | CKF_TOKEN_INITIALIZED;
    info->ulMaxSessionCount = kMaxSessions;
    info->ulSessionCount = static_cast<CK_ULONG>(openSessions.size());
    info->ulMaxRwSessionCount = kMaxSessions;
    info->ulRwSessionCount = CK_UNAVAILABLE_INFORMATION;
    info->ulMaxPinLen = CK_UNAVAILABLE_INFORMATION;
    info->ulMinPinLen = 4;
    info->ulTotalPublicMemory = CK_UNAVAILABLE_INFORMATION;
    info->ulFreePublicMemory = CK_UNAVAILABLE_INFORMATION;
    info->ulTotalPrivateMemory = CK_UNAVAILABLE_INFORMATION;
    info->ulFreePrivateMemory = CK_UNAVAILABLE_INFORMATION;
    padded(info->utcTime, sizeof(info->utcTime), "");
    return CKR_OK;
}

CK_RV C_OpenSession_(CK_SLOT_ID slot, CK_FLAGS flags, CK_VOID_PTR, CK_NOTIFY,
                     CK_SESSION_HANDLE_PTR session) {
    if (!initialized) {
        return CKR_CRYPTOKI_NOT_INITIALIZED;
    }
    if (slot != kSlot) {
        return CKR_SLOT_ID_INVALID;
    }
    if ((flags & CKF_SERIAL_SESSION) == 0) {
        return CKR_SESSION_PARALLEL_NOT_SUPPORTED;
    }
    if (openSessions.size() >= kMaxSessions) {
        return CKR_SESSION_COUNT;
    }
    *session = ++lastSession;
    openSessions.insert(*session);
    return CKR_OK;
}

CK_RV C_CloseSession_(CK_SESSION_HANDLE session) {
    return openSessions.erase(session) == 1 ? CKR_OK : CKR_SESSION_HANDLE_INVALID;
}

CK_RV C_Login_(CK_SESSION_HANDLE session, CK_USER_TYPE user, CK_UTF8CHAR_PTR pin, CK_ULONG length) {
    if (openSessions.count(session) == 0) {
        return CKR_SESSION_HANDLE_INVALID;
    }
    if (user != CKU_USER) {
        return CKR_USER_TYPE_INVALID;
    }
    std::string given(reinterpret_cast<const char*>(pin), length);
    for (const PinAnswer& answer : kPinAnswers) {
        if (given == answer.pin) {
            return answer.rv;
        }
    }
    return CKR_PIN_INCORRECT;
}

CK_RV C_Logout_(CK_SESSION_HANDLE session) {
    return openSessions.count(session) == 1 ? CKR_OK : CKR_SESSION_HANDLE_INVALID;
}

CK_FUNCTION_LIST makeFunctionList() {
    CK_FUNCTION_LIST list;
    std::memset(&list, 0, sizeof(list));
    list.version = {2, 40};
    list.C_Initialize = C_Initialize_;
    list.C_Finalize = C_Finalize_;
    list.C_GetSlotList = C_GetSlotList_;
    list.C_GetTokenInfo = C_GetTokenInfo_;
    list.C_OpenSession = C_OpenSession_;
    list.C_CloseSession = C_CloseSession_;
    list.C_Login = C_Login_;
    list.C_Logout = C_Logout_;
    return list;
}

CK_FUNCTION_LIST functionList = makeFunctionList();

}  // namespace

extern "C" CK_RV C_GetFunctionList(CK_FUNCTION_LIST_PTR_PTR list) {
    if (list == nullptr) {
        return CKR_ARGUMENTS_BAD;
    }
    *list = &functionList;
    return CKR_OK;
}
