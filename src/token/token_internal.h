// Pieces shared by the token binding's units; not for the handlers.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>
#include <vector>

#include "common/native_host_exception.h"
#include "token/log_value.h"
#include "token/pkcs11.h"

namespace token_internal {

// The loaded module's function list; raises HandlerException when there is none.
CK_FUNCTION_LIST* functions();

// A PKCS#11 code that means an error of its own to the page, and its text.
struct CodeMeaning {
    CK_RV code;
    const char* text;
};

// The gate every PKCS#11 call's result goes through: CKR_OK goes on, any other
// code raises TokenException with the code kept beside the text `meanings`
// gives that code, else beside `failure`.
void check(CK_RV rv, const char* failure, std::initializer_list<CodeMeaning> meanings = {});

// On a token whose reader has a keypad, a cancel there (CKR_FUNCTION_CANCELED)
// means kPinEntryCancelled; elsewhere the code means nothing of its own.
CodeMeaning cancelOnKeypad(bool pinPad);

// Runs `allocate`, which sizes buffers to lengths a module reported; when the
// memory cannot be had, raises TokenException(message) instead.
template <typename Allocate>
void allocateOrRaise(Allocate allocate, const char* message) {
    try {
        allocate();
    } catch (const std::exception&) {
        throw TokenException(message);
    }
}

// A search begun with C_FindObjectsInit; finalised by finish() or, with the
// result ignored, when the object goes on another path.
class ObjectSearch {
  public:
    ObjectSearch(CK_SESSION_HANDLE session, CK_ATTRIBUTE* attributes, CK_ULONG count,
                 const char* initMessage);
    ~ObjectSearch();
    ObjectSearch(const ObjectSearch&) = delete;
    ObjectSearch& operator=(const ObjectSearch&) = delete;

    // One C_FindObjects for at most one handle; `found` is false when the
    // search is exhausted.
    CK_RV next(CK_OBJECT_HANDLE& handle, bool& found);
    CK_RV finish();

  private:
    CK_SESSION_HANDLE session;
    bool finished = false;
};

// Whether a read fails when the module does not give every attribute, or
// takes the ones it withholds as absent.
enum class Unavailable { Fails, Absent };

// The two-call read of an attribute template. Entries with a value pointer are
// fixed-size and read into the caller's storage; entries without one get a
// buffer of exactly the length the token reports, owned by this object.
//
// With Unavailable::Absent, CKR_ATTRIBUTE_SENSITIVE and
// CKR_ATTRIBUTE_TYPE_INVALID count as success: PKCS#11 modules then fill every
// other attribute and give the missing ones the length
// CK_UNAVAILABLE_INFORMATION. Those are absent (length 0) and the second call
// asks only for the ones present.
class AttributeRead {
  public:
    AttributeRead(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object, CK_ATTRIBUTE* attributes,
                  CK_ULONG count, const char* lengthsMessage, const char* valuesMessage,
                  Unavailable unavailable = Unavailable::Fails);

    bool present(CK_ULONG index) const { return !absent[index]; }
    // Bytes the token wrote into entry `index` (never more than its storage).
    size_t length(CK_ULONG index) const;
    std::vector<uint8_t> bytes(CK_ULONG index) const;
    // The value of entry `index`, moving a variable entry's buffer out.
    std::vector<uint8_t> take(CK_ULONG index);

  private:
    // One C_GetAttributeValue of the entries present; marks the ones the
    // module withholds absent.
    void readPresent(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object, const char* message,
                     Unavailable unavailable);

    CK_ATTRIBUTE* attributes;
    std::vector<std::vector<uint8_t>> buffers;
    std::vector<CK_ULONG> capacities;
    std::vector<bool> absent;
};

}  // namespace token_internal
