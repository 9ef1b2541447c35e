// The installer of packaging/windows run by the prefix's msiexec, silently, as
// an administrator runs it: install, start the installed host as each browser
// would, upgrade, refuse an older or a second one, repair, uninstall. Beside
// this program the build puts this build's installer (vantrel.msi), one of an
// older version (vantrel-older.msi), one of the same version under another
// product code (vantrel-same-version.msi), one holding stand-ins for extension
// packages (vantrel-extensions.msi), and the files the first and the last
// hold (installed-files\, installed-files-extensions\).
//
// Wine's msiexec /f repairs nothing (it passes a package's path where a
// product code belongs, and a product code it says it cannot handle yet); the
// repair here is what /f does: a reinstall through
// REINSTALL and REINSTALLMODE, from the command line and through
// MsiReinstallProduct.
#include <gtest/gtest.h>

#include <windows.h>

#include <msi.h>
#include <msiquery.h>
#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <nlohmann/json.hpp>
#include <vector>

#include "support/stub_token.h"
#include "support/windows_system.h"

namespace {

const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// What every installer holds; the extension packages come in a folder
// "extensions".
const std::vector<std::string> kInstalledFiles = {"README.txt", "org.vantrel.host.firefox.json",
                                                  "org.vantrel.host.json", "vantrel.cfg",
                                                  "vantrel.exe"};

struct Browser {
    const char* name;
    const char* key;
    const char* manifest;
};

// Each browser's key, as register.cmd writes it.
const Browser kBrowsers[] = {
    {"Google Chrome", "Software\\Google\\Chrome\\NativeMessagingHosts\\org.vantrel.host",
     "org.vantrel.host.json"},
    {"Chromium", "Software\\Chromium\\NativeMessagingHosts\\org.vantrel.host",
     "org.vantrel.host.json"},
    {"Microsoft Edge", "Software\\Microsoft\\Edge\\NativeMessagingHosts\\org.vantrel.host",
     "org.vantrel.host.json"},
    {"Firefox", "Software\\Mozilla\\NativeMessagingHosts\\org.vantrel.host",
     "org.vantrel.host.firefox.json"},
};

const REGSAM kViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
// The 64-bit installer registers in both views, the 32-bit one in the 32-bit
// view, the only one it can write (and the one every browser reads first).
bool writesView(REGSAM view) {
    return view == KEY_WOW64_32KEY || sizeof(void*) == 8;
}
const char* viewName(REGSAM view) {
    return view == KEY_WOW64_32KEY ? "32-bit view" : "64-bit view";
}

std::string package(const std::string& name) {
    return programFolder() + "\\" + name;
}
const std::string kCurrent = "vantrel.msi";
const std::string kOlder = "vantrel-older.msi";
const std::string kSameVersion = "vantrel-same-version.msi";
const std::string kWithExtensions = "vantrel-extensions.msi";

// The files under a folder, by path relative to it, sorted.
std::vector<std::string> filesUnder(const std::string& folder) {
    std::vector<std::string> names;
    for (const std::string& name : listFolder(folder)) {
        const std::string path = folder + "\\" + name;
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            for (const std::string& inner : filesUnder(path)) {
                names.push_back(name + "\\" + inner);
            }
        } else {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string productCode(const std::string& packageName) {
    MSIHANDLE database = 0;
    EXPECT_EQ(MsiOpenDatabaseA(package(packageName).c_str(), MSIDBOPEN_READONLY, &database),
              static_cast<UINT>(ERROR_SUCCESS))
        << packageName;
    MSIHANDLE view = 0;
    MSIHANDLE record = 0;
    char value[64] = "";
    DWORD size = sizeof(value);
    if (MsiDatabaseOpenViewA(database,
                             "SELECT `Value` FROM `Property` WHERE `Property` = 'ProductCode'",
                             &view) == ERROR_SUCCESS &&
        MsiViewExecute(view, 0) == ERROR_SUCCESS && MsiViewFetch(view, &record) == ERROR_SUCCESS) {
        MsiRecordGetStringA(record, 1, value, &size);
    }
    MsiCloseHandle(record);
    MsiCloseHandle(view);
    MsiCloseHandle(database);
    return value;
}

bool productInstalled(const std::string& code) {
    return MsiQueryProductStateA(code.c_str()) == INSTALLSTATE_DEFAULT;
}

// The products named Vantrel that Windows Installer knows of.
std::vector<std::string> installedVantrels() {
    std::vector<std::string> codes;
    char code[39];
    for (DWORD index = 0; MsiEnumProductsA(index, code) == ERROR_SUCCESS; ++index) {
        char name[64] = "";
        DWORD size = sizeof(name);
        if (MsiGetProductInfoA(code, INSTALLPROPERTY_PRODUCTNAME, name, &size) == ERROR_SUCCESS &&
            std::string(name) == "Vantrel") {
            codes.push_back(code);
        }
    }
    return codes;
}

std::string programFilesFolder() {
    PWSTR wide = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_ProgramFiles, 0, nullptr, &wide) != S_OK) {
        throw std::runtime_error("SHGetKnownFolderPath failed");
    }
    char narrow[MAX_PATH * 2];
    int length = WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof(narrow), nullptr, nullptr);
    CoTaskMemFree(wide);
    return std::string(narrow, length > 0 ? length - 1 : 0);
}

// The policies that install the packaged extension: Chromium's forcelists,
// whose entry the installer names 8687, and Firefox's settings of extensions.
const std::vector<std::string> kForcelists = {
    "Software\\Policies\\Google\\Chrome\\ExtensionInstallForcelist",
    "Software\\Policies\\Chromium\\ExtensionInstallForcelist",
    "Software\\Policies\\Microsoft\\Edge\\ExtensionInstallForcelist"};
const std::string kForcelistEntry = "8687";
const std::string kFirefoxPolicies = "Software\\Policies\\Mozilla\\Firefox";

// Each of the keys on the way to `key` below Software (and `key` itself with
// `itself`) that exists, one line each.
void addKeysOnTheWay(const std::string& key, bool itself, std::vector<std::string>& lines) {
    for (size_t cut = key.find('\\', 9); cut != std::string::npos || itself;
         cut = key.find('\\', cut + 1)) {
        const std::string path = cut == std::string::npos ? key : key.substr(0, cut);
        for (REGSAM view : kViews) {
            if (registryKeyExists(HKEY_LOCAL_MACHINE, path, view)) {
                lines.push_back(path + " (" + viewName(view) + ")");
            }
        }
        if (cut == std::string::npos) {
            break;
        }
    }
}

// Everything the installer may leave on the machine, one line each: the keys
// on the way to each browser's key, its own key, the policy keys and the keys
// on the way to them, the "Apps" entries named Vantrel, the products, and the
// folder.
std::vector<std::string> traces(const std::string& folder) {
    std::vector<std::string> lines;
    for (REGSAM view : kViews) {
        if (registryKeyExists(HKEY_LOCAL_MACHINE, "Software\\Vantrel", view)) {
            lines.push_back(std::string("Software\\Vantrel (") + viewName(view) + ")");
        }
    }
    for (const std::string& key : kForcelists) {
        addKeysOnTheWay(key, true, lines);
    }
    addKeysOnTheWay(kFirefoxPolicies, true, lines);
    for (const Browser& browser : kBrowsers) {
        std::string key = browser.key;
        addKeysOnTheWay(key, false, lines);
        for (REGSAM view : kViews) {
            std::string value = registryDefaultValue(HKEY_LOCAL_MACHINE, key, view);
            if (value != "-") {
                lines.push_back(key + " (" + viewName(view) + ") = " + value);
            }
        }
    }
    for (const std::string& code : installedVantrels()) {
        lines.push_back("product " + code);
        for (REGSAM view : kViews) {
            if (registryKeyExists(HKEY_LOCAL_MACHINE, kUninstallKey + "\\" + code, view)) {
                lines.push_back("Apps entry " + code);
            }
        }
    }
    if (GetFileAttributesA(folder.c_str()) != INVALID_FILE_ATTRIBUTES) {
        lines.push_back("folder " + folder);
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// The path of a file:/// address, "-" for another kind.
std::string pathOfFileAddress(const std::string& address) {
    const std::string scheme = "file:///";
    if (address.rfind(scheme, 0) != 0) {
        return "-";
    }
    std::string path;
    for (size_t at = scheme.size(); at < address.size(); ++at) {
        if (address[at] == '%' && at + 2 < address.size()) {
            path += static_cast<char>(std::stoi(address.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            path += address[at] == '/' ? '\\' : address[at];
        }
    }
    return path;
}

// An administrator's own policies beside the installer's, for as long as the
// test runs.
class AdministratorsPolicies {
  public:
    AdministratorsPolicies() {
        for (REGSAM view : kViews) {
            for (const std::string& key : kForcelists) {
                setRegistryString(HKEY_LOCAL_MACHINE, key, "1", kOwnEntry, view);
            }
            setRegistryString(HKEY_LOCAL_MACHINE, kFirefoxPolicies, "DisableAppUpdate", "1", view);
        }
    }
    ~AdministratorsPolicies() {
        for (REGSAM view : kViews) {
            for (const std::string& key : kForcelists) {
                deleteRegistryValue(HKEY_LOCAL_MACHINE, key, "1", view);
                deleteEmptyKeys(HKEY_LOCAL_MACHINE, key, view);
            }
            deleteRegistryValue(HKEY_LOCAL_MACHINE, kFirefoxPolicies, "DisableAppUpdate", view);
            deleteEmptyKeys(HKEY_LOCAL_MACHINE, kFirefoxPolicies, view);
        }
    }
    static constexpr const char* kOwnEntry =
        "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa;https://updates.example.org/own.xml";
};

std::string lastLines(const std::string& text, size_t count) {
    size_t start = text.size();
    for (size_t lines = 0; start > 0 && lines <= count; --start) {
        lines += text[start - 1] == '\n';
    }
    return text.substr(start);
}

class InstallerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        removeEveryVantrel();
        // Keys on the way to the browsers' and the policy keys that nothing
        // uses (earlier tests leave some) would hide keys that an uninstall
        // leaves behind.
        std::vector<std::string> keys = kForcelists;
        keys.push_back(kFirefoxPolicies);
        for (const Browser& browser : kBrowsers) {
            keys.push_back(browser.key);
        }
        for (const std::string& key : keys) {
            for (REGSAM view : kViews) {
                deleteEmptyKeys(HKEY_LOCAL_MACHINE, key, view);
            }
        }
        // What is left then is keys that others use (Software\Microsoft).
        before = traces(installFolder);
        ASSERT_EQ(std::count_if(before.begin(), before.end(),
                                [](const std::string& line) {
                                    return line.find("antrel") != std::string::npos ||
                                           line.rfind("product", 0) == 0 ||
                                           line.rfind("Apps", 0) == 0;
                                }),
                  0)
            << ::testing::PrintToString(before);
    }

    void TearDown() override {
        removeStubModule();
        removeEveryVantrel();
    }

    // Runs msiexec with a log of its own, printed when the exit code is not
    // the expected one.
    void msiexec(const std::string& arguments, uint32_t expected = 0) {
        TempFolder logFolder;
        const std::string log = logFolder.file("msiexec.log");
        ProcessResult result =
            runSystemProgram("msiexec.exe", arguments + " /qn /l*v " + quoteArgument(log),
                             logFolder.path(), 10 * 60 * 1000);
        ASSERT_TRUE(result.finished) << "msiexec " << arguments << " did not end within 10 min";
        if (result.exitCode != expected) {
            std::string text = readWholeFile(log);
            text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
            ADD_FAILURE() << "msiexec " << arguments << " ended with " << result.exitCode
                          << ", not " << expected << "; its log ends with:\n"
                          << lastLines(text, 40);
        }
    }
    void install(const std::string& name, const std::string& properties = "") {
        msiexec("/i " + quoteArgument(package(name)) +
                (properties.empty() ? "" : " " + properties));
    }

    std::string file(const std::string& name) const { return installFolder + "\\" + name; }

    // The files of the installer `installed` (the folder beside this program
    // that holds what it was made from), each as it was made but `edited`.
    void expectInstalledFiles(const std::string& installed = "installed-files",
                              const std::string& edited = "") const {
        const std::string made = programFolder() + "\\" + installed;
        const std::vector<std::string> names = filesUnder(made);
        for (const std::string& name : kInstalledFiles) {
            EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
        }
        EXPECT_EQ(filesUnder(installFolder), names) << installFolder;
        for (const std::string& name : names) {
            if (name != edited) {
                EXPECT_EQ(readWholeFile(file(name)), readWholeFile(made + "\\" + name)) << name;
            }
        }
    }

    // Each browser's key in every view the installer writes, and in no other.
    void expectRegistration() const {
        for (const Browser& browser : kBrowsers) {
            for (REGSAM view : kViews) {
                EXPECT_EQ(registryDefaultValue(HKEY_LOCAL_MACHINE, browser.key, view),
                          writesView(view) ? file(browser.manifest) : "-")
                    << browser.name << ", " << viewName(view);
            }
        }
    }

    void expectNothingLeft() const { EXPECT_EQ(traces(installFolder), before); }

    // The stub module under the name vantrel.cfg gives, beside the host.
    void addStubModule() {
        std::string config = readWholeFile(file("vantrel.cfg"));
        size_t start = config.find("\npkcs11Library=");
        ASSERT_NE(start, std::string::npos) << config;
        start += std::string("\npkcs11Library=").size();
        std::string module = config.substr(start, config.find_first_of("\r\n", start) - start);
        ASSERT_EQ(module.find_first_of("\\/:"), std::string::npos)
            << "these tests put the stub module beside the host, under a bare name: " << module;
        stubModule = file(module);
        copyFile(programFolder() + "\\eTPKCS11.dll", stubModule);
    }
    void removeStubModule() {
        if (!stubModule.empty()) {
            DeleteFileA(stubModule.c_str());
            stubModule.clear();
        }
    }

    // Starts the host the way the browser does: the manifest its key names
    // (the 32-bit view first, as they all read it), the program it names
    // (relative to the manifest's folder when not absolute), the arguments the
    // browser passes, the program's folder as the current one.
    void expectHostAnswersFor(const Browser& browser) const {
        std::string manifestPath =
            registryDefaultValue(HKEY_LOCAL_MACHINE, browser.key, KEY_WOW64_32KEY);
        if (manifestPath == "-") {
            manifestPath = registryDefaultValue(HKEY_LOCAL_MACHINE, browser.key, KEY_WOW64_64KEY);
        }
        nlohmann::json manifest = nlohmann::json::parse(readWholeFile(manifestPath));
        EXPECT_EQ(manifest["name"], "org.vantrel.host");
        EXPECT_EQ(manifest["type"], "stdio");
        std::string program = manifest["path"];
        const std::string manifestFolder = manifestPath.substr(0, manifestPath.rfind('\\'));
        if (program.size() < 2 || program[1] != ':') {
            program = manifestFolder + "\\" + program;
        }
        const bool firefox = manifest.contains("allowed_extensions");
        const std::string arguments =
            firefox ? quoteArgument(manifestPath) + " " +
                          manifest["allowed_extensions"][0].get<std::string>()
                    : manifest["allowed_origins"][0].get<std::string>() + " --parent-window=0";
        ProcessResult result = runProcess(program, quoteArgument(program) + " " + arguments,
                                          frame(kInfoRequest) + frame(kListTokensRequest),
                                          program.substr(0, program.rfind('\\')));
        ASSERT_TRUE(result.finished) << browser.name;
        EXPECT_EQ(result.exitCode, 0u) << browser.name;
        EXPECT_EQ(unframe(result.out), (std::vector<std::string>{kStubNoTokenInfo, kStubTokenList}))
            << browser.name << ": " << program << " " << arguments;
        EXPECT_EQ(result.err, "End of input") << browser.name;
    }

    // A product left by an earlier run that was stopped half way, or by a
    // failed test.
    static void removeEveryVantrel() {
        MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
        for (const std::string& code : installedVantrels()) {
            MsiConfigureProductA(code.c_str(), INSTALLLEVEL_DEFAULT, INSTALLSTATE_ABSENT);
        }
    }

    std::string installFolder = programFilesFolder() + "\\Vantrel";
    std::vector<std::string> before;
    std::string stubModule;
};

}  // namespace

TEST_F(InstallerTest, ASilentInstallPlacesTheFilesAndRegistersEveryBrowserAndAnUninstallTakesAll) {
    install(kCurrent);
    expectInstalledFiles();
    expectRegistration();
    const std::string code = productCode(kCurrent);
    EXPECT_TRUE(productInstalled(code));
    std::vector<std::string> now = traces(installFolder);
    EXPECT_NE(std::find(now.begin(), now.end(), "Apps entry " + code), now.end())
        << ::testing::PrintToString(now);
    char version[32] = "";
    DWORD size = sizeof(version);
    EXPECT_EQ(MsiGetProductInfoA(code.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size),
              static_cast<UINT>(ERROR_SUCCESS));
    EXPECT_STREQ(version, VANTREL_MSI_VERSION);

    msiexec("/x " + quoteArgument(package(kCurrent)));
    EXPECT_FALSE(productInstalled(code));
    expectNothingLeft();
}

// The extension packages, once the build gives them, lie in a folder of their
// own beside the host, and go with the rest.
TEST_F(InstallerTest, ExtensionPackagesAreInstalledBesideTheHostAndGoWithIt) {
    install(kWithExtensions);
    expectInstalledFiles("installed-files-extensions");
    EXPECT_EQ(filesUnder(file("extensions")),
              (std::vector<std::string>{"sample-updates.xml", "sample.crx"}));
    expectRegistration();
    msiexec("/x " + quoteArgument(package(kWithExtensions)));
    expectNothingLeft();
}

// The build's packages are installed with the policies that make the
// browsers install the extension from them, in every view the installer
// writes; the uninstall takes the installer's entries and leaves the
// administrator's own under the same keys.
TEST_F(InstallerTest, ThePoliciesInstallTheExtensionFromTheInstalledPackagesAndGoAlone) {
    AdministratorsPolicies own;
    install(kCurrent);
    EXPECT_EQ(filesUnder(file("extensions")),
              (std::vector<std::string>{"chromium-updates.xml", "extension.json",
                                        "firefox-updates.json", "vantrel.crx", "vantrel.xpi"}));
    const std::string updates = readWholeFile(file("extensions\\chromium-updates.xml"));
    EXPECT_NE(updates.find(std::string("appid='") + VANTREL_PACKAGED_EXTENSION_ID + "'"),
              std::string::npos)
        << updates;
    const size_t codebase = updates.find("codebase='");
    ASSERT_NE(codebase, std::string::npos) << updates;
    const size_t start = codebase + std::string("codebase='").size();
    EXPECT_EQ(pathOfFileAddress(updates.substr(start, updates.find('\'', start) - start)),
              file("extensions\\vantrel.crx"));
    for (REGSAM view : kViews) {
        if (!writesView(view)) {
            continue;
        }
        for (const std::string& key : kForcelists) {
            const std::string entry =
                registryStringValue(HKEY_LOCAL_MACHINE, key, kForcelistEntry, view);
            const size_t semicolon = entry.find(';');
            EXPECT_EQ(entry.substr(0, semicolon), VANTREL_PACKAGED_EXTENSION_ID)
                << key << ", " << viewName(view);
            EXPECT_EQ(pathOfFileAddress(entry.substr(semicolon + 1)),
                      file("extensions\\chromium-updates.xml"))
                << key << ", " << viewName(view);
        }
        const nlohmann::json settings = nlohmann::json::parse(
            registryStringValue(HKEY_LOCAL_MACHINE, kFirefoxPolicies, "ExtensionSettings", view));
        ASSERT_EQ(settings.size(), 1u) << settings.dump();
        const nlohmann::json& extension = settings.at(VANTREL_FIREFOX_ADDON_ID);
        EXPECT_EQ(extension.at("installation_mode"), "force_installed");
        EXPECT_EQ(pathOfFileAddress(extension.at("install_url")), file("extensions\\vantrel.xpi"));
    }

    msiexec("/x " + quoteArgument(package(kCurrent)));
    for (REGSAM view : kViews) {
        for (const std::string& key : kForcelists) {
            EXPECT_EQ(registryStringValue(HKEY_LOCAL_MACHINE, key, kForcelistEntry, view), "-")
                << key << ", " << viewName(view);
            EXPECT_EQ(registryStringValue(HKEY_LOCAL_MACHINE, key, "1", view),
                      AdministratorsPolicies::kOwnEntry)
                << key << ", " << viewName(view);
        }
        EXPECT_EQ(
            registryStringValue(HKEY_LOCAL_MACHINE, kFirefoxPolicies, "ExtensionSettings", view),
            "-")
            << viewName(view);
        EXPECT_EQ(
            registryStringValue(HKEY_LOCAL_MACHINE, kFirefoxPolicies, "DisableAppUpdate", view),
            "1")
            << viewName(view);
    }
}

TEST_F(InstallerTest, TheInstalledHostAnswersEachBrowserFromTheManifestItsKeyNames) {
    install(kCurrent);
    addStubModule();
    for (const Browser& browser : kBrowsers) {
        expectHostAnswersFor(browser);
    }
    removeStubModule();
    msiexec("/x " + quoteArgument(package(kCurrent)));
    expectNothingLeft();
}

// The folder given when the first version was installed holds the next one
// too, and goes with the uninstall.
TEST_F(InstallerTest, AFolderGivenOnTheCommandLineHoldsTheHostThroughAnUpgradeAndGoesWithIt) {
    TempFolder root;
    const std::string programFiles = installFolder;
    installFolder = root.file("Vantrel (test)");
    install(kOlder, "INSTALLDIR=" + quoteArgument(installFolder));
    install(kCurrent);
    EXPECT_FALSE(productInstalled(productCode(kOlder)));
    expectInstalledFiles();
    expectRegistration();
    EXPECT_EQ(GetFileAttributesA(programFiles.c_str()), INVALID_FILE_ATTRIBUTES);
    addStubModule();
    expectHostAnswersFor(kBrowsers[0]);
    expectHostAnswersFor(kBrowsers[3]);
    removeStubModule();

    msiexec("/x " + productCode(kCurrent));
    expectNothingLeft();
    EXPECT_EQ(root.list(), std::vector<std::string>{});
}

TEST_F(InstallerTest, AnUpgradeReplacesTheOlderVersionAndKeepsTheAdministratorsConfiguration) {
    install(kOlder);
    const std::string older = productCode(kOlder);
    ASSERT_TRUE(productInstalled(older));
    EXPECT_EQ(readWholeFile(file("README.txt")).rfind("Vantrel " VANTREL_MSI_OLDER_VERSION " ", 0),
              0u);
    const std::string configuration =
        readWholeFile(file("vantrel.cfg")) + "# changed by the administrator\r\n";
    writeWholeFile(file("vantrel.cfg"), configuration);

    install(kCurrent);
    EXPECT_FALSE(productInstalled(older));
    EXPECT_TRUE(productInstalled(productCode(kCurrent)));
    EXPECT_EQ(installedVantrels(), std::vector<std::string>{productCode(kCurrent)});
    EXPECT_EQ(readWholeFile(file("vantrel.cfg")), configuration);
    expectInstalledFiles("installed-files", "vantrel.cfg");
    expectRegistration();

    msiexec("/x " + quoteArgument(package(kCurrent)));
    expectNothingLeft();
}

TEST_F(InstallerTest, AnOlderVersionOrAnotherOfTheSameVersionIsRefused) {
    install(kCurrent);
    for (const std::string& other : {kOlder, kSameVersion}) {
        msiexec("/i " + quoteArgument(package(other)), ERROR_INSTALL_FAILURE);
        EXPECT_FALSE(productInstalled(productCode(other))) << other;
        EXPECT_EQ(installedVantrels(), std::vector<std::string>{productCode(kCurrent)}) << other;
        expectInstalledFiles();
        expectRegistration();
    }
    msiexec("/x " + quoteArgument(package(kCurrent)));
    expectNothingLeft();
}

TEST_F(InstallerTest, ARepairRestoresADeletedHostAndBrowserKeyAndKeepsTheConfiguration) {
    install(kCurrent);
    const std::string code = productCode(kCurrent);
    const std::string configuration = readWholeFile(file("vantrel.cfg")) + "logDir=C:\\\r\n";
    writeWholeFile(file("vantrel.cfg"), configuration);
    const Browser& chrome = kBrowsers[0];
    struct Repair {
        const char* how;
        std::function<void()> run;
    } repairs[] = {
        {"msiexec /i REINSTALL=ALL REINSTALLMODE=pecms",
         [&] { install(kCurrent, "REINSTALL=ALL REINSTALLMODE=pecms"); }},
        {"MsiReinstallProduct",
         [&] {
             MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
             EXPECT_EQ(MsiReinstallProductA(code.c_str(), REINSTALLMODE_FILEMISSING |
                                                              REINSTALLMODE_FILEEQUALVERSION |
                                                              REINSTALLMODE_FILEVERIFY |
                                                              REINSTALLMODE_MACHINEDATA |
                                                              REINSTALLMODE_SHORTCUT),
                       static_cast<UINT>(ERROR_SUCCESS));
         }},
    };
    for (const Repair& repair : repairs) {
        ASSERT_TRUE(DeleteFileA(file("vantrel.exe").c_str()));
        for (REGSAM view : kViews) {
            RegDeleteKeyExA(HKEY_LOCAL_MACHINE, chrome.key, view, 0);
        }
        repair.run();
        EXPECT_EQ(readWholeFile(file("vantrel.exe")),
                  readWholeFile(programFolder() + "\\installed-files\\vantrel.exe"))
            << repair.how;
        EXPECT_EQ(readWholeFile(file("vantrel.cfg")), configuration) << repair.how;
        expectRegistration();
    }
    msiexec("/x " + quoteArgument(package(kCurrent)));
    expectNothingLeft();
}
