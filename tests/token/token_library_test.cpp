#include <gtest/gtest.h>

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

TEST_F(TokenLibraryTest, ALibraryWithoutTheEntryPointStaysLoadedButUnusable) {
    bool loaded = true;
    EXPECT_EQ(loadReporting("libc.so.6", loaded),
              "Error retrieving C_GetFunctionList PKCS11 DLL entry point");
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(isTokenLibraryLoaded());
    EXPECT_EQ(tokenLibraryDriverName(), "libc.so.6");
    EXPECT_THROW(requireTokenLibrary(), HandlerException);
}

TEST_F(TokenLibraryTest, AModuleThatFailsToInitialiseIsReported) {
    SoftHsm hsm;
    FaultModule faults;
    faults.setRules("fail C_Initialize CKR_DEVICE_ERROR\n");
    bool loaded = true;
    EXPECT_EQ(loadReporting(FaultModule::path(), loaded), "Error loading PKCS11 functions");
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(isTokenLibraryLoaded());
}
