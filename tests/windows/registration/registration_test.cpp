// packaging/windows applied as an administrator or a user would: register.cmd
// run by cmd.exe, and the .reg template imported with reg.exe. The registry is
// the one of the test's Wine prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <nlohmann/json.hpp>

#include "support/windows_system.h"

namespace {

const char kDefaultOrigin[] = "chrome-extension://dimbhkphloanhhcpkcakgkgdcooempmh/";
const char kDefaultExtension[] = "vantrel-sample@vantrel.org";

const char kEdgeKey[] = "Software\\Microsoft\\Edge\\NativeMessagingHosts\\org.vantrel.host";
const char kFirefoxKey[] = "Software\\Mozilla\\NativeMessagingHosts\\org.vantrel.host";
// Each browser's key, from its documentation: Chrome's, Microsoft's (Edge's
// own, and Chromium's in its search order), MDN's (Firefox). Brave and Vivaldi
// read Chromium's, then Chrome's.
const char* const kKeys[] = {
    "Software\\Google\\Chrome\\NativeMessagingHosts\\org.vantrel.host",
    "Software\\Chromium\\NativeMessagingHosts\\org.vantrel.host",
    kEdgeKey,
    kFirefoxKey,
};

// Both views of HKLM\Software on 64-bit Windows; HKCU\Software has one.
const REGSAM kViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};

void deleteKeys() {
    for (HKEY hive : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const char* key : kKeys) {
            for (REGSAM view : kViews) {
                RegDeleteKeyExA(hive, key, view, 0);
            }
        }
    }
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size())) {
        text.replace(pos, from.size(), to);
    }
    return text;
}

std::string doubledBackslashes(const std::string& text) {
    return replaceAll(text, "\\", "\\\\");
}

class RegistrationTest : public ::testing::Test {
  protected:
    // A folder name that batch files get wrong easily: a blank and parentheses.
    RegistrationTest() : install(root.file("Vantrel (x86)")) {}

    void SetUp() override {
        deleteKeys();
        ASSERT_TRUE(CreateDirectoryA(install.c_str(), nullptr));
        copyFile(programFolder() + "\\vantrel.exe", file("vantrel.exe"));
        copyFile(programFolder() + "\\register.cmd", file("register.cmd"));
    }
    void TearDown() override { deleteKeys(); }

    std::string file(const std::string& name) const { return install + "\\" + name; }
    std::string chromiumManifest() const { return file("org.vantrel.host.json"); }
    std::string firefoxManifest() const { return file("org.vantrel.host.firefox.json"); }

    ProcessResult registerHost(const std::string& options) const {
        std::string cmd = systemProgram("cmd.exe");
        // With /s, cmd drops the outer quotes and runs the rest as it stands.
        std::string line = quoteArgument(cmd) + " /d /s /c \"" +
                           quoteArgument(file("register.cmd")) +
                           (options.empty() ? "" : " " + options) + "\"";
        return runProcess(cmd, line, "", root.path());
    }

    ProcessResult reg(const std::string& arguments) const {
        return runSystemProgram("reg.exe", arguments, root.path());
    }

    // Checks the keys of one hive in every view against the manifests.
    void expectKeys(HKEY hive, bool present) const {
        for (const char* key : kKeys) {
            std::string manifest =
                key == std::string(kFirefoxKey) ? firefoxManifest() : chromiumManifest();
            for (REGSAM view : kViews) {
                EXPECT_EQ(registryDefaultValue(hive, key, view), present ? manifest : "-")
                    << key << (hive == HKEY_CURRENT_USER ? " HKCU" : " HKLM") << " view " << view;
            }
        }
    }

    void expectManifests(const std::string& origin, const std::string& extension) const {
        nlohmann::json chromium = nlohmann::json::parse(readWholeFile(chromiumManifest()));
        nlohmann::json firefox = nlohmann::json::parse(readWholeFile(firefoxManifest()));
        for (const nlohmann::json& manifest : {chromium, firefox}) {
            EXPECT_EQ(manifest["name"], "org.vantrel.host");
            EXPECT_FALSE(manifest["description"].get<std::string>().empty());
            EXPECT_EQ(manifest["path"], file("vantrel.exe"));
            EXPECT_EQ(manifest["type"], "stdio");
        }
        EXPECT_EQ(chromium["allowed_origins"], nlohmann::json::array({origin}));
        EXPECT_FALSE(chromium.contains("allowed_extensions"));
        EXPECT_EQ(firefox["allowed_extensions"], nlohmann::json::array({extension}));
        EXPECT_FALSE(firefox.contains("allowed_origins"));

        // The templates describe the same manifests.
        auto filled = [&](const std::string& name) {
            std::string text = readWholeFile(programFolder() + "\\" + name);
            text = replaceAll(text, "@PROGRAM_JSON@", doubledBackslashes(file("vantrel.exe")));
            text = replaceAll(text, "@ORIGIN@", origin);
            return nlohmann::json::parse(replaceAll(text, "@EXTENSION@", extension));
        };
        EXPECT_EQ(filled("org.vantrel.host.json.in"), chromium);
        EXPECT_EQ(filled("org.vantrel.host.firefox.json.in"), firefox);
    }

    TempFolder root;
    std::string install;
};

}  // namespace

TEST_F(RegistrationTest, UserRegistrationWritesTheManifestsAndEveryBrowsersKey) {
    ProcessResult result = registerHost("");
    ASSERT_EQ(result.exitCode, 0u) << result.out << result.err;
    expectKeys(HKEY_CURRENT_USER, true);
    expectKeys(HKEY_LOCAL_MACHINE, false);
    expectManifests(kDefaultOrigin, kDefaultExtension);

    ProcessResult query =
        reg("query " + quoteArgument(std::string("HKCU\\") + kFirefoxKey) + " /ve");
    EXPECT_EQ(query.exitCode, 0u);
    EXPECT_NE(query.out.find(firefoxManifest()), std::string::npos) << query.out;
}

TEST_F(RegistrationTest, MachineRegistrationWritesBothRegistryViews) {
    const std::string origin = "chrome-extension://abcdefghijklmnopabcdefghijklmnop/";
    ProcessResult result =
        registerHost("/machine /origin " + origin + " /extension other@example.org");
    ASSERT_EQ(result.exitCode, 0u) << result.out << result.err;
    expectKeys(HKEY_LOCAL_MACHINE, true);
    expectKeys(HKEY_CURRENT_USER, false);
    expectManifests(origin, "other@example.org");

    for (const char* key : {kKeys[0], kEdgeKey}) {
        for (const char* view : {"/reg:32", "/reg:64"}) {
            ProcessResult query =
                reg("query " + quoteArgument(std::string("HKLM\\") + key) + " /ve " + view);
            EXPECT_EQ(query.exitCode, 0u) << key << view;
            EXPECT_NE(query.out.find(chromiumManifest()), std::string::npos)
                << key << view << query.out;
        }
    }
}

TEST_F(RegistrationTest, UninstallKeepsTheManifestsWhileTheOtherScopeNamesThem) {
    ASSERT_EQ(registerHost("").exitCode, 0u);
    ASSERT_EQ(registerHost("/machine").exitCode, 0u);

    ASSERT_EQ(registerHost("/machine /uninstall").exitCode, 0u);
    expectKeys(HKEY_LOCAL_MACHINE, false);
    expectKeys(HKEY_CURRENT_USER, true);
    expectManifests(kDefaultOrigin, kDefaultExtension);

    ASSERT_EQ(registerHost("/uninstall").exitCode, 0u);
    expectKeys(HKEY_CURRENT_USER, false);
    EXPECT_EQ(listFolder(install), (std::vector<std::string>{"register.cmd", "vantrel.exe"}));
    // Removing what is not there is no failure.
    EXPECT_EQ(registerHost("/uninstall").exitCode, 0u);
}

TEST_F(RegistrationTest, WrongUseRegistersNothing) {
    struct Case {
        const char* options;
        bool withProgram;
        uint32_t exitCode;
    } cases[] = {
        {"/bogus", true, 2},
        {"/origin", true, 2},
        {"/machine /extension", true, 2},
        {"", false, 1},
    };
    for (const Case& c : cases) {
        if (!c.withProgram) {
            ASSERT_TRUE(DeleteFileA(file("vantrel.exe").c_str()));
        }
        ProcessResult result = registerHost(c.options);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.options << result.err;
        EXPECT_FALSE(result.err.empty()) << c.options;
        expectKeys(HKEY_CURRENT_USER, false);
        expectKeys(HKEY_LOCAL_MACHINE, false);
        EXPECT_EQ(listFolder(install).size(), c.withProgram ? 2u : 1u) << c.options;
    }
}

TEST_F(RegistrationTest, TheRegTemplateImportsTheKeys) {
    std::string text = readWholeFile(programFolder() + "\\org.vantrel.host.reg.in");
    text = replaceAll(text, "@HIVE@", "HKEY_CURRENT_USER");
    text = replaceAll(text, "@CHROMIUM_MANIFEST@", doubledBackslashes(chromiumManifest()));
    text = replaceAll(text, "@FIREFOX_MANIFEST@", doubledBackslashes(firefoxManifest()));
    ASSERT_EQ(text.find("@HIVE@"), std::string::npos);
    const std::string regFile = file("org.vantrel.host.reg");
    writeWholeFile(regFile, text);

    ProcessResult result = reg("import " + quoteArgument(regFile) + " /reg:32");
    ASSERT_EQ(result.exitCode, 0u) << result.out << result.err;
    expectKeys(HKEY_CURRENT_USER, true);
    ProcessResult query = reg("query " + quoteArgument(std::string("HKCU\\") + kKeys[1]) + " /ve");
    EXPECT_NE(query.out.find(chromiumManifest()), std::string::npos) << query.out;
}
