#include "common/host_config.h"

#include <gtest/gtest.h>

#include <windows.h>

#include "support/windows_support.h"

namespace {

class WindowsHostConfigTest : public ::testing::Test {
  protected:
    std::string program() const { return folder.file("vantrel.exe"); }

    TempFolder folder;
};

}  // namespace

TEST_F(WindowsHostConfigTest, TheFileIsTheProgramPathWithCfgInPlaceOfExe) {
    folder.write("vantrel.cfg", "maxLogFiles=3\n");
    EXPECT_EQ(HostConfig(program()).getMaxLogFiles(), 3);
}

TEST_F(WindowsHostConfigTest, AFileNamedAfterTheWholeProgramNameIsNotRead) {
    folder.write("vantrel.exe.cfg", "maxLogFiles=3\n");
    HostConfig config(program());
    EXPECT_EQ(config.getMaxLogFiles(), 0);
    EXPECT_EQ(config.getLogDir(), folder.path());
}

TEST_F(WindowsHostConfigTest, WindowsLineEndsAndPathsAreReadAsWritten) {
    folder.write("vantrel.cfg",
                 "devMode=true\r\nlogDir=C:\\Vantrel Logs\\a=b\r\nmaxLogFiles=9\r\n"
                 "pkcs11Library=C:\\Program Files\\Vendor\\eTPKCS11.dll\r\n");
    HostConfig config(program());
    EXPECT_TRUE(config.getDevMode());
    EXPECT_EQ(config.getLogDir(), "C:\\Vantrel Logs\\a=b");
    EXPECT_EQ(config.getMaxLogFiles(), 9);
    EXPECT_EQ(config.getPkcs11Library(), "C:\\Program Files\\Vendor\\eTPKCS11.dll");
}

TEST_F(WindowsHostConfigTest, AFileThatAnotherProcessHasOpenForWritingIsRead) {
    folder.write("vantrel.cfg", "maxLogFiles=4\n");
    HANDLE writer = CreateFileA(folder.file("vantrel.cfg").c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    EXPECT_EQ(HostConfig(program()).getMaxLogFiles(), 4);
    CloseHandle(writer);
}
