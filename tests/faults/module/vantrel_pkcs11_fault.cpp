// A PKCS#11 module that forwards to a real one (SoftHSM2 by default) and
// misbehaves on request. See tests/faults/README.md for the rule file.
#include <dlfcn.h>
#include <p11-kit/pkcs11.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/hex_digit.h"

#define FAULT_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

enum class Scope { None, Slot, Session };

// Every function of the list but C_GetFunctionList, which must always answer.
#define FAULT_FUNCTIONS(X)            \
    X(C_Initialize, None)             \
    X(C_Finalize, None)               \
    X(C_GetInfo, None)                \
    X(C_GetSlotList, None)            \
    X(C_GetSlotInfo, Slot)            \
    X(C_GetTokenInfo, Slot)           \
    X(C_GetMechanismList, Slot)       \
    X(C_GetMechanismInfo, Slot)       \
    X(C_InitToken, Slot)              \
    X(C_InitPIN, Session)             \
    X(C_SetPIN, Session)              \
    X(C_OpenSession, Slot)            \
    X(C_CloseSession, Session)        \
    X(C_CloseAllSessions, Slot)       \
    X(C_GetSessionInfo, Session)      \
    X(C_GetOperationState, Session)   \
    X(C_SetOperationState, Session)   \
    X(C_Login, Session)               \
    X(C_Logout, Session)              \
    X(C_CreateObject, Session)        \
    X(C_CopyObject, Session)          \
    X(C_DestroyObject, Session)       \
    X(C_GetObjectSize, Session)       \
    X(C_GetAttributeValue, Session)   \
    X(C_SetAttributeValue, Session)   \
    X(C_FindObjectsInit, Session)     \
    X(C_FindObjects, Session)         \
    X(C_FindObjectsFinal, Session)    \
    X(C_EncryptInit, Session)         \
    X(C_Encrypt, Session)             \
    X(C_EncryptUpdate, Session)       \
    X(C_EncryptFinal, Session)        \
    X(C_DecryptInit, Session)         \
    X(C_Decrypt, Session)             \
    X(C_DecryptUpdate, Session)       \
    X(C_DecryptFinal, Session)        \
    X(C_DigestInit, Session)          \
    X(C_Digest, Session)              \
    X(C_DigestUpdate, Session)        \
    X(C_DigestKey, Session)           \
    X(C_DigestFinal, Session)         \
    X(C_SignInit, Session)            \
    X(C_Sign, Session)                \
    X(C_SignUpdate, Session)          \
    X(C_SignFinal, Session)           \
    X(C_SignRecoverInit, Session)     \
    X(C_SignRecover, Session)         \
    X(C_VerifyInit, Session)          \
    X(C_Verify, Session)              \
    X(C_VerifyUpdate, Session)        \
    X(C_VerifyFinal, Session)         \
    X(C_VerifyRecoverInit, Session)   \
    X(C_VerifyRecover, Session)       \
    X(C_DigestEncryptUpdate, Session) \
    X(C_DecryptDigestUpdate, Session) \
    X(C_SignEncryptUpdate, Session)   \
    X(C_DecryptVerifyUpdate, Session) \
    X(C_GenerateKey, Session)         \
    X(C_GenerateKeyPair, Session)     \
    X(C_WrapKey, Session)             \
    X(C_UnwrapKey, Session)           \
    X(C_DeriveKey, Session)           \
    X(C_SeedRandom, Session)          \
    X(C_GenerateRandom, Session)      \
    X(C_GetFunctionStatus, Session)   \
    X(C_CancelFunction, Session)      \
    X(C_WaitForSlotEvent, None)

enum class Fn {
#define FAULT_ENUM(name, scope) name,
    FAULT_FUNCTIONS(FAULT_ENUM)
#undef FAULT_ENUM
        Count
};
constexpr size_t kFunctionCount = static_cast<size_t>(Fn::Count);

struct FunctionInfo {
    const char* name;
    Scope scope;
};

constexpr FunctionInfo kFunctions[] = {
#define FAULT_INFO(name, scope) {#name, Scope::scope},
    FAULT_FUNCTIONS(FAULT_INFO)
#undef FAULT_INFO
};

constexpr const FunctionInfo& info(Fn fn) {
    return kFunctions[static_cast<size_t>(fn)];
}

std::optional<Fn> functionNamed(const std::string& name) {
    for (size_t i = 0; i < kFunctionCount; ++i) {
        if (name == kFunctions[i].name) {
            return static_cast<Fn>(i);
        }
    }
    return std::nullopt;
}

// Calls whose purpose is to free state on the token. When a rule fails one of
// them, the real call still happens first: the caller sees the error, but the
// token is left as a well-behaved module would leave it.
bool releases(Fn fn) {
    return fn == Fn::C_Finalize || fn == Fn::C_CloseSession || fn == Fn::C_CloseAllSessions ||
           fn == Fn::C_FindObjectsFinal || fn == Fn::C_Logout;
}

const std::map<std::string, CK_RV>& returnCodeNames() {
#define FAULT_RC(name) \
    { #name, name }
    static const std::map<std::string, CK_RV> names = {
        FAULT_RC(CKR_OK),
        FAULT_RC(CKR_CANCEL),
        FAULT_RC(CKR_HOST_MEMORY),
        FAULT_RC(CKR_SLOT_ID_INVALID),
        FAULT_RC(CKR_GENERAL_ERROR),
        FAULT_RC(CKR_FUNCTION_FAILED),
        FAULT_RC(CKR_ARGUMENTS_BAD),
        FAULT_RC(CKR_ATTRIBUTE_READ_ONLY),
        FAULT_RC(CKR_ATTRIBUTE_SENSITIVE),
        FAULT_RC(CKR_ATTRIBUTE_TYPE_INVALID),
        FAULT_RC(CKR_ATTRIBUTE_VALUE_INVALID),
        FAULT_RC(CKR_DATA_INVALID),
        FAULT_RC(CKR_DATA_LEN_RANGE),
        FAULT_RC(CKR_DEVICE_ERROR),
        FAULT_RC(CKR_DEVICE_MEMORY),
        FAULT_RC(CKR_DEVICE_REMOVED),
        FAULT_RC(CKR_FUNCTION_CANCELED),
        FAULT_RC(CKR_FUNCTION_NOT_SUPPORTED),
        FAULT_RC(CKR_KEY_HANDLE_INVALID),
        FAULT_RC(CKR_KEY_SIZE_RANGE),
        FAULT_RC(CKR_KEY_TYPE_INCONSISTENT),
        FAULT_RC(CKR_KEY_FUNCTION_NOT_PERMITTED),
        FAULT_RC(CKR_MECHANISM_INVALID),
        FAULT_RC(CKR_MECHANISM_PARAM_INVALID),
        FAULT_RC(CKR_OBJECT_HANDLE_INVALID),
        FAULT_RC(CKR_OPERATION_ACTIVE),
        FAULT_RC(CKR_OPERATION_NOT_INITIALIZED),
        FAULT_RC(CKR_PIN_INCORRECT),
        FAULT_RC(CKR_PIN_INVALID),
        FAULT_RC(CKR_PIN_LEN_RANGE),
        FAULT_RC(CKR_PIN_EXPIRED),
        FAULT_RC(CKR_PIN_LOCKED),
        FAULT_RC(CKR_SESSION_CLOSED),
        FAULT_RC(CKR_SESSION_COUNT),
        FAULT_RC(CKR_SESSION_HANDLE_INVALID),
        FAULT_RC(CKR_SESSION_READ_ONLY),
        FAULT_RC(CKR_SESSION_EXISTS),
        FAULT_RC(CKR_SIGNATURE_INVALID),
        FAULT_RC(CKR_SIGNATURE_LEN_RANGE),
        FAULT_RC(CKR_TEMPLATE_INCOMPLETE),
        FAULT_RC(CKR_TEMPLATE_INCONSISTENT),
        FAULT_RC(CKR_TOKEN_NOT_PRESENT),
        FAULT_RC(CKR_TOKEN_NOT_RECOGNIZED),
        FAULT_RC(CKR_TOKEN_WRITE_PROTECTED),
        FAULT_RC(CKR_USER_ALREADY_LOGGED_IN),
        FAULT_RC(CKR_USER_NOT_LOGGED_IN),
        FAULT_RC(CKR_USER_PIN_NOT_INITIALIZED),
        FAULT_RC(CKR_USER_TYPE_INVALID),
        FAULT_RC(CKR_USER_ANOTHER_ALREADY_LOGGED_IN),
        FAULT_RC(CKR_BUFFER_TOO_SMALL),
        FAULT_RC(CKR_CRYPTOKI_NOT_INITIALIZED),
        FAULT_RC(CKR_CRYPTOKI_ALREADY_INITIALIZED),
        FAULT_RC(CKR_FUNCTION_REJECTED),
    };
#undef FAULT_RC
    return names;
}

// The mechanisms a rule may name; any other is given by its number.
const std::map<std::string, CK_MECHANISM_TYPE>& mechanismNames() {
#define FAULT_MECHANISM(name) \
    { #name, name }
    static const std::map<std::string, CK_MECHANISM_TYPE> names = {
        FAULT_MECHANISM(CKM_RSA_PKCS_KEY_PAIR_GEN),
        FAULT_MECHANISM(CKM_RSA_PKCS),
        FAULT_MECHANISM(CKM_RSA_X_509),
        FAULT_MECHANISM(CKM_SHA1_RSA_PKCS),
        FAULT_MECHANISM(CKM_SHA256_RSA_PKCS),
        FAULT_MECHANISM(CKM_SHA256),
        FAULT_MECHANISM(CKM_EC_KEY_PAIR_GEN),
        FAULT_MECHANISM(CKM_ECDSA),
        FAULT_MECHANISM(CKM_ECDSA_SHA256),
    };
#undef FAULT_MECHANISM
    return names;
}

// The attributes a rule may name; any other is given by its number.
const std::map<std::string, CK_ATTRIBUTE_TYPE>& attributeNames() {
#define FAULT_ATTRIBUTE(name) \
    { #name, name }
    static const std::map<std::string, CK_ATTRIBUTE_TYPE> names = {
        FAULT_ATTRIBUTE(CKA_CLASS),
        FAULT_ATTRIBUTE(CKA_TOKEN),
        FAULT_ATTRIBUTE(CKA_PRIVATE),
        FAULT_ATTRIBUTE(CKA_LABEL),
        FAULT_ATTRIBUTE(CKA_VALUE),
        FAULT_ATTRIBUTE(CKA_CERTIFICATE_TYPE),
        FAULT_ATTRIBUTE(CKA_ISSUER),
        FAULT_ATTRIBUTE(CKA_SERIAL_NUMBER),
        FAULT_ATTRIBUTE(CKA_CERTIFICATE_CATEGORY),
        FAULT_ATTRIBUTE(CKA_CHECK_VALUE),
        FAULT_ATTRIBUTE(CKA_KEY_TYPE),
        FAULT_ATTRIBUTE(CKA_SUBJECT),
        FAULT_ATTRIBUTE(CKA_ID),
        FAULT_ATTRIBUTE(CKA_SENSITIVE),
        FAULT_ATTRIBUTE(CKA_SIGN),
        FAULT_ATTRIBUTE(CKA_START_DATE),
        FAULT_ATTRIBUTE(CKA_END_DATE),
        FAULT_ATTRIBUTE(CKA_MODULUS),
        FAULT_ATTRIBUTE(CKA_PUBLIC_EXPONENT),
        FAULT_ATTRIBUTE(CKA_EXTRACTABLE),
        FAULT_ATTRIBUTE(CKA_NEVER_EXTRACTABLE),
        FAULT_ATTRIBUTE(CKA_ALWAYS_AUTHENTICATE),
        FAULT_ATTRIBUTE(CKA_EC_PARAMS),
        FAULT_ATTRIBUTE(CKA_EC_POINT),
    };
#undef FAULT_ATTRIBUTE
    return names;
}

// The token flags a rule may name; any other is given by its number.
const std::map<std::string, CK_FLAGS>& tokenFlagNames() {
#define FAULT_FLAG(name) \
    { #name, name }
    static const std::map<std::string, CK_FLAGS> names = {
        FAULT_FLAG(CKF_LOGIN_REQUIRED),
        FAULT_FLAG(CKF_USER_PIN_INITIALIZED),
        FAULT_FLAG(CKF_PROTECTED_AUTHENTICATION_PATH),
        FAULT_FLAG(CKF_TOKEN_INITIALIZED),
        FAULT_FLAG(CKF_WRITE_PROTECTED),
        FAULT_FLAG(CKF_USER_PIN_COUNT_LOW),
        FAULT_FLAG(CKF_USER_PIN_FINAL_TRY),
        FAULT_FLAG(CKF_USER_PIN_LOCKED),
        FAULT_FLAG(CKF_USER_PIN_TO_BE_CHANGED),
    };
#undef FAULT_FLAG
    return names;
}

// ---- Rules ----------------------------------------------------------------

// A "fail" rule, or a "hang" rule (which has no code).
struct FailRule {
    Fn fn = Fn::C_Initialize;
    CK_RV code = CKR_OK;
    bool hang = false;
    std::optional<CK_SLOT_ID> slot;
    unsigned long call = 0;  // 0: every call
    bool andLater = false;   // "from N" rather than "call N"
};

enum class Field { Serial, Label, Model };
enum class Source { Own, Copy, Text };

struct FieldRule {
    Field field = Field::Serial;
    Source source = Source::Own;
    CK_SLOT_ID copyFrom = 0;
    std::string text;
    unsigned char pad = ' ';
    std::optional<CK_SLOT_ID> slot;
};

struct PinRule {
    bool maximum;
    CK_ULONG value;
    std::optional<CK_SLOT_ID> slot;
};

// An attribute C_GetAttributeValue answers as unavailable, the way modules
// answer for attributes they do not have or will not reveal.
struct UnavailableRule {
    CK_ATTRIBUTE_TYPE attribute;
    CK_RV code;
    std::optional<CK_SLOT_ID> slot;
};

// A flag C_GetTokenInfo reports set ("flag") or cleared ("unflag").
struct FlagRule {
    CK_FLAGS flag;
    bool set;
    std::optional<CK_SLOT_ID> slot;
};

// A reader with a keypad: user and per-signature logins and PIN changes take
// no PIN from the caller, and the "person at the reader" types these.
struct KeypadRule {
    std::string pin;
    std::string newPin;
    std::string until;  // the entry waits until this file exists; empty: no wait
    std::optional<CK_SLOT_ID> slot;
};

// A mechanism C_GetMechanismList adds to the real module's list, or leaves out.
struct MechanismRule {
    bool offer;
    CK_MECHANISM_TYPE mechanism;
    std::optional<CK_SLOT_ID> slot;
};

struct Rules {
    std::vector<FailRule> fails;
    std::vector<FieldRule> fields;
    std::vector<PinRule> pins;
    std::vector<std::optional<CK_SLOT_ID>> hidden;
    std::vector<UnavailableRule> unavailable;
    std::vector<std::optional<CK_SLOT_ID>> emptySignatures;
    std::vector<MechanismRule> mechanisms;
    std::vector<FlagRule> flags;
    std::vector<KeypadRule> keypads;
    std::string error;  // set when the file does not parse
};

class RuleError {
  public:
    explicit RuleError(std::string text) : message(std::move(text)) {}
    std::string message;
};

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r')) {
            ++at;
        }
        if (at == line.size() || line[at] == '#') {
            break;
        }
        size_t end = at;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') {
            ++end;
        }
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

unsigned long parseNumber(const std::string& word, const char* what) {
    if (word.empty() || word[0] == '-' || word[0] == '+') {
        throw RuleError(std::string("bad ") + what + " '" + word + "'");
    }
    errno = 0;
    char* end = nullptr;
    unsigned long value = std::strtoul(word.c_str(), &end, 0);
    if (errno != 0 || *end != '\0') {
        throw RuleError(std::string("bad ") + what + " '" + word + "'");
    }
    return value;
}

template <typename Value>
Value parseNamed(const std::map<std::string, Value>& names, const std::string& word,
                 const char* what) {
    auto named = names.find(word);
    return named != names.end() ? named->second : parseNumber(word, what);
}

CK_RV parseCode(const std::string& word) {
    auto named = returnCodeNames().find(word);
    if (named != returnCodeNames().end()) {
        return named->second;
    }
    return parseNumber(word, "return code");
}

// Words cannot hold blanks, so rewritten fields spell them (and other
// awkward bytes) as escapes.
std::string unescape(const std::string& word) {
    std::string out;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '\\') {
            out += word[i];
            continue;
        }
        if (++i == word.size()) {
            throw RuleError("escape at the end of '" + word + "'");
        }
        switch (word[i]) {
            case 's':
                out += ' ';
                break;
            case 't':
                out += '\t';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 'v':
                out += '\v';
                break;
            case 'f':
                out += '\f';
                break;
            case '\\':
                out += '\\';
                break;
            case 'x': {
                int high = i + 1 < word.size() ? hexDigitValue(word[i + 1]) : -1;
                int low = i + 2 < word.size() ? hexDigitValue(word[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    throw RuleError("\\x needs two hex digits in '" + word + "'");
                }
                out += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                throw RuleError("unknown escape in '" + word + "'");
        }
    }
    return out;
}

struct Options {
    std::optional<CK_SLOT_ID> slot;
    std::optional<unsigned long> call;
    std::optional<unsigned long> from;
    std::optional<unsigned char> pad;
    std::optional<CK_RV> code;
    std::optional<std::string> newPin;
    std::optional<std::string> until;
};

// Reads "name value" pairs from `first` on; `allowed` lists the names the verb takes.
Options parseOptions(const std::vector<std::string>& words, size_t first,
                     const std::set<std::string>& allowed) {
    Options options;
    for (size_t i = first; i < words.size(); i += 2) {
        const std::string& name = words[i];
        if (allowed.count(name) == 0) {
            throw RuleError("unexpected '" + name + "'");
        }
        if (i + 1 == words.size()) {
            throw RuleError("'" + name + "' needs a value");
        }
        const std::string& value = words[i + 1];
        if (name == "slot") {
            options.slot = parseNumber(value, "slot");
        } else if (name == "call" || name == "from") {
            unsigned long n = parseNumber(value, "call number");
            if (n == 0) {
                throw RuleError("calls are counted from 1");
            }
            if (options.call || options.from) {
                throw RuleError("only one of 'call' and 'from'");
            }
            (name == "call" ? options.call : options.from) = n;
        } else if (name == "pad") {
            std::string bytes = unescape(value);
            if (bytes.size() != 1) {
                throw RuleError("pad takes one byte");
            }
            options.pad = static_cast<unsigned char>(bytes[0]);
        } else if (name == "code") {
            options.code = parseCode(value);
        } else if (name == "new") {
            options.newPin = unescape(value);
        } else if (name == "until") {
            options.until = unescape(value);
        }
    }
    return options;
}

// "fail <function> <code> ..." or "hang <function> ...".
FailRule parseCallRule(const std::vector<std::string>& words) {
    const bool hang = words[0] == "hang";
    if (words.size() < (hang ? 2u : 3u)) {
        throw RuleError(hang ? "hang needs a function" : "fail needs a function and a return code");
    }
    std::optional<Fn> fn = functionNamed(words[1]);
    if (!fn) {
        throw RuleError("unknown function '" + words[1] + "'");
    }
    FailRule rule;
    rule.fn = *fn;
    rule.hang = hang;
    if (!hang) {
        rule.code = parseCode(words[2]);
    }
    Options options = parseOptions(words, hang ? 2 : 3, {"slot", "call", "from"});
    if (options.slot && info(*fn).scope == Scope::None) {
        throw RuleError(words[1] + " has no slot");
    }
    rule.slot = options.slot;
    rule.call = options.call ? *options.call : options.from.value_or(0);
    rule.andLater = options.from.has_value();
    return rule;
}

void parseLine(const std::vector<std::string>& words, Rules& rules) {
    const std::string& verb = words[0];
    if (verb == "fail" || verb == "hang") {
        rules.fails.push_back(parseCallRule(words));
    } else if (verb == "serial" || verb == "label" || verb == "model") {
        FieldRule rule;
        rule.field = verb == "serial"  ? Field::Serial
                     : verb == "label" ? Field::Label
                                       : Field::Model;
        size_t next = 2;
        if (words.size() < 2) {
            throw RuleError(verb + " needs own, copy <slot> or text <text>");
        }
        if (words[1] == "own") {
            rule.source = Source::Own;
        } else if ((words[1] == "copy" || words[1] == "text") && words.size() >= 3) {
            if (words[1] == "copy") {
                rule.source = Source::Copy;
                rule.copyFrom = parseNumber(words[2], "slot");
            } else {
                rule.source = Source::Text;
                rule.text = unescape(words[2]);
            }
            next = 3;
        } else {
            throw RuleError(verb + " needs own, copy <slot> or text <text>");
        }
        Options options = parseOptions(words, next, {"slot", "pad"});
        rule.slot = options.slot;
        rule.pad = options.pad.value_or(' ');
        rules.fields.push_back(rule);
    } else if (verb == "maxpin" || verb == "minpin") {
        if (words.size() < 2) {
            throw RuleError(verb + " needs a length or 'unavailable'");
        }
        CK_ULONG value = words[1] == "unavailable" ? CK_UNAVAILABLE_INFORMATION
                                                   : parseNumber(words[1], "PIN length");
        Options options = parseOptions(words, 2, {"slot"});
        rules.pins.push_back({verb == "maxpin", value, options.slot});
    } else if (verb == "hide") {
        rules.hidden.push_back(parseOptions(words, 1, {"slot"}).slot);
    } else if (verb == "unavailable") {
        if (words.size() < 2) {
            throw RuleError("unavailable needs an attribute");
        }
        CK_ATTRIBUTE_TYPE attribute = parseNamed(attributeNames(), words[1], "attribute");
        Options options = parseOptions(words, 2, {"code", "slot"});
        rules.unavailable.push_back(
            {attribute, options.code.value_or(CKR_ATTRIBUTE_TYPE_INVALID), options.slot});
    } else if (verb == "signature") {
        if (words.size() < 2 || words[1] != "empty") {
            throw RuleError("signature takes 'empty'");
        }
        rules.emptySignatures.push_back(parseOptions(words, 2, {"slot"}).slot);
    } else if (verb == "offer" || verb == "withdraw") {
        if (words.size() < 2) {
            throw RuleError(verb + " needs a mechanism");
        }
        CK_MECHANISM_TYPE mechanism = parseNamed(mechanismNames(), words[1], "mechanism");
        rules.mechanisms.push_back(
            {verb == "offer", mechanism, parseOptions(words, 2, {"slot"}).slot});
    } else if (verb == "flag" || verb == "unflag") {
        if (words.size() < 2) {
            throw RuleError(verb + " needs a token flag");
        }
        CK_FLAGS flag = parseNamed(tokenFlagNames(), words[1], "token flag");
        rules.flags.push_back({flag, verb == "flag", parseOptions(words, 2, {"slot"}).slot});
    } else if (verb == "keypad") {
        if (words.size() < 2) {
            throw RuleError("keypad needs the PIN typed on it");
        }
        std::string pin = unescape(words[1]);
        Options options = parseOptions(words, 2, {"new", "until", "slot"});
        rules.keypads.push_back(
            {pin, options.newPin.value_or(pin), options.until.value_or(""), options.slot});
    } else {
        throw RuleError("unknown rule '" + verb + "'");
    }
}

Rules parseRules(const std::string& text) {
    Rules rules;
    size_t lineNumber = 0;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) {
            end = text.size();
        }
        ++lineNumber;
        std::vector<std::string> words = splitWords(text.substr(at, end - at));
        at = end + 1;
        if (words.empty()) {
            continue;
        }
        try {
            parseLine(words, rules);
        } catch (const RuleError& e) {
            rules = Rules();
            rules.error = "line " + std::to_string(lineNumber) + ": " + e.message;
            return rules;
        }
    }
    return rules;
}

// ---- Module state ---------------------------------------------------------

struct Decision {
    bool inject = false;
    CK_RV code = CKR_OK;
    bool hang = false;
};

struct Module {
    std::recursive_mutex mutex;
    CK_FUNCTION_LIST* target = nullptr;

    std::string rulesText;
    bool rulesRead = false;
    Rules rules;
    std::vector<unsigned long> ruleCounts;              // per fail rule, since the last reset
    std::array<unsigned long, kFunctionCount> calls{};  // since the last C_Initialize

    std::map<CK_SESSION_HANDLE, CK_SLOT_ID> sessions;
    std::set<CK_SESSION_HANDLE> searches;

    void refreshRules();
    Decision decide(Fn fn, std::optional<CK_SLOT_ID> slot);
    std::optional<CK_SLOT_ID> slotOfSession(CK_SESSION_HANDLE session) const;
    void writeState() const;
    void rewriteTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO* tokenInfo);
    bool hidden(CK_SLOT_ID slot) const;
    // The code a withheld attribute of this type makes C_GetAttributeValue
    // report, or none when the attribute is not withheld.
    std::optional<CK_RV> withheld(CK_ATTRIBUTE_TYPE attribute,
                                  std::optional<CK_SLOT_ID> slot) const;
    bool emptiesSignatures(std::optional<CK_SLOT_ID> slot) const;
    // The keypad of the slot's reader, or null when the caller types the PINs.
    const KeypadRule* keypad(std::optional<CK_SLOT_ID> slot) const;
    void rewriteMechanisms(CK_SLOT_ID slot, std::vector<CK_MECHANISM_TYPE>& mechanisms) const;
};

Module& module() {
    static Module instance;
    return instance;
}

std::string readRulesFile() {
    const char* path = std::getenv("VANTREL_FAULT_RULES");
    if (path == nullptr || *path == '\0') {
        return "";
    }
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return "";
    }
    std::string text;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        text.append(buffer, got);
    }
    std::fclose(file);
    return text;
}

void Module::refreshRules() {
    std::string text = readRulesFile();
    if (rulesRead && text == rulesText) {
        return;
    }
    rulesRead = true;
    rulesText = text;
    rules = parseRules(text);
    ruleCounts.assign(rules.fails.size(), 0);
    if (!rules.error.empty()) {
        const char* path = std::getenv("VANTREL_FAULT_RULES");
        std::fprintf(stderr, "vantrel fault module: %s %s; every call fails\n", path,
                     rules.error.c_str());
    }
}

Decision Module::decide(Fn fn, std::optional<CK_SLOT_ID> slot) {
    refreshRules();
    if (fn == Fn::C_Initialize) {
        calls.fill(0);
        std::fill(ruleCounts.begin(), ruleCounts.end(), 0);
    }
    ++calls[static_cast<size_t>(fn)];
    if (!rules.error.empty()) {
        return {true, CKR_GENERAL_ERROR};
    }
    Decision decision;
    for (size_t i = 0; i < rules.fails.size(); ++i) {
        const FailRule& rule = rules.fails[i];
        if (rule.fn != fn || (rule.slot && rule.slot != slot)) {
            continue;
        }
        unsigned long n = ++ruleCounts[i];
        bool fires = rule.call == 0 || n == rule.call || (rule.andLater && n > rule.call);
        if (fires && !decision.inject && !decision.hang) {
            decision = rule.hang ? Decision{false, CKR_OK, true} : Decision{true, rule.code, false};
        }
    }
    return decision;
}

std::optional<CK_SLOT_ID> Module::slotOfSession(CK_SESSION_HANDLE session) const {
    auto found = sessions.find(session);
    if (found == sessions.end()) {
        return std::nullopt;
    }
    return found->second;
}

void Module::writeState() const {
    const char* path = std::getenv("VANTREL_FAULT_STATE");
    if (path == nullptr || *path == '\0') {
        return;
    }
    std::string text = "open_sessions " + std::to_string(sessions.size()) + "\n" +
                       "active_searches " + std::to_string(searches.size()) + "\n";
    for (size_t i = 0; i < kFunctionCount; ++i) {
        if (calls[i] != 0) {
            text +=
                std::string("calls ") + kFunctions[i].name + " " + std::to_string(calls[i]) + "\n";
        }
    }
    // A reader in another process must never see half a file.
    std::string temporary = std::string(path) + ".tmp";
    FILE* file = std::fopen(temporary.c_str(), "wb");
    if (file == nullptr) {
        return;
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = std::fclose(file) == 0 && written;
    if (written) {
        std::rename(temporary.c_str(), path);
    }
}

std::string withoutTrailingBlanks(const unsigned char* field, size_t width) {
    while (width > 0 && field[width - 1] == ' ') {
        --width;
    }
    return std::string(reinterpret_cast<const char*>(field), width);
}

void Module::rewriteTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO* tokenInfo) {
    for (const FieldRule& rule : rules.fields) {
        if (rule.slot && *rule.slot != slot) {
            continue;
        }
        auto fieldOf = [&rule](CK_TOKEN_INFO& of) -> std::pair<unsigned char*, size_t> {
            switch (rule.field) {
                case Field::Serial:
                    return {of.serialNumber, sizeof of.serialNumber};
                case Field::Label:
                    return {of.label, sizeof of.label};
                case Field::Model:
                    break;
            }
            return {of.model, sizeof of.model};
        };
        auto [field, width] = fieldOf(*tokenInfo);
        std::string value;
        if (rule.source == Source::Own) {
            value = withoutTrailingBlanks(field, width);
        } else if (rule.source == Source::Text) {
            value = rule.text;
        } else {
            CK_TOKEN_INFO other;
            if (target->C_GetTokenInfo(rule.copyFrom, &other) != CKR_OK) {
                continue;
            }
            auto [otherField, otherWidth] = fieldOf(other);
            value = withoutTrailingBlanks(otherField, otherWidth);
        }
        value.resize(std::min(value.size(), width));
        std::memcpy(field, value.data(), value.size());
        std::memset(field + value.size(), rule.pad, width - value.size());
    }
    for (const PinRule& rule : rules.pins) {
        if (!rule.slot || *rule.slot == slot) {
            (rule.maximum ? tokenInfo->ulMaxPinLen : tokenInfo->ulMinPinLen) = rule.value;
        }
    }
    for (const FlagRule& rule : rules.flags) {
        if (!rule.slot || *rule.slot == slot) {
            tokenInfo->flags =
                rule.set ? (tokenInfo->flags | rule.flag) : (tokenInfo->flags & ~rule.flag);
        }
    }
}

bool Module::hidden(CK_SLOT_ID slot) const {
    for (const std::optional<CK_SLOT_ID>& rule : rules.hidden) {
        if (!rule || *rule == slot) {
            return true;
        }
    }
    return false;
}

// A call that a "hang" rule chose: it never returns, like a token that
// stopped answering, until its process is ended. A process whose parent has
// gone (a test that died, a browser that quit) ends itself instead, so that
// nothing is left waiting forever.
[[noreturn]] void hang() {
    const pid_t parent = getppid();
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (getppid() != parent) {
            _exit(1);
        }
    }
}

// Rules with a slot apply to that slot's sessions only.
bool appliesTo(const std::optional<CK_SLOT_ID>& ruleSlot, const std::optional<CK_SLOT_ID>& slot) {
    return !ruleSlot || ruleSlot == slot;
}

std::optional<CK_RV> Module::withheld(CK_ATTRIBUTE_TYPE attribute,
                                      std::optional<CK_SLOT_ID> slot) const {
    for (const UnavailableRule& rule : rules.unavailable) {
        if (rule.attribute == attribute && appliesTo(rule.slot, slot)) {
            return rule.code;
        }
    }
    return std::nullopt;
}

bool Module::emptiesSignatures(std::optional<CK_SLOT_ID> slot) const {
    for (const std::optional<CK_SLOT_ID>& rule : rules.emptySignatures) {
        if (appliesTo(rule, slot)) {
            return true;
        }
    }
    return false;
}

const KeypadRule* Module::keypad(std::optional<CK_SLOT_ID> slot) const {
    for (const KeypadRule& rule : rules.keypads) {
        if (appliesTo(rule.slot, slot)) {
            return &rule;
        }
    }
    return nullptr;
}

void Module::rewriteMechanisms(CK_SLOT_ID slot, std::vector<CK_MECHANISM_TYPE>& mechanisms) const {
    for (const MechanismRule& rule : rules.mechanisms) {
        if (!appliesTo(rule.slot, slot)) {
            continue;
        }
        mechanisms.erase(std::remove(mechanisms.begin(), mechanisms.end(), rule.mechanism),
                         mechanisms.end());
        if (rule.offer) {
            mechanisms.push_back(rule.mechanism);
        }
    }
}

// Answers a list query the PKCS#11 way: the count alone, the items, or
// CKR_BUFFER_TOO_SMALL with the count needed.
template <typename Item>
CK_RV answerList(const std::vector<Item>& items, Item* list, CK_ULONG_PTR count) {
    if (list != nullptr && *count < items.size()) {
        *count = items.size();
        return CKR_BUFFER_TOO_SMALL;
    }
    if (list != nullptr) {
        std::copy(items.begin(), items.end(), list);
    }
    *count = items.size();
    return CKR_OK;
}

// Runs one call of `fn` under the module's lock. `body` does the forwarding
// and bookkeeping; it gets the decision and returns the code to report. A
// hanging call counts and is written to the state file, and hangs without the
// lock, so that the module still answers the other threads of its process.
template <typename Body>
CK_RV run(Fn fn, std::optional<CK_SLOT_ID> slot, Body body) {
    Module& m = module();
    std::unique_lock<std::recursive_mutex> lock(m.mutex);
    CK_RV rv;
    try {
        Decision decision = m.decide(fn, slot);
        if (decision.hang) {
            m.writeState();
            lock.unlock();
            hang();
        }
        rv = body(m, decision);
    } catch (...) {
        rv = CKR_HOST_MEMORY;
    }
    m.writeState();
    return rv;
}

// The slot a session was opened on through this module, if any.
std::optional<CK_SLOT_ID> slotOfSession(CK_SESSION_HANDLE session) {
    Module& m = module();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    return m.slotOfSession(session);
}

template <typename... A>
unsigned long firstArgument(unsigned long first, A...) {
    return first;
}

// The plain forwarder: an injected failure replaces the call; a release call
// is made anyway and then reported as failed.
template <Fn F, auto Member, typename Type = decltype(Member)>
struct Forward;

template <Fn F, auto Member, typename... A>
struct Forward<F, Member, CK_RV (*CK_FUNCTION_LIST::*)(A...)> {
    static CK_RV call(A... args) {
        std::optional<CK_SLOT_ID> slot;
        if constexpr (info(F).scope == Scope::Slot) {
            slot = firstArgument(args...);
        } else if constexpr (info(F).scope == Scope::Session) {
            slot = slotOfSession(firstArgument(args...));
        }
        return run(F, slot, [&](Module& mod, Decision decision) {
            if (decision.inject && !releases(F)) {
                return decision.code;
            }
            CK_RV rv = (mod.target->*Member)(args...);
            return decision.inject ? decision.code : rv;
        });
    }
};

// ---- Functions with bookkeeping -------------------------------------------

CK_RV initialize(CK_VOID_PTR args) {
    return run(Fn::C_Initialize, std::nullopt, [&](Module& m, Decision decision) {
        return decision.inject ? decision.code : m.target->C_Initialize(args);
    });
}

CK_RV finalize(CK_VOID_PTR reserved) {
    return run(Fn::C_Finalize, std::nullopt, [&](Module& m, Decision decision) {
        CK_RV rv = m.target->C_Finalize(reserved);
        if (rv == CKR_OK) {
            m.sessions.clear();
            m.searches.clear();
        }
        return decision.inject ? decision.code : rv;
    });
}

CK_RV getSlotList(CK_BBOOL tokenPresent, CK_SLOT_ID_PTR list, CK_ULONG_PTR count) {
    return run(Fn::C_GetSlotList, std::nullopt, [&](Module& m, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        if (m.rules.hidden.empty()) {
            return m.target->C_GetSlotList(tokenPresent, list, count);
        }
        if (count == nullptr) {
            return CKR_ARGUMENTS_BAD;
        }
        std::vector<CK_SLOT_ID> slots;
        CK_RV rv;
        do {
            CK_ULONG real = 0;
            rv = m.target->C_GetSlotList(tokenPresent, nullptr, &real);
            if (rv != CKR_OK) {
                return rv;
            }
            slots.resize(real);
            rv = m.target->C_GetSlotList(tokenPresent, slots.data(), &real);
            slots.resize(std::min<size_t>(real, slots.size()));
        } while (rv == CKR_BUFFER_TOO_SMALL);
        if (rv != CKR_OK) {
            return rv;
        }
        slots.erase(std::remove_if(slots.begin(), slots.end(),
                                   [&m](CK_SLOT_ID slot) { return m.hidden(slot); }),
                    slots.end());
        return answerList(slots, list, count);
    });
}

CK_RV getMechanismList(CK_SLOT_ID slot, CK_MECHANISM_TYPE_PTR list, CK_ULONG_PTR count) {
    return run(Fn::C_GetMechanismList, slot, [&](Module& m, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        if (m.rules.mechanisms.empty()) {
            return m.target->C_GetMechanismList(slot, list, count);
        }
        if (count == nullptr) {
            return CKR_ARGUMENTS_BAD;
        }
        CK_ULONG real = 0;
        CK_RV rv = m.target->C_GetMechanismList(slot, nullptr, &real);
        std::vector<CK_MECHANISM_TYPE> mechanisms(real);
        if (rv == CKR_OK) {
            rv = m.target->C_GetMechanismList(slot, mechanisms.data(), &real);
        }
        if (rv != CKR_OK) {
            return rv;
        }
        mechanisms.resize(std::min<size_t>(real, mechanisms.size()));
        m.rewriteMechanisms(slot, mechanisms);
        return answerList(mechanisms, list, count);
    });
}

CK_RV getTokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO_PTR tokenInfo) {
    return run(Fn::C_GetTokenInfo, slot, [&](Module& m, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        CK_RV rv = m.target->C_GetTokenInfo(slot, tokenInfo);
        if (rv == CKR_OK) {
            m.rewriteTokenInfo(slot, tokenInfo);
        }
        return rv;
    });
}

CK_RV openSession(CK_SLOT_ID slot, CK_FLAGS flags, CK_VOID_PTR application, CK_NOTIFY notify,
                  CK_SESSION_HANDLE_PTR session) {
    return run(Fn::C_OpenSession, slot, [&](Module& m, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        CK_RV rv = m.target->C_OpenSession(slot, flags, application, notify, session);
        if (rv == CKR_OK) {
            m.sessions[*session] = slot;
        }
        return rv;
    });
}

CK_RV closeSession(CK_SESSION_HANDLE session) {
    return run(Fn::C_CloseSession, slotOfSession(session), [&](Module& mod, Decision decision) {
        CK_RV rv = mod.target->C_CloseSession(session);
        if (rv == CKR_OK) {
            mod.sessions.erase(session);
            mod.searches.erase(session);
        }
        return decision.inject ? decision.code : rv;
    });
}

CK_RV closeAllSessions(CK_SLOT_ID slot) {
    return run(Fn::C_CloseAllSessions, slot, [&](Module& m, Decision decision) {
        CK_RV rv = m.target->C_CloseAllSessions(slot);
        if (rv == CKR_OK) {
            for (auto it = m.sessions.begin(); it != m.sessions.end();) {
                if (it->second == slot) {
                    m.searches.erase(it->first);
                    it = m.sessions.erase(it);
                } else {
                    ++it;
                }
            }
        }
        return decision.inject ? decision.code : rv;
    });
}

CK_RV findObjectsInit(CK_SESSION_HANDLE session, CK_ATTRIBUTE_PTR templ, CK_ULONG count) {
    return run(Fn::C_FindObjectsInit, slotOfSession(session), [&](Module& mod, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        CK_RV rv = mod.target->C_FindObjectsInit(session, templ, count);
        if (rv == CKR_OK) {
            mod.searches.insert(session);
        }
        return rv;
    });
}

CK_RV findObjectsFinal(CK_SESSION_HANDLE session) {
    return run(Fn::C_FindObjectsFinal, slotOfSession(session), [&](Module& mod, Decision decision) {
        CK_RV rv = mod.target->C_FindObjectsFinal(session);
        if (rv == CKR_OK) {
            mod.searches.erase(session);
        }
        return decision.inject ? decision.code : rv;
    });
}

// "signature empty": a length query reports 0 bytes and leaves the real
// operation active, as a module does that accepted a mechanism it cannot
// perform; a call with an output buffer ends the real operation (signing
// into a scratch buffer) and reports 0 bytes written.
CK_RV emptySignature(Module& m, CK_SESSION_HANDLE session, CK_BYTE_PTR data, CK_ULONG dataLength,
                     CK_BYTE_PTR signature, CK_ULONG_PTR signatureLength) {
    if (signatureLength == nullptr) {
        return CKR_ARGUMENTS_BAD;
    }
    CK_ULONG length = 0;
    CK_RV rv = m.target->C_Sign(session, data, dataLength, nullptr, &length);
    if (rv == CKR_OK && signature != nullptr) {
        std::vector<CK_BYTE> scratch(length);
        rv = m.target->C_Sign(session, data, dataLength, scratch.data(), &length);
    }
    *signatureLength = 0;
    return rv;
}

// A failed C_Sign ends the signing operation, so a failure injected into
// either the length query or the signing itself still completes the real
// operation; otherwise the session would stay busy for the next C_SignInit.
CK_RV sign(CK_SESSION_HANDLE session, CK_BYTE_PTR data, CK_ULONG dataLength, CK_BYTE_PTR signature,
           CK_ULONG_PTR signatureLength) {
    const std::optional<CK_SLOT_ID> slot = slotOfSession(session);
    return run(Fn::C_Sign, slot, [&](Module& mod, Decision decision) {
        if (!decision.inject && mod.emptiesSignatures(slot)) {
            return emptySignature(mod, session, data, dataLength, signature, signatureLength);
        }
        if (!decision.inject) {
            return mod.target->C_Sign(session, data, dataLength, signature, signatureLength);
        }
        CK_RV rv = CKR_BUFFER_TOO_SMALL;
        if (signature != nullptr && signatureLength != nullptr) {
            rv = mod.target->C_Sign(session, data, dataLength, signature, signatureLength);
        }
        if (rv == CKR_BUFFER_TOO_SMALL) {
            CK_ULONG length = 0;
            if (mod.target->C_Sign(session, data, dataLength, nullptr, &length) == CKR_OK) {
                std::vector<CK_BYTE> scratch(length);
                mod.target->C_Sign(session, data, dataLength, scratch.data(), &length);
            }
        }
        return decision.code;
    });
}

// Withheld attributes get the length CK_UNAVAILABLE_INFORMATION and the
// rule's code, as a module reports attributes it does not have; the others
// are read from the real module, whose own failure wins.
CK_RV getAttributeValue(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object, CK_ATTRIBUTE_PTR templ,
                        CK_ULONG count) {
    Module& m = module();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    std::optional<CK_SLOT_ID> slot = m.slotOfSession(session);
    return run(Fn::C_GetAttributeValue, slot, [&](Module& mod, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        std::optional<CK_RV> code;
        std::vector<CK_ATTRIBUTE> asked;
        std::vector<CK_ULONG> positions;
        for (CK_ULONG i = 0; templ != nullptr && i < count; ++i) {
            if (std::optional<CK_RV> withheld = mod.withheld(templ[i].type, slot)) {
                code = code.value_or(*withheld);
                templ[i].ulValueLen = CK_UNAVAILABLE_INFORMATION;
            } else {
                asked.push_back(templ[i]);
                positions.push_back(i);
            }
        }
        if (!code) {
            return mod.target->C_GetAttributeValue(session, object, templ, count);
        }
        CK_RV rv = CKR_OK;
        if (!asked.empty()) {
            rv = mod.target->C_GetAttributeValue(session, object, asked.data(), asked.size());
        }
        for (size_t j = 0; j < asked.size(); ++j) {
            templ[positions[j]].ulValueLen = asked[j].ulValueLen;
        }
        return rv == CKR_OK ? *code : rv;
    });
}

// The person at a reader with a keypad takes their time: the entry waits,
// without the module's lock, until the keypad rule's file exists. A process
// whose parent has gone ends itself, as a hanging call's does.
void waitAtKeypad(CK_SESSION_HANDLE session, bool keypadEntry) {
    std::string until;
    {
        Module& m = module();
        std::lock_guard<std::recursive_mutex> lock(m.mutex);
        m.refreshRules();
        const KeypadRule* keypad = m.keypad(m.slotOfSession(session));
        if (keypad == nullptr || !keypadEntry) {
            return;
        }
        until = keypad->until;
    }
    const pid_t parent = getppid();
    while (!until.empty() && access(until.c_str(), F_OK) != 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (getppid() != parent) {
            _exit(1);
        }
    }
}

CK_UTF8CHAR_PTR utf8(const std::string& text) {
    return reinterpret_cast<CK_UTF8CHAR_PTR>(const_cast<char*>(text.data()));
}

// On a keypad's slot a user or per-signature login takes no PIN from the
// caller (the keypad's PIN is used) and refuses one that comes with a PIN; a
// security officer's login is typed, as on any token.
CK_RV login(CK_SESSION_HANDLE session, CK_USER_TYPE user, CK_UTF8CHAR_PTR pin, CK_ULONG length) {
    const bool typedAnyway = user == CKU_SO;
    waitAtKeypad(session, !typedAnyway && pin == nullptr);
    std::optional<CK_SLOT_ID> slot = slotOfSession(session);
    return run(Fn::C_Login, slot, [&](Module& mod, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        const KeypadRule* keypad = mod.keypad(slot);
        if (keypad == nullptr || typedAnyway) {
            return mod.target->C_Login(session, user, pin, length);
        }
        if (pin != nullptr || length != 0) {
            return static_cast<CK_RV>(CKR_ARGUMENTS_BAD);
        }
        return mod.target->C_Login(session, user, utf8(keypad->pin), keypad->pin.size());
    });
}

// A keypad's slot changes its PIN with both PINs typed on the reader.
CK_RV setPin(CK_SESSION_HANDLE session, CK_UTF8CHAR_PTR oldPin, CK_ULONG oldLength,
             CK_UTF8CHAR_PTR newPin, CK_ULONG newLength) {
    waitAtKeypad(session, oldPin == nullptr && newPin == nullptr);
    std::optional<CK_SLOT_ID> slot = slotOfSession(session);
    return run(Fn::C_SetPIN, slot, [&](Module& mod, Decision decision) {
        if (decision.inject) {
            return decision.code;
        }
        const KeypadRule* keypad = mod.keypad(slot);
        if (keypad == nullptr) {
            return mod.target->C_SetPIN(session, oldPin, oldLength, newPin, newLength);
        }
        if (oldPin != nullptr || newPin != nullptr || oldLength != 0 || newLength != 0) {
            return static_cast<CK_RV>(CKR_ARGUMENTS_BAD);
        }
        return mod.target->C_SetPIN(session, utf8(keypad->pin), keypad->pin.size(),
                                    utf8(keypad->newPin), keypad->newPin.size());
    });
}

CK_RV getFunctionList(CK_FUNCTION_LIST_PTR_PTR list);

#define FAULT_PLAIN(name) &Forward<Fn::name, &CK_FUNCTION_LIST::name>::call

CK_FUNCTION_LIST functionList = {
    {CRYPTOKI_VERSION_MAJOR, CRYPTOKI_VERSION_MINOR},
    initialize,
    finalize,
    FAULT_PLAIN(C_GetInfo),
    getFunctionList,
    getSlotList,
    FAULT_PLAIN(C_GetSlotInfo),
    getTokenInfo,
    getMechanismList,
    FAULT_PLAIN(C_GetMechanismInfo),
    FAULT_PLAIN(C_InitToken),
    FAULT_PLAIN(C_InitPIN),
    setPin,
    openSession,
    closeSession,
    closeAllSessions,
    FAULT_PLAIN(C_GetSessionInfo),
    FAULT_PLAIN(C_GetOperationState),
    FAULT_PLAIN(C_SetOperationState),
    login,
    FAULT_PLAIN(C_Logout),
    FAULT_PLAIN(C_CreateObject),
    FAULT_PLAIN(C_CopyObject),
    FAULT_PLAIN(C_DestroyObject),
    FAULT_PLAIN(C_GetObjectSize),
    getAttributeValue,
    FAULT_PLAIN(C_SetAttributeValue),
    findObjectsInit,
    FAULT_PLAIN(C_FindObjects),
    findObjectsFinal,
    FAULT_PLAIN(C_EncryptInit),
    FAULT_PLAIN(C_Encrypt),
    FAULT_PLAIN(C_EncryptUpdate),
    FAULT_PLAIN(C_EncryptFinal),
    FAULT_PLAIN(C_DecryptInit),
    FAULT_PLAIN(C_Decrypt),
    FAULT_PLAIN(C_DecryptUpdate),
    FAULT_PLAIN(C_DecryptFinal),
    FAULT_PLAIN(C_DigestInit),
    FAULT_PLAIN(C_Digest),
    FAULT_PLAIN(C_DigestUpdate),
    FAULT_PLAIN(C_DigestKey),
    FAULT_PLAIN(C_DigestFinal),
    FAULT_PLAIN(C_SignInit),
    sign,
    FAULT_PLAIN(C_SignUpdate),
    FAULT_PLAIN(C_SignFinal),
    FAULT_PLAIN(C_SignRecoverInit),
    FAULT_PLAIN(C_SignRecover),
    FAULT_PLAIN(C_VerifyInit),
    FAULT_PLAIN(C_Verify),
    FAULT_PLAIN(C_VerifyUpdate),
    FAULT_PLAIN(C_VerifyFinal),
    FAULT_PLAIN(C_VerifyRecoverInit),
    FAULT_PLAIN(C_VerifyRecover),
    FAULT_PLAIN(C_DigestEncryptUpdate),
    FAULT_PLAIN(C_DecryptDigestUpdate),
    FAULT_PLAIN(C_SignEncryptUpdate),
    FAULT_PLAIN(C_DecryptVerifyUpdate),
    FAULT_PLAIN(C_GenerateKey),
    FAULT_PLAIN(C_GenerateKeyPair),
    FAULT_PLAIN(C_WrapKey),
    FAULT_PLAIN(C_UnwrapKey),
    FAULT_PLAIN(C_DeriveKey),
    FAULT_PLAIN(C_SeedRandom),
    FAULT_PLAIN(C_GenerateRandom),
    FAULT_PLAIN(C_GetFunctionStatus),
    FAULT_PLAIN(C_CancelFunction),
    FAULT_PLAIN(C_WaitForSlotEvent),
};

#undef FAULT_PLAIN

CK_RV getFunctionList(CK_FUNCTION_LIST_PTR_PTR list) {
    if (list == nullptr) {
        return CKR_ARGUMENTS_BAD;
    }
    Module& m = module();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    if (m.target == nullptr) {
        const char* path = std::getenv("VANTREL_FAULT_TARGET");
        if (path == nullptr || *path == '\0') {
            path = "/usr/lib/softhsm/libsofthsm2.so";
        }
        // Never unloaded: leak reports from inside the target can then still
        // name it, and a target that keeps global state survives our unload.
        void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (handle == nullptr) {
            std::fprintf(stderr, "vantrel fault module: cannot load %s: %s\n", path, dlerror());
            return CKR_GENERAL_ERROR;
        }
        auto targetList =
            reinterpret_cast<CK_C_GetFunctionList>(dlsym(handle, "C_GetFunctionList"));
        CK_FUNCTION_LIST_PTR functions = nullptr;
        if (targetList == nullptr || targetList(&functions) != CKR_OK || functions == nullptr) {
            std::fprintf(stderr, "vantrel fault module: %s has no function list\n", path);
            dlclose(handle);
            return CKR_GENERAL_ERROR;
        }
        m.target = functions;
    }
    *list = &functionList;
    return CKR_OK;
}

}  // namespace

FAULT_EXPORT CK_RV C_GetFunctionList(CK_FUNCTION_LIST_PTR_PTR list) {
    return getFunctionList(list);
}

FAULT_EXPORT unsigned long vantrel_fault_open_sessions() {
    Module& m = module();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    return m.sessions.size();
}

FAULT_EXPORT unsigned long vantrel_fault_active_searches() {
    Module& m = module();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    return m.searches.size();
}

FAULT_EXPORT unsigned long vantrel_fault_calls(const char* function) {
    Module& m = module();
    std::lock_guard<std::recursive_mutex> lock(m.mutex);
    std::optional<Fn> fn = function != nullptr ? functionNamed(function) : std::nullopt;
    return fn ? m.calls[static_cast<size_t>(*fn)] : 0;
}
