// The fault-injecting module, loaded in this process over SoftHSM2.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "faults/fault_module.h"
#include "support/case_name.h"
#include "support/crypto.h"
#include "support/pkcs11_client.h"
#include "support/softhsm.h"
#include "support/temp_dir.h"

namespace {

std::string fieldText(const unsigned char* field, size_t width) {
    return std::string(reinterpret_cast<const char*>(field), width);
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
    return text;
}

class FaultModuleTest : public ::testing::Test {
  protected:
    void SetUp() override {
        client.emplace(FaultModule::path());
        p11 = client->functions();
    }

    void TearDown() override { client.reset(); }

    // The rules with {first} and {second} standing for the two tokens' slots.
    void setRules(const std::string& rules) {
        fault.setRules(replaceAll(replaceAll(rules, "{first}", std::to_string(first.slot)),
                                  "{second}", std::to_string(second.slot)));
    }

    unsigned long counter(const char* name) {
        auto function = reinterpret_cast<unsigned long (*)()>(client->symbol(name));
        return function != nullptr ? function() : 999;
    }
    unsigned long openSessions() { return counter("vantrel_fault_open_sessions"); }
    unsigned long activeSearches() { return counter("vantrel_fault_active_searches"); }

    CK_SESSION_HANDLE open(CK_SLOT_ID slot) {
        CK_SESSION_HANDLE session = CK_INVALID_HANDLE;
        EXPECT_EQ(p11->C_OpenSession(slot, CKF_SERIAL_SESSION | CKF_RW_SESSION, nullptr, nullptr,
                                     &session),
                  CKR_OK);
        return session;
    }

    CK_RV login(CK_SESSION_HANDLE session, const std::string& pin) {
        Bytes bytes = toBytes(pin);
        return p11->C_Login(session, CKU_USER, bytes.data(), bytes.size());
    }

    CK_RV findInit(CK_SESSION_HANDLE session) {
        CK_OBJECT_CLASS certificate = CKO_CERTIFICATE;
        CK_ATTRIBUTE match = {CKA_CLASS, &certificate, sizeof certificate};
        return p11->C_FindObjectsInit(session, &match, 1);
    }

    CK_RV getInfo() {
        CK_INFO info;
        return p11->C_GetInfo(&info);
    }

    CK_RV tokenInfo(CK_SLOT_ID slot, CK_TOKEN_INFO& info) {
        return p11->C_GetTokenInfo(slot, &info);
    }

    SoftHsm hsm;
    SoftHsmToken first = hsm.createToken("First", "87654321", "123456");
    SoftHsmToken second = hsm.createToken("Second", "87654321", "123456");
    FaultModule fault;
    std::optional<Pkcs11Client> client;
    CK_FUNCTION_LIST* p11 = nullptr;
};

TEST_F(FaultModuleTest, ForwardsToSoftHsm) {
    Pkcs11Client direct;
    std::vector<CK_SLOT_ID> slots = client->slots();
    EXPECT_EQ(slots, direct.slots());
    ASSERT_EQ(slots.size(), 3u);
    for (CK_SLOT_ID slot : slots) {
        CK_TOKEN_INFO viaFault = client->tokenInfo(slot);
        CK_TOKEN_INFO real = direct.tokenInfo(slot);
        EXPECT_EQ(PADDED_TEXT(viaFault.serialNumber), PADDED_TEXT(real.serialNumber));
        EXPECT_EQ(PADDED_TEXT(viaFault.label), PADDED_TEXT(real.label));
        EXPECT_EQ(viaFault.ulMaxPinLen, real.ulMaxPinLen);
    }
    EXPECT_EQ(PADDED_TEXT(client->tokenInfo(first.slot).serialNumber), first.serial);

    Pkcs11Session session = client->openSession(first.slot);
    session.login(CKU_USER, first.userPin);
    KeyPair pair = session.generateRsaKeyPair(RsaKeyOptions(toBytes("k1")));
    Bytes data = toBytes("signed through the fault module");
    Bytes signature = session.sign(pair.privateKey, data);
    EXPECT_TRUE(verifyRsaSha256(session.publicKey(pair.publicKey).get(), data, signature));
    EXPECT_EQ(session.find(CKO_PRIVATE_KEY, toBytes("k1")).size(), 1u);
}

enum class Call { Login, OpenSession, FindInit, SlotList };

struct FailCase {
    const char* rule;
    Call call;
    CK_RV expected;
};

// One line, for CTest's list: a rule may span several.
void PrintTo(const FailCase& c, std::ostream* out) {
    *out << caseNameOf(c.rule);
}

class FailAlways : public FaultModuleTest, public ::testing::WithParamInterface<FailCase> {
  protected:
    CK_RV call(CK_SESSION_HANDLE session) {
        CK_SESSION_HANDLE opened = CK_INVALID_HANDLE;
        CK_ULONG count = 0;
        switch (GetParam().call) {
            case Call::Login:
                return login(session, first.userPin);
            case Call::OpenSession:
                return p11->C_OpenSession(first.slot, CKF_SERIAL_SESSION, nullptr, nullptr,
                                          &opened);
            case Call::FindInit:
                return findInit(session);
            case Call::SlotList:
                break;
        }
        return p11->C_GetSlotList(CK_TRUE, nullptr, &count);
    }
};

TEST_P(FailAlways, ReportsTheCodeOnEveryCall) {
    CK_SESSION_HANDLE session = open(first.slot);
    setRules(GetParam().rule);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(call(session), GetParam().expected) << "call " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Codes, FailAlways,
    ::testing::Values(FailCase{"fail C_Login CKR_PIN_LOCKED", Call::Login, CKR_PIN_LOCKED},
                      FailCase{"fail C_Login 164", Call::Login, CKR_PIN_LOCKED},
                      FailCase{"fail C_Login 0xA0  # a comment", Call::Login, CKR_PIN_INCORRECT},
                      FailCase{"fail C_OpenSession CKR_TOKEN_NOT_RECOGNIZED", Call::OpenSession,
                               CKR_TOKEN_NOT_RECOGNIZED},
                      FailCase{"fail C_FindObjectsInit 0x30", Call::FindInit, CKR_DEVICE_ERROR},
                      FailCase{"# first line\n\n\tfail\tC_GetSlotList   0x80000001", Call::SlotList,
                               CKR_VENDOR_DEFINED + 1}),
    PrintedCaseName());

TEST_F(FaultModuleTest, InjectedFailuresDoNotReachTheToken) {
    setRules(
        "fail C_Login CKR_DEVICE_ERROR call 1\n"
        "fail C_OpenSession CKR_DEVICE_ERROR call 2\n"
        "fail C_CreateObject CKR_DEVICE_ERROR\n"
        "fail C_GenerateKeyPair CKR_DEVICE_ERROR\n");
    CK_SESSION_HANDLE session = open(first.slot);
    CK_SESSION_HANDLE refused = CK_INVALID_HANDLE;
    EXPECT_EQ(p11->C_OpenSession(first.slot, CKF_SERIAL_SESSION, nullptr, nullptr, &refused),
              CKR_DEVICE_ERROR);
    EXPECT_EQ(refused, CK_INVALID_HANDLE);
    EXPECT_EQ(openSessions(), 1u);

    EXPECT_EQ(login(session, first.userPin), CKR_DEVICE_ERROR);
    CK_SESSION_INFO info;
    ASSERT_EQ(p11->C_GetSessionInfo(session, &info), CKR_OK);
    EXPECT_EQ(info.state, static_cast<CK_STATE>(CKS_RW_PUBLIC_SESSION));
    ASSERT_EQ(login(session, first.userPin), CKR_OK);

    Pkcs11Session wrapped(p11, session);
    Attributes data;
    data.number(CKA_CLASS, CKO_DATA).flag(CKA_TOKEN, true).text(CKA_LABEL, "never");
    EXPECT_THROW(wrapped.create(data), Pkcs11Error);
    EXPECT_THROW(wrapped.generateRsaKeyPair(), Pkcs11Error);

    Pkcs11Client direct;
    Pkcs11Session look = direct.openSession(first.slot);
    look.login(CKU_USER, first.userPin);
    EXPECT_EQ(look.count(CKO_DATA), 0u);
    EXPECT_EQ(look.count(CKO_PRIVATE_KEY), 0u);
}

struct CountCase {
    const char* options;
    std::vector<bool> fails;  // calls 1 to 4
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << (*c.options != '\0' ? c.options : "every call");
}

class FailByCount : public FaultModuleTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(FailByCount, FailsOnlyTheChosenCalls) {
    setRules(std::string("fail C_GetInfo CKR_DEVICE_ERROR ") + GetParam().options);
    for (size_t i = 0; i < GetParam().fails.size(); ++i) {
        EXPECT_EQ(getInfo(), GetParam().fails[i] ? CKR_DEVICE_ERROR : CKR_OK) << "call " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, FailByCount,
                         ::testing::Values(CountCase{"", {true, true, true, true}},
                                           CountCase{"call 1", {true, false, false, false}},
                                           CountCase{"call 3", {false, false, true, false}},
                                           CountCase{"from 2", {false, true, true, true}},
                                           CountCase{"from 4", {false, false, false, true}}),
                         PrintedCaseName());

TEST_F(FaultModuleTest, EachRuleCountsTheCallsItSelects) {
    // The first rule fails call 2; the second counts that call too and fails
    // call 3, so a rule's count does not depend on what other rules did.
    setRules(
        "fail C_GetInfo CKR_DEVICE_ERROR call 2\n"
        "fail C_GetInfo CKR_FUNCTION_FAILED call 3\n"
        "fail C_GetInfo CKR_CANCEL call 2\n");
    EXPECT_EQ(getInfo(), CKR_OK);
    EXPECT_EQ(getInfo(), CKR_DEVICE_ERROR);
    EXPECT_EQ(getInfo(), CKR_FUNCTION_FAILED);
    EXPECT_EQ(getInfo(), CKR_OK);
}

TEST_F(FaultModuleTest, ChangedRulesApplyFromTheNextCallAndCountAfresh) {
    setRules("fail C_GetInfo CKR_DEVICE_ERROR call 2");
    EXPECT_EQ(getInfo(), CKR_OK);
    setRules("fail C_GetInfo CKR_FUNCTION_FAILED call 2");
    EXPECT_EQ(getInfo(), CKR_OK);
    EXPECT_EQ(getInfo(), CKR_FUNCTION_FAILED);
    setRules("fail C_GetInfo CKR_CANCEL");
    EXPECT_EQ(getInfo(), CKR_CANCEL);
    fault.clearRules();
    EXPECT_EQ(getInfo(), CKR_OK);
    std::remove(fault.rulesPath().c_str());
    EXPECT_EQ(getInfo(), CKR_OK);
}

TEST_F(FaultModuleTest, SettingTheSameRulesAgainCountsAfresh) {
    setRules("fail C_GetInfo CKR_DEVICE_ERROR call 2");
    EXPECT_EQ(getInfo(), CKR_OK);
    setRules("fail C_GetInfo CKR_DEVICE_ERROR call 2");
    EXPECT_EQ(getInfo(), CKR_OK);
    EXPECT_EQ(getInfo(), CKR_DEVICE_ERROR);

    // The module itself only notices a change of content.
    writeWholeFile(fault.rulesPath(), "fail C_GetInfo CKR_CANCEL call 2\n");
    EXPECT_EQ(getInfo(), CKR_OK);
    writeWholeFile(fault.rulesPath(), "fail C_GetInfo CKR_CANCEL call 2\n");
    EXPECT_EQ(getInfo(), CKR_CANCEL);
}

TEST_F(FaultModuleTest, SweepsEveryCallOfAnOperation) {
    {
        Pkcs11Client direct;
        Pkcs11Session setup = direct.openSession(first.slot);
        Attributes data;
        data.number(CKA_CLASS, CKO_DATA).flag(CKA_TOKEN, true).flag(CKA_PRIVATE, false);
        setup.create(data);
    }
    // Reports the first failure, and always finishes what it started.
    auto operation = [&]() {
        CK_SESSION_HANDLE session;
        CK_RV rv = p11->C_OpenSession(first.slot, CKF_SERIAL_SESSION, nullptr, nullptr, &session);
        if (rv != CKR_OK) {
            return rv;
        }
        CK_OBJECT_CLASS dataClass = CKO_DATA;
        CK_ATTRIBUTE match = {CKA_CLASS, &dataClass, sizeof dataClass};
        rv = p11->C_FindObjectsInit(session, &match, 1);
        if (rv == CKR_OK) {
            CK_OBJECT_HANDLE object;
            CK_ULONG found = 0;
            do {
                rv = p11->C_FindObjects(session, &object, 1, &found);
            } while (rv == CKR_OK && found > 0);
            CK_RV finalRv = p11->C_FindObjectsFinal(session);
            rv = rv != CKR_OK ? rv : finalRv;
        }
        CK_RV closeRv = p11->C_CloseSession(session);
        return rv != CKR_OK ? rv : closeRv;
    };

    FaultState before = fault.state();
    ASSERT_EQ(operation(), CKR_OK);
    std::map<std::string, unsigned long> calls = fault.state().callsSince(before);
    EXPECT_EQ(calls, (std::map<std::string, unsigned long>{{"C_CloseSession", 1},
                                                           {"C_FindObjects", 2},
                                                           {"C_FindObjectsFinal", 1},
                                                           {"C_FindObjectsInit", 1},
                                                           {"C_OpenSession", 1}}));
    for (const auto& [function, count] : calls) {
        for (unsigned long n = 1; n <= count; ++n) {
            setRules("fail " + function + " CKR_DEVICE_ERROR call " + std::to_string(n));
            EXPECT_EQ(operation(), CKR_DEVICE_ERROR) << function << " call " << n;
            FaultState after = fault.state();
            EXPECT_EQ(after.openSessions, 0u) << function << " call " << n;
            EXPECT_EQ(after.activeSearches, 0u) << function << " call " << n;
        }
    }
    fault.clearRules();
    EXPECT_EQ(operation(), CKR_OK);
}

TEST_F(FaultModuleTest, InitializeStartsTheCountAgain) {
    setRules("fail C_GetInfo CKR_DEVICE_ERROR call 2");
    EXPECT_EQ(getInfo(), CKR_OK);
    client.reset();
    client.emplace(FaultModule::path());
    p11 = client->functions();
    EXPECT_EQ(getInfo(), CKR_OK);
    EXPECT_EQ(getInfo(), CKR_DEVICE_ERROR);
    EXPECT_EQ(getInfo(), CKR_OK);
}

TEST_F(FaultModuleTest, FailedInitializeLeavesTheTargetUninitialised) {
    client.reset();
    setRules("fail C_Initialize CKR_DEVICE_ERROR");
    try {
        Pkcs11Client refused(FaultModule::path());
        ADD_FAILURE() << "C_Initialize succeeded";
    } catch (const Pkcs11Error& e) {
        EXPECT_EQ(e.rv(), CKR_DEVICE_ERROR);
    }
    fault.clearRules();
    EXPECT_NO_THROW(client.emplace(FaultModule::path()));
}

TEST_F(FaultModuleTest, SlotRulesSelectOneToken) {
    setRules(
        "fail C_GetTokenInfo CKR_DEVICE_ERROR slot {first} call 2\n"
        "fail C_FindObjectsInit CKR_FUNCTION_FAILED slot {second}\n");
    CK_TOKEN_INFO info;
    EXPECT_EQ(tokenInfo(second.slot, info), CKR_OK);
    EXPECT_EQ(tokenInfo(first.slot, info), CKR_OK);
    EXPECT_EQ(tokenInfo(second.slot, info), CKR_OK);
    EXPECT_EQ(tokenInfo(first.slot, info), CKR_DEVICE_ERROR);
    EXPECT_EQ(tokenInfo(first.slot, info), CKR_OK);

    // Session functions follow the slot their session was opened on.
    CK_SESSION_HANDLE onFirst = open(first.slot);
    CK_SESSION_HANDLE onSecond = open(second.slot);
    EXPECT_EQ(findInit(onSecond), CKR_FUNCTION_FAILED);
    EXPECT_EQ(findInit(onFirst), CKR_OK);
    EXPECT_EQ(p11->C_FindObjectsFinal(onFirst), CKR_OK);
}

// Makes sure the checks below can fail: SoftHSM2 itself notices each kind of
// state left behind.
TEST_F(FaultModuleTest, SoftHsmNoticesLeftoverState) {
    CK_SESSION_HANDLE session = open(first.slot);
    ASSERT_EQ(findInit(session), CKR_OK);
    EXPECT_EQ(findInit(session), CKR_OPERATION_ACTIVE);
    ASSERT_EQ(login(session, first.userPin), CKR_OK);
    EXPECT_EQ(login(session, first.userPin), CKR_USER_ALREADY_LOGGED_IN);
    EXPECT_EQ(p11->C_Initialize(nullptr), CKR_CRYPTOKI_ALREADY_INITIALIZED);

    Pkcs11Session wrapped(p11, session);
    p11->C_FindObjectsFinal(session);
    KeyPair pair = wrapped.generateRsaKeyPair();
    CK_MECHANISM mechanism = {CKM_SHA256_RSA_PKCS, nullptr, 0};
    ASSERT_EQ(p11->C_SignInit(session, &mechanism, pair.privateKey), CKR_OK);
    EXPECT_EQ(p11->C_SignInit(session, &mechanism, pair.privateKey), CKR_OPERATION_ACTIVE);
}

struct ReleaseCase {
    const char* name;
    const char* rule;
};

void PrintTo(const ReleaseCase& c, std::ostream* out) {
    *out << c.name;
}

class ReleaseCall : public FaultModuleTest, public ::testing::WithParamInterface<ReleaseCase> {};

TEST_P(ReleaseCall, ReleasesForRealAndReportsTheCode) {
    std::string name = GetParam().name;
    CK_SESSION_HANDLE session = open(first.slot);
    CK_SESSION_HANDLE other = open(first.slot);
    ASSERT_EQ(login(session, first.userPin), CKR_OK);
    ASSERT_EQ(findInit(session), CKR_OK);
    setRules(GetParam().rule);

    CK_SESSION_INFO info;
    if (name == "C_CloseSession") {
        EXPECT_EQ(p11->C_CloseSession(session), CKR_DEVICE_ERROR);
        EXPECT_EQ(p11->C_GetSessionInfo(session, &info), CKR_SESSION_HANDLE_INVALID);
        EXPECT_EQ(openSessions(), 1u);
        EXPECT_EQ(activeSearches(), 0u);
    } else if (name == "C_CloseAllSessions") {
        EXPECT_EQ(p11->C_CloseAllSessions(first.slot), CKR_DEVICE_ERROR);
        EXPECT_EQ(p11->C_GetSessionInfo(other, &info), CKR_SESSION_HANDLE_INVALID);
        EXPECT_EQ(openSessions(), 0u);
        EXPECT_EQ(activeSearches(), 0u);
    } else if (name == "C_FindObjectsFinal") {
        EXPECT_EQ(p11->C_FindObjectsFinal(session), CKR_DEVICE_ERROR);
        EXPECT_EQ(activeSearches(), 0u);
        fault.clearRules();
        EXPECT_EQ(findInit(session), CKR_OK);
        EXPECT_EQ(p11->C_FindObjectsFinal(session), CKR_OK);
    } else if (name == "C_Logout") {
        EXPECT_EQ(p11->C_Logout(session), CKR_DEVICE_ERROR);
        ASSERT_EQ(p11->C_GetSessionInfo(session, &info), CKR_OK);
        EXPECT_EQ(info.state, static_cast<CK_STATE>(CKS_RW_PUBLIC_SESSION));
        EXPECT_EQ(login(session, first.userPin), CKR_OK);
    } else if (name == "C_Finalize") {
        EXPECT_EQ(p11->C_Finalize(nullptr), CKR_DEVICE_ERROR);
        EXPECT_EQ(openSessions(), 0u);
        EXPECT_EQ(activeSearches(), 0u);
        EXPECT_EQ(p11->C_Initialize(nullptr), CKR_OK);
    } else {
        FAIL() << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Calls, ReleaseCall,
    ::testing::Values(ReleaseCase{"C_CloseSession", "fail C_CloseSession CKR_DEVICE_ERROR"},
                      ReleaseCase{"C_CloseAllSessions", "fail C_CloseAllSessions 0x30"},
                      ReleaseCase{"C_FindObjectsFinal", "fail C_FindObjectsFinal 0x30 call 1"},
                      ReleaseCase{"C_Logout", "fail C_Logout CKR_DEVICE_ERROR"},
                      ReleaseCase{"C_Finalize", "fail C_Finalize CKR_DEVICE_ERROR"}),
    PrintedCaseName());

class FailedSign : public FaultModuleTest, public ::testing::WithParamInterface<unsigned long> {};

TEST_P(FailedSign, LeavesNoSigningOperation) {
    unsigned long failing = GetParam();
    Pkcs11Session session = client->openSession(first.slot);
    session.login(CKU_USER, first.userPin);
    KeyPair pair = session.generateRsaKeyPair();
    setRules("fail C_Sign CKR_DEVICE_ERROR call " + std::to_string(failing));

    CK_MECHANISM mechanism = {CKM_SHA256_RSA_PKCS, nullptr, 0};
    Bytes data = toBytes("payload");
    ASSERT_EQ(p11->C_SignInit(session.handle(), &mechanism, pair.privateKey), CKR_OK);
    CK_ULONG length = 0;
    CK_RV rv = p11->C_Sign(session.handle(), data.data(), data.size(), nullptr, &length);
    if (failing == 1) {
        EXPECT_EQ(rv, CKR_DEVICE_ERROR);
    } else {
        ASSERT_EQ(rv, CKR_OK);
        ASSERT_EQ(length, 256u);
        Bytes signature(length);
        EXPECT_EQ(
            p11->C_Sign(session.handle(), data.data(), data.size(), signature.data(), &length),
            CKR_DEVICE_ERROR);
    }

    fault.clearRules();
    Bytes signature = session.sign(pair.privateKey, data);
    EXPECT_TRUE(verifyRsaSha256(session.publicKey(pair.publicKey).get(), data, signature));
}

INSTANTIATE_TEST_SUITE_P(LengthQueryAndSignature, FailedSign, ::testing::Values(1ul, 2ul));

// A module that accepted a mechanism it cannot perform: the length query
// reports nothing to sign into, yet the operation stays active until a
// C_Sign with an output buffer.
TEST_F(FaultModuleTest, EmptySignaturesLeaveTheOperationActiveUntilACallWithABuffer) {
    Pkcs11Session session = client->openSession(first.slot);
    session.login(CKU_USER, first.userPin);
    KeyPair pair = session.generateRsaKeyPair(RsaKeyOptions(toBytes("k"), 1024));
    CK_MECHANISM mechanism = {CKM_SHA256_RSA_PKCS, nullptr, 0};
    Bytes data = toBytes("payload");
    setRules("signature empty slot {second}");
    EXPECT_EQ(session.sign(pair.privateKey, data).size(), 128u) << "another slot's rule";

    setRules("signature empty");
    ASSERT_EQ(p11->C_SignInit(session.handle(), &mechanism, pair.privateKey), CKR_OK);
    CK_ULONG length = 99;
    EXPECT_EQ(p11->C_Sign(session.handle(), data.data(), data.size(), nullptr, &length), CKR_OK);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(p11->C_SignInit(session.handle(), &mechanism, pair.privateKey), CKR_OPERATION_ACTIVE);
    Bytes scratch(1);
    length = 0;
    EXPECT_EQ(p11->C_Sign(session.handle(), data.data(), data.size(), scratch.data(), &length),
              CKR_OK);
    EXPECT_EQ(length, 0u);

    fault.clearRules();
    EXPECT_TRUE(verifyRsaSha256(session.publicKey(pair.publicKey).get(), data,
                                session.sign(pair.privateKey, data)));
}

// Smart cards and certificate stores withhold attributes: the length
// CK_UNAVAILABLE_INFORMATION and CKR_ATTRIBUTE_TYPE_INVALID (or the rule's
// code), every other attribute still read.
TEST_F(FaultModuleTest, WithheldAttributesAreUnavailableAndTheOthersRead) {
    Pkcs11Session session = client->openSession(first.slot);
    session.login(CKU_USER, first.userPin);
    KeyPair pair = session.generateRsaKeyPair(RsaKeyOptions(toBytes("key-id"), 1024));
    CK_KEY_TYPE keyType = 99;
    CK_BYTE id[6] = {};
    CK_ATTRIBUTE attributes[] = {
        {CKA_KEY_TYPE, &keyType, sizeof keyType}, {CKA_ID, id, sizeof id}, {CKA_LABEL, nullptr, 0}};
    auto read = [&] {
        return p11->C_GetAttributeValue(session.handle(), pair.privateKey, attributes, 3);
    };
    struct Case {
        const char* rules;
        CK_RV rv;
        bool keyTypeRead, idRead;
    };
    const Case cases[] = {
        {"unavailable CKA_KEY_TYPE", CKR_ATTRIBUTE_TYPE_INVALID, false, true},
        {"unavailable 0x3 code CKR_ATTRIBUTE_SENSITIVE", CKR_ATTRIBUTE_SENSITIVE, true, true},
        {"unavailable CKA_ID slot {first}\nunavailable CKA_KEY_TYPE slot {second}",
         CKR_ATTRIBUTE_TYPE_INVALID, true, false},
        {"unavailable CKA_ID slot {second}", CKR_OK, true, true},
        {"unavailable CKA_ID\nunavailable CKA_KEY_TYPE\nunavailable CKA_LABEL",
         CKR_ATTRIBUTE_TYPE_INVALID, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules);
        keyType = 99;
        attributes[0].ulValueLen = sizeof keyType;
        attributes[1].ulValueLen = sizeof id;
        attributes[2].ulValueLen = 0;
        setRules(c.rules);
        EXPECT_EQ(read(), c.rv);
        EXPECT_EQ(attributes[0].ulValueLen,
                  c.keyTypeRead ? sizeof keyType : CK_UNAVAILABLE_INFORMATION);
        EXPECT_EQ(keyType, c.keyTypeRead ? CKK_RSA : 99u);
        EXPECT_EQ(attributes[1].ulValueLen, c.idRead ? sizeof id : CK_UNAVAILABLE_INFORMATION);
    }
    // What a real module answers wins over the rule's code.
    setRules("unavailable CKA_LABEL");
    CK_BYTE small[1];
    attributes[1] = {CKA_ID, small, sizeof small};
    EXPECT_EQ(read(), CKR_BUFFER_TOO_SMALL);
}

TEST_F(FaultModuleTest, OffersAndWithdrawsMechanisms) {
    std::vector<CK_MECHANISM_TYPE> real = client->mechanisms(first.slot);
    auto has = [](const std::vector<CK_MECHANISM_TYPE>& list, CK_MECHANISM_TYPE mechanism) {
        return std::find(list.begin(), list.end(), mechanism) != list.end();
    };
    ASSERT_TRUE(has(real, CKM_SHA256_RSA_PKCS));
    ASSERT_FALSE(has(real, CKM_ECDSA_SHA256));

    setRules("withdraw CKM_SHA256_RSA_PKCS\noffer CKM_ECDSA_SHA256 slot {first}\noffer 0x8001");
    std::vector<CK_MECHANISM_TYPE> changed = client->mechanisms(first.slot);
    EXPECT_EQ(changed.size(), real.size() + 1);
    EXPECT_FALSE(has(changed, CKM_SHA256_RSA_PKCS));
    EXPECT_TRUE(has(changed, CKM_ECDSA_SHA256));
    EXPECT_TRUE(has(changed, 0x8001));
    EXPECT_FALSE(has(client->mechanisms(second.slot), CKM_ECDSA_SHA256));

    CK_MECHANISM_TYPE one[1];
    CK_ULONG count = 1;
    EXPECT_EQ(p11->C_GetMechanismList(first.slot, one, &count), CKR_BUFFER_TOO_SMALL);
    EXPECT_EQ(count, changed.size());
    setRules("fail C_GetMechanismList CKR_DEVICE_ERROR\nwithdraw CKM_RSA_PKCS");
    EXPECT_EQ(p11->C_GetMechanismList(first.slot, nullptr, &count), CKR_DEVICE_ERROR);
}

TEST_F(FaultModuleTest, SetsAndClearsTokenFlags) {
    const CK_FLAGS real = client->tokenInfo(first.slot).flags;
    const CK_FLAGS realSecond = client->tokenInfo(second.slot).flags;
    ASSERT_NE(real & CKF_TOKEN_INITIALIZED, 0u);
    ASSERT_EQ(real & (CKF_PROTECTED_AUTHENTICATION_PATH | CKF_USER_PIN_FINAL_TRY), 0u);
    setRules(
        "flag CKF_PROTECTED_AUTHENTICATION_PATH slot {first}\nflag 0x20000\n"
        "unflag CKF_TOKEN_INITIALIZED slot {second}");
    EXPECT_EQ(client->tokenInfo(first.slot).flags,
              real | CKF_PROTECTED_AUTHENTICATION_PATH | CKF_USER_PIN_FINAL_TRY);
    EXPECT_EQ(
        client->tokenInfo(second.slot).flags,
        (realSecond | CKF_USER_PIN_FINAL_TRY) & ~static_cast<CK_FLAGS>(CKF_TOKEN_INITIALIZED));
}

// The reader's keypad: logins and PIN changes without a PIN use the keypad's
// PIN; with one they are refused; the security officer types as ever.
TEST_F(FaultModuleTest, AKeypadTakesOnlyLoginsWithoutAPin) {
    setRules("keypad " + first.userPin + " new 24680 slot {first}");
    CK_SESSION_HANDLE session = open(first.slot);
    EXPECT_EQ(login(session, first.userPin), CKR_ARGUMENTS_BAD);
    EXPECT_EQ(p11->C_Login(session, CKU_USER, nullptr, 0), CKR_OK);
    EXPECT_EQ(p11->C_Logout(session), CKR_OK);
    Bytes soPin = toBytes(first.soPin);
    EXPECT_EQ(p11->C_Login(session, CKU_SO, soPin.data(), soPin.size()), CKR_OK);
    EXPECT_EQ(p11->C_Logout(session), CKR_OK);

    Bytes typed = toBytes("1111");
    EXPECT_EQ(p11->C_SetPIN(session, typed.data(), typed.size(), typed.data(), typed.size()),
              CKR_ARGUMENTS_BAD);
    EXPECT_EQ(p11->C_SetPIN(session, nullptr, 0, nullptr, 0), CKR_OK);
    EXPECT_EQ(p11->C_CloseSession(session), CKR_OK);
    Pkcs11Client direct;
    EXPECT_NO_THROW(direct.openSession(first.slot).login(CKU_USER, "24680"));

    // What the reader answers besides is a rule's; the other token types as ever.
    setRules("keypad 24680 slot {first}\nfail C_Login CKR_FUNCTION_CANCELED slot {first}");
    session = open(first.slot);
    EXPECT_EQ(p11->C_Login(session, CKU_USER, nullptr, 0), CKR_FUNCTION_CANCELED);
    EXPECT_EQ(login(open(second.slot), second.userPin), CKR_OK);
}

// A keypad entry with "until" waits for its file, however long the person takes.
TEST_F(FaultModuleTest, AKeypadEntryWaitsForItsFile) {
    TempDir folder;
    const std::string typed = folder.file("typed");
    setRules("keypad " + first.userPin + " until " + typed + " slot {first}");
    CK_SESSION_HANDLE session = open(first.slot);
    std::atomic<bool> done{false};
    CK_RV rv = CKR_GENERAL_ERROR;
    std::thread entry([&] {
        rv = p11->C_Login(session, CKU_USER, nullptr, 0);
        done = true;
    });
    // Meanwhile the module still answers (the entry does not hold its lock).
    CK_TOKEN_INFO info;
    EXPECT_EQ(tokenInfo(second.slot, info), CKR_OK);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done) << "the entry did not wait";
    std::fclose(std::fopen(typed.c_str(), "w"));
    entry.join();
    EXPECT_EQ(rv, CKR_OK);
}

TEST_F(FaultModuleTest, PinLengthRules) {
    setRules("maxpin unavailable");
    EXPECT_EQ(client->tokenInfo(first.slot).ulMaxPinLen, CK_UNAVAILABLE_INFORMATION);
    EXPECT_EQ(client->tokenInfo(first.slot).ulMinPinLen, 4u);

    setRules("minpin 6\nmaxpin 8 slot {first}\nminpin unavailable slot {second}");
    EXPECT_EQ(client->tokenInfo(first.slot).ulMinPinLen, 6u);
    EXPECT_EQ(client->tokenInfo(first.slot).ulMaxPinLen, 8u);
    EXPECT_EQ(client->tokenInfo(second.slot).ulMinPinLen, CK_UNAVAILABLE_INFORMATION);
    EXPECT_EQ(client->tokenInfo(second.slot).ulMaxPinLen, 255u);
}

enum class Field { Serial, Label, Model };

struct TextCase {
    const char* rules;
    Field field;
    const char* text;  // the field's text before the padding; null: unchanged
    char pad;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << c.rules;
}

class TextRewrite : public FaultModuleTest, public ::testing::WithParamInterface<TextCase> {};

TEST_P(TextRewrite, RewritesOneFieldOfTheFirstToken) {
    CK_TOKEN_INFO before = client->tokenInfo(first.slot);
    setRules(GetParam().rules);
    CK_TOKEN_INFO after = client->tokenInfo(first.slot);
    struct Shown {
        Field field;
        const unsigned char* before;
        const unsigned char* after;
        size_t width;
    };
    for (const Shown& shown : {Shown{Field::Serial, before.serialNumber, after.serialNumber, 16},
                               Shown{Field::Label, before.label, after.label, 32},
                               Shown{Field::Model, before.model, after.model, 16}}) {
        std::string expected = fieldText(shown.before, shown.width);
        if (shown.field == GetParam().field && GetParam().text != nullptr) {
            expected = GetParam().text;
            expected.resize(shown.width, GetParam().pad);
        }
        EXPECT_EQ(fieldText(shown.after, shown.width), expected);
    }
    EXPECT_EQ(after.flags, before.flags);
    EXPECT_EQ(after.ulMaxPinLen, before.ulMaxPinLen);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TextRewrite,
    ::testing::Values(TextCase{"serial text ABC pad \\t slot {first}", Field::Serial, "ABC", '\t'},
                      TextCase{"serial text A\\sB\\n slot {first}", Field::Serial, "A B\n", ' '},
                      TextCase{"serial text 0123456789abcdefXYZ slot {first}", Field::Serial,
                               "0123456789abcdef", ' '},
                      TextCase{"serial text AB slot {first}\nserial own pad \\x09 slot {first}",
                               Field::Serial, "AB", '\t'},
                      TextCase{"serial text X slot {second}", Field::Serial, nullptr, ' '},
                      TextCase{"label text \\s slot {first}", Field::Label, "", ' '},
                      TextCase{"label text Lab\\xE9 slot {first}", Field::Label, "Lab\xE9", ' '},
                      TextCase{"model text 0123456789ABCDEF slot {first}", Field::Model,
                               "0123456789ABCDEF", ' '},
                      TextCase{"model text v\\s2 pad \\n", Field::Model, "v 2", '\n'}),
    PrintedCaseName());

TEST_F(FaultModuleTest, CopiesOneTokensSerialToAnother) {
    setRules("serial copy {second} slot {first}");
    EXPECT_EQ(PADDED_TEXT(client->tokenInfo(first.slot).serialNumber), second.serial);
    EXPECT_EQ(PADDED_TEXT(client->tokenInfo(second.slot).serialNumber), second.serial);
    EXPECT_EQ(PADDED_TEXT(client->tokenInfo(first.slot).label), "First");

    setRules("serial own pad \\t");  // SoftHSM2 serials fill all 16 bytes
    EXPECT_EQ(PADDED_TEXT(client->tokenInfo(first.slot).serialNumber), first.serial);
}

TEST_F(FaultModuleTest, HidesSlots) {
    std::vector<CK_SLOT_ID> all = client->slots();
    setRules("hide slot {first}");
    std::vector<CK_SLOT_ID> expected;
    for (CK_SLOT_ID slot : all) {
        if (slot != first.slot) {
            expected.push_back(slot);
        }
    }
    EXPECT_EQ(client->slots(), expected);

    CK_SLOT_ID one[1];
    CK_ULONG count = 1;
    EXPECT_EQ(p11->C_GetSlotList(CK_TRUE, one, &count), CKR_BUFFER_TOO_SMALL);
    EXPECT_EQ(count, 2u);

    setRules("hide");
    count = 5;
    EXPECT_EQ(p11->C_GetSlotList(CK_TRUE, nullptr, &count), CKR_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(p11->C_GetSlotList(CK_TRUE, one, &count), CKR_OK);
    EXPECT_EQ(count, 0u);
}

TEST_F(FaultModuleTest, CountsOpenSessionsAndSearchesExactly) {
    auto expectCounts = [&](unsigned long sessions, unsigned long searches) {
        EXPECT_EQ(openSessions(), sessions);
        EXPECT_EQ(activeSearches(), searches);
        FaultState state = fault.state();
        EXPECT_EQ(state.openSessions, sessions);
        EXPECT_EQ(state.activeSearches, searches);
    };
    expectCounts(0, 0);
    CK_SESSION_HANDLE a = open(first.slot);
    CK_SESSION_HANDLE b = open(first.slot);
    CK_SESSION_HANDLE c = open(second.slot);
    expectCounts(3, 0);
    ASSERT_EQ(findInit(a), CKR_OK);
    ASSERT_EQ(findInit(b), CKR_OK);
    expectCounts(3, 2);
    EXPECT_EQ(findInit(a), CKR_OPERATION_ACTIVE);
    expectCounts(3, 2);
    EXPECT_EQ(p11->C_FindObjectsFinal(a), CKR_OK);
    expectCounts(3, 1);
    EXPECT_EQ(p11->C_CloseSession(b), CKR_OK);
    expectCounts(2, 0);
    EXPECT_EQ(p11->C_CloseSession(b), CKR_SESSION_HANDLE_INVALID);
    expectCounts(2, 0);
    ASSERT_EQ(findInit(c), CKR_OK);
    EXPECT_EQ(p11->C_CloseAllSessions(second.slot), CKR_OK);
    expectCounts(1, 0);
    EXPECT_EQ(p11->C_CloseSession(a), CKR_OK);
    expectCounts(0, 0);

    FaultState state = fault.state();
    EXPECT_EQ(state.callsOf("C_Initialize"), 1u);
    EXPECT_EQ(state.callsOf("C_OpenSession"), 3u);
    EXPECT_EQ(state.callsOf("C_FindObjectsInit"), 4u);
    EXPECT_EQ(state.callsOf("C_CloseSession"), 3u);
    EXPECT_EQ(state.callsOf("C_Login"), 0u);
    auto calls =
        reinterpret_cast<unsigned long (*)(const char*)>(client->symbol("vantrel_fault_calls"));
    ASSERT_NE(calls, nullptr);
    EXPECT_EQ(calls("C_FindObjectsInit"), 4u);
    EXPECT_EQ(calls("C_Nonsense"), 0u);
}

class MalformedRules : public FaultModuleTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(MalformedRules, MakeEveryCallFail) {
    CK_SESSION_HANDLE session = open(first.slot);
    setRules(std::string("fail C_Login 0x30\n") + GetParam());
    EXPECT_EQ(getInfo(), CKR_GENERAL_ERROR);
    CK_TOKEN_INFO info;
    EXPECT_EQ(tokenInfo(first.slot, info), CKR_GENERAL_ERROR);
    // Release calls still release.
    EXPECT_EQ(p11->C_CloseSession(session), CKR_GENERAL_ERROR);
    EXPECT_EQ(openSessions(), 0u);
    setRules("# fixed");
    EXPECT_EQ(getInfo(), CKR_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MalformedRules,
    ::testing::Values(
        "bogus", "fail C_Nope 0x30", "fail C_Login", "fail C_Login 12x", "fail C_Login -1",
        "fail C_Login 0x30 call 0", "fail C_Login 0x30 call 1 from 2", "fail C_Login 0x30 slot",
        "fail C_GetSlotList 5 slot 1", "fail C_GetFunctionList 5", "serial", "serial copy",
        "serial text A pad ab", "label text \\q", "label text A\\x4", "maxpin", "maxpin lots",
        "hide slot x", "hide call 2", "unavailable", "unavailable CKA_NOPE",
        "unavailable CKA_ID code", "unavailable CKA_ID call 1", "signature", "signature full",
        "signature empty call 1", "offer", "withdraw CKM_NOPE", "offer CKM_ECDSA code 5", "hang",
        "hang C_Nope", "hang C_Login CKR_OK", "hang C_Login call 0", "hang C_GetSlotList slot 1"));

TEST(FaultModuleLoading, LoadedByItsPathLikeAHost) {
    SoftHsm hsm;
    SoftHsmToken token = hsm.createToken("Only");
    FaultModule fault;
    void* module = dlopen(FaultModule::path().c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto getList = reinterpret_cast<CK_C_GetFunctionList>(dlsym(module, "C_GetFunctionList"));
    ASSERT_NE(getList, nullptr);
    CK_FUNCTION_LIST* p11 = nullptr;
    ASSERT_EQ(getList(&p11), CKR_OK);
    ASSERT_EQ(p11->C_Initialize(nullptr), CKR_OK);
    CK_SESSION_HANDLE session;
    ASSERT_EQ(p11->C_OpenSession(token.slot, CKF_SERIAL_SESSION, nullptr, nullptr, &session),
              CKR_OK);
    EXPECT_EQ(FaultModule::loadedOpenSessions(), 1u);
    EXPECT_EQ(FaultModule::loadedActiveSearches(), 0u);
    EXPECT_EQ(FaultModule::loadedCalls("C_OpenSession"), 1u);
    EXPECT_EQ(fault.state().openSessions, 1u);
    EXPECT_EQ(p11->C_Finalize(nullptr), CKR_OK);
    EXPECT_EQ(FaultModule::loadedOpenSessions(), 0u);
    dlclose(module);
}

TEST(FaultModuleLoading, MissingTargetGivesNoFunctionList) {
    FaultModule fault("/nonexistent/libnothing.so");
    try {
        Pkcs11Client client(FaultModule::path(), Pkcs11Client::Instance::Fresh);
        ADD_FAILURE() << "loaded without a target";
    } catch (const Pkcs11Error& e) {
        EXPECT_EQ(e.rv(), CKR_GENERAL_ERROR);
        EXPECT_NE(std::string(e.what()).find("C_GetFunctionList"), std::string::npos);
    }
}

}  // namespace
