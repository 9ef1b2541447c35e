// A SoftHSM2 token folder of the test's own with one initialised token, and the
// host's token binding loaded over it (directly, or through the fault module).
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "faults/fault_module.h"
#include "support/crypto.h"
#include "support/pkcs11_client.h"
#include "support/softhsm.h"
#include "token/token.h"

class TokenTest : public ::testing::Test {
  protected:
    void SetUp() override { token = hsm.createToken("Token one"); }

    void TearDown() override {
        if (hostSession != CK_INVALID_HANDLE) {
            closeSession(hostSession);
        }
        unloadTokenLibrary();
        Logger::destroyInstance();
    }

    // Loads the binding over SoftHSM2, or over the fault module when asked.
    void load(bool throughFaultModule = false) {
        if (throughFaultModule) {
            faults = std::make_unique<FaultModule>();
        }
        ASSERT_TRUE(
            loadTokenLibrary(throughFaultModule ? FaultModule::path() : SoftHsm::modulePath()));
    }

    // A session of the binding on the token, logged in as its user.
    CK_SESSION_HANDLE userSession(bool readWrite = true) {
        hostSession = openSession(token.slot, readWrite);
        loginUser(hostSession, token.userPin);
        return hostSession;
    }

    // A logged-in session of an independent client, for setting up and inspecting.
    Pkcs11Session clientSession() {
        if (!client) {
            client = std::make_unique<Pkcs11Client>();
        }
        Pkcs11Session session = client->openSession(token.slot);
        session.login(CKU_USER, token.userPin);
        return session;
    }

    // The same object as the other side sees it: handles are not shared between
    // two instances of a module, identifiers are.
    static CK_OBJECT_HANDLE clientHandle(Pkcs11Session& session, CK_OBJECT_CLASS objectClass,
                                         const Bytes& id) {
        std::vector<CK_OBJECT_HANDLE> found = session.find(objectClass, id);
        EXPECT_EQ(found.size(), 1u);
        return found.empty() ? CK_INVALID_HANDLE : found[0];
    }
    static Bytes idOf(CK_SESSION_HANDLE session, CK_OBJECT_HANDLE object) {
        std::unique_ptr<ByteBuffer> id = readKeyId(session, object);
        return Bytes(id->getData(), id->getData() + id->getSize());
    }
    // The binding's handle of an object with that class and identifier.
    static CK_OBJECT_HANDLE hostHandle(CK_SESSION_HANDLE session, CK_OBJECT_CLASS objectClass,
                                       const Bytes& id) {
        for (CK_OBJECT_HANDLE object : findObjects(session, objectClass)) {
            if (idOf(session, object) == id) {
                return object;
            }
        }
        ADD_FAILURE() << "no such object";
        return CK_INVALID_HANDLE;
    }

    SoftHsm hsm;
    SoftHsmToken token;
    std::unique_ptr<FaultModule> faults;
    std::unique_ptr<Pkcs11Client> client;
    CK_SESSION_HANDLE hostSession = CK_INVALID_HANDLE;
};

// The message of the error family that `action` raises, or "" when none.
template <typename Action>
std::string failureOf(Action action) {
    try {
        action();
    } catch (const NativeHostException& failure) {
        return failure.getMessage();
    }
    return "";
}

// The PKCS#11 code a token refused a call with; CKR_OK when the call went.
template <typename Action>
CK_RV codeOf(Action action) {
    try {
        action();
    } catch (const TokenException& refusal) {
        return refusal.getReturnCode().value_or(CK_UNAVAILABLE_INFORMATION);
    }
    return CKR_OK;
}
