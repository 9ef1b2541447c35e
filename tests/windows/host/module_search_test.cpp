// Where vantrel.exe finds its PKCS#11 module. A bare name comes from the
// program's folder or the system folder only, never from the current folder
// or a folder on PATH, where a DLL planted beside a downloaded file could
// lie; a relative path is taken from the program's folder, whatever the
// current folder is.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/host_folder.h"

namespace {

const std::string kInfo = R"({"action":"info"})";

std::string infoNaming(const std::string& driver) {
    return R"({"action":"info","driver":")" + driver +
           R"(","error":"There is no active token","host":"1.4"})";
}

// PATH for the life of the object, for the processes started meanwhile.
class ScopedPath {
  public:
    explicit ScopedPath(const std::string& first) {
        char value[32768];
        DWORD length = GetEnvironmentVariableA("PATH", value, sizeof(value));
        previous.assign(value, length < sizeof(value) ? length : 0);
        SetEnvironmentVariableA("PATH", (first + ";" + previous).c_str());
    }
    ~ScopedPath() { SetEnvironmentVariableA("PATH", previous.c_str()); }
    ScopedPath(const ScopedPath&) = delete;
    ScopedPath& operator=(const ScopedPath&) = delete;

  private:
    std::string previous;
};

// Answers one info request, started in `currentFolder`.
ProcessResult askInfo(const HostFolder& host, const std::string& currentFolder) {
    return runProcess(host.program(), quoteArgument(host.program()), frame(kInfo), currentFolder);
}

void copyStubModule(const std::string& to) {
    copyFile(programFolder() + "\\eTPKCS11.dll", to);
}

}  // namespace

TEST(WindowsModuleSearch, ABareNameIsTakenFromTheProgramsFolderOnly) {
    HostFolder host;
    TempFolder planted;
    copyStubModule(planted.file("eTPKCS11.dll"));
    ScopedPath path(planted.path());

    // The planted module is both in the current folder and on PATH.
    ProcessResult result = askInfo(host, planted.path());
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(replies(result), std::vector<std::string>{infoNaming("None")});
    EXPECT_EQ(result.err, "Error loading eTPKCS11.dllFailed to initialise PKCS11End of input");

    host.addStubModule();
    result = askInfo(host, planted.path());
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(replies(result), std::vector<std::string>{infoNaming("eTPKCS11.dll")});
    EXPECT_EQ(result.err, "End of input");
}

TEST(WindowsModuleSearch, ARelativePathIsTakenFromTheProgramsFolder) {
    struct Case {
        const char* configured;
        bool besideTheProgram;  // else only below the current folder
        const char* driver;
    } cases[] = {
        {"modules\\stub-pkcs11.dll", true, "stub-pkcs11.dll"},
        {"modules/stub-pkcs11.dll", true, "stub-pkcs11.dll"},
        {"modules\\stub-pkcs11.dll", false, "None"},
    };
    for (const Case& c : cases) {
        HostFolder host;
        TempFolder current;
        const TempFolder& holder = c.besideTheProgram ? host.files() : current;
        ASSERT_TRUE(CreateDirectoryA(holder.file("modules").c_str(), nullptr));
        copyStubModule(holder.file("modules\\stub-pkcs11.dll"));
        host.writeConfig(std::string("pkcs11Library=") + c.configured + "\r\n");
        ProcessResult result = askInfo(host, current.path());
        ASSERT_TRUE(result.finished);
        EXPECT_EQ(replies(result), std::vector<std::string>{infoNaming(c.driver)}) << c.configured;
        EXPECT_EQ(result.err, c.besideTheProgram ? "End of input"
                                                 : std::string("Error loading ") + c.configured +
                                                       "Failed to initialise PKCS11End of input")
            << c.configured;
    }
}
