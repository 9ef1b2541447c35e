#include <gtest/gtest.h>

#include <algorithm>

#include "common/logger.h"
#include "common/native_host_exception.h"
#include "faults/fault_module.h"
#include "support/softhsm.h"
#include "support/temp_dir.h"
#include "token/token.h"

namespace {

class TokenLibraryTest : public ::testing::Test {
  protected:
    void TearDown() override {
        unloadTokenLibrary();
        Logger::destroyInstance();
    }

    // Loads, returning what reached standard error.
    std::string loadReporting(const std::string& name, bool& loaded) {
        testing::internal::CaptureStderr();
        loaded = loadTokenLibrary(name);
        return testing::internal::GetCapturedStderr();
    }
};

std::string failureOfRequire() {
    try {
        requireTokenLibrary();
    } catch (const HandlerException& failure) {
        return failure.getMessage();
    }
    return "";
}

}  // namespace

TEST_F(TokenLibraryTest, LoadsAModuleByPathAndNamesItsFile) {
    SoftHsm hsm;
    bool loaded = false;
    EXPECT_EQ(loadReporting(SoftHsm::modulePath(), loaded), "");
    EXPECT_TRUE(loaded);
    EXPECT_TRUE(isTokenLibraryLoaded());
    EXPECT_EQ(tokenLibraryDriverName(), "libsofthsm2.so");
    EXPECT_NO_THROW(requireTokenLibrary());
    unloadTokenLibrary();
    EXPECT_FALSE(isTokenLibraryLoaded());
    EXPECT_EQ(tokenLibraryDriverName(), "None");
}

TEST_F(TokenLibraryTest, AMissingModuleIsReportedWithTheNameTried) {
    bool loaded = true;
    EXPECT_EQ(loadReporting("", loaded), "Error loading libeTPKCS11.so");
    EXPECT_FALSE(loaded);
    EXPECT_EQ(loadReporting("/nonexistent/libnothing.so", loaded),
              "Error loading /nonexistent/libnothing.so");
    EXPECT_FALSE(isTokenLibraryLoaded());
    EXPECT_EQ(tokenLibraryDriverName(), "None");
    EXPECT_EQ(failureOfRequire(), "Failed to initalise PKCS11 API");
}

// A module that is found but cannot be used counts as not loaded: it is
// released again (without C_Finalize, it was never initialised), so nothing
// calls into it and info names no driver.
TEST_F(TokenLibraryTest, AModuleThatCannotBeUsedIsReleasedAgain) {
    SoftHsm hsm;
    struct Case {
        std::string name;
        std::string rules;
        std::string target;  // the fault module's; empty: SoftHSM2
        std::string logged;
    };
    const Case cases[] = {
        {"libc.so.6", "", "", "Error retrieving C_GetFunctionList PKCS11 DLL entry point"},
        {FaultModule::path(), "", "/nonexistent/libnothing.so", "Error loading PKCS11 functions"},
        {FaultModule::path(), "fail C_Initialize CKR_DEVICE_ERROR\n", "",
         "Error loading PKCS11 functions"},
        {FaultModule::path(), "fail C_Initialize CKR_ARGUMENTS_BAD\n", "",
         "Error loading PKCS11 functions"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " " + c.rules + c.target);
        FaultModule faults(c.target.empty() ? SoftHsm::modulePath() : c.target);
        faults.setRules(c.rules);
        bool loaded = true;
        // The fault module without a target says so on a line of its own first.
        std::string logged = loadReporting(c.name, loaded);
        EXPECT_EQ(logged.substr(logged.size() - std::min(logged.size(), c.logged.size())), c.logged)
            << logged;
        EXPECT_FALSE(loaded);
        EXPECT_FALSE(isTokenLibraryLoaded());
        EXPECT_EQ(tokenLibraryDriverName(), "None");
        EXPECT_EQ(failureOfRequire(), "Failed to initalise PKCS11 API");
        unloadTokenLibrary();
        EXPECT_EQ(faults.state().callsOf("C_Finalize"), 0u);
    }
}
