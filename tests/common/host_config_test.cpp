#include "common/host_config.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

class HostConfigTest : public ::testing::Test {
  protected:
    // The program path whose configuration file is vantrel.cfg in the folder.
    std::string program() const { return dir.file("vantrel"); }
    HostConfig configWith(const std::string& content) const {
        dir.write("vantrel.cfg", content);
        return HostConfig(program());
    }

    TempDir dir;
};

}  // namespace

TEST_F(HostConfigTest, WithoutAFileTheDefaultsApply) {
    HostConfig config(program());
    EXPECT_FALSE(config.getDevMode());
    EXPECT_EQ(config.getLogDir(), dir.path());
    EXPECT_EQ(config.getMaxLogFiles(), 0);
    EXPECT_EQ(config.getPkcs11Library(), "");
}

TEST_F(HostConfigTest, TheFileIsTheProgramPathFollowedByCfg) {
    dir.write("vantrel.exe.cfg", "maxLogFiles=3\n");
    EXPECT_EQ(HostConfig(dir.file("vantrel.exe")).getMaxLogFiles(), 3);
    EXPECT_EQ(HostConfig(program()).getMaxLogFiles(), 0);
}

TEST_F(HostConfigTest, LinesTakeEffectAsTabled) {
    struct Case {
        const char* content;
        bool devMode;
        int maxLogFiles;
        std::string logDir;  // "-" for the default
        std::string pkcs11Library;
    } cases[] = {
        {"devMode=true\nlogDir=D:\\Logs\nmaxLogFiles=20\n", true, 20, "D:\\Logs", ""},
        {"devMode = true\n", false, 0, "-", ""},
        {"devMode=True\n", false, 0, "-", ""},
        {"devMode=true\ndevMode=false\n", true, 0, "-", ""},
        {"devMode=true \n", false, 0, "-", ""},
        {"maxLogFiles=abc\n", false, 0, "-", ""},
        {"maxLogFiles=5x\n", false, 5, "-", ""},
        {"maxLogFiles=-1\n", false, -1, "-", ""},
        {"maxLogFiles=  +7\n", false, 7, "-", ""},
        {"maxLogFiles=99999999999\n", false, 2147483647, "-", ""},
        {"maxLogFiles=-99999999999\n", false, -2147483647 - 1, "-", ""},
        {"maxLogFiles=3\nmaxLogFiles=4\n", false, 4, "-", ""},
        {"logDir=\n", false, 0, "", ""},
        {"logDir=D:\\a=b\n", false, 0, "D:\\a=b", ""},
        {"logDir= /var/log \n", false, 0, " /var/log ", ""},
        {"a line without equals\nmaxLogFiles=2", false, 2, "-", ""},
        {"MaxLogFiles=2\nunknown=1\n", false, 0, "-", ""},
        {"pkcs11Library=/usr/lib/softhsm/libsofthsm2.so\n", false, 0, "-",
         "/usr/lib/softhsm/libsofthsm2.so"},
        {"pkcs11Library=\n", false, 0, "-", ""},
        {"devMode=true\r\nlogDir=/tmp/x\r\nmaxLogFiles=9\r\n", true, 9, "/tmp/x", ""},
        {"logDir=/tmp/x\r", false, 0, "/tmp/x\r", ""},
    };
    for (const Case& c : cases) {
        HostConfig config = configWith(c.content);
        SCOPED_TRACE(c.content);
        EXPECT_EQ(config.getDevMode(), c.devMode);
        EXPECT_EQ(config.getMaxLogFiles(), c.maxLogFiles);
        EXPECT_EQ(config.getLogDir(), c.logDir == "-" ? dir.path() : c.logDir);
        EXPECT_EQ(config.getPkcs11Library(), c.pkcs11Library);
    }
}

TEST(HostConfigDirectory, IsThePartBeforeTheLastSeparator) {
    EXPECT_EQ(HostConfig("/nonexistent/dir/vantrel").getLogDir(), "/nonexistent/dir");
    EXPECT_EQ(HostConfig("C:\\Program Files\\Vantrel\\vantrel.exe").getLogDir(),
              "C:\\Program Files\\Vantrel");
    EXPECT_EQ(HostConfig("vantrel").getLogDir(), "vantrel");
}
