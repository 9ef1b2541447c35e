// packaging/windows/managed-settings.reg imported with reg.exe as an
// administrator imports it, and read back with reg query: each browser's key
// and each value where the tables of packaging/windows/README.md put them,
// and each browser's reading of them giving the settings the example means.
// Chrome, Chromium and Edge convert registry values after the extension's
// schema (their registry policy loader); Firefox turns registry types into
// JSON without a schema (its policy parser for Windows).
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "support/windows_system.h"

namespace {

// What the example sets, as the extension must receive it from every browser.
const nlohmann::json kExampleSettings = nlohmann::json::parse(R"({
    "allowedOrigins": ["https://sign.example.com", "https://intranet.example.org:8443"],
    "requestTimeoutSeconds": 60,
    "loginIdleMinutes": 30,
    "pinFromPage": false,
    "confirmEachSignature": true,
    "allowLocalOrigins": false,
    "pagesListCertificates": false
})");

struct DocumentedKey {
    std::string browser;
    std::string path;
    bool firefox() const { return browser == "Firefox"; }
};

struct DocumentedValue {
    std::string name;
    std::string chromiumType;
    std::string firefoxType;
};

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(' ');
    size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, last - first + 1);
}

std::vector<std::string> tableCells(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream parts(line.substr(1));
    std::string cell;
    while (std::getline(parts, cell, '|')) {
        cells.push_back(trimmed(cell));
    }
    return cells;
}

// The text between the first pair of backticks of a cell.
std::string betweenBackticks(const std::string& cell) {
    size_t open = cell.find('`');
    size_t close = cell.find('`', open + 1);
    return open == std::string::npos || close == std::string::npos
               ? ""
               : cell.substr(open + 1, close - open - 1);
}

// "subkey", or the registry type a cell of the value table names.
std::string documentedType(const std::string& cell) {
    if (cell.rfind("subkey", 0) == 0) {
        return "subkey";
    }
    size_t start = cell.find("REG_");
    return start == std::string::npos ? "" : cell.substr(start, cell.find('`', start) - start);
}

class ManagedSettingsDocumentation {
  public:
    explicit ManagedSettingsDocumentation(const std::string& readme) {
        size_t start = readme.find("\n## Managed settings");
        size_t end = readme.find("\n## ", start + 1);
        std::istringstream section(readme.substr(start, end - start));
        for (std::string line; std::getline(section, line);) {
            if (line.rfind("| ", 0) != 0) {
                continue;
            }
            std::vector<std::string> cells = tableCells(line);
            if (cells.size() >= 2 &&
                betweenBackticks(cells[1]).rfind("Software\\Policies\\", 0) == 0) {
                keys.push_back({cells[0], betweenBackticks(cells[1])});
            } else if (cells.size() >= 3 && !betweenBackticks(cells[0]).empty() &&
                       !documentedType(cells[1]).empty()) {
                values.push_back({betweenBackticks(cells[0]), documentedType(cells[1]),
                                  documentedType(cells[2])});
            }
        }
    }

    std::vector<DocumentedKey> keys;
    std::vector<DocumentedValue> values;
};

struct RegistryValueText {
    std::string type;
    std::string data;
};

// One key of reg query's listing: its values in the order listed, and the
// names of its subkeys.
struct RegistryKeyText {
    std::vector<std::pair<std::string, RegistryValueText>> values;
    std::set<std::string> subkeys;
};

// `reg query HKLM\<key> /s`, by key path relative to `key` ("" for the key
// itself).
std::map<std::string, RegistryKeyText> queryTree(const std::string& key,
                                                 const std::string& folder) {
    const std::string root = "HKEY_LOCAL_MACHINE\\" + key;
    ProcessResult result =
        runSystemProgram("reg.exe", "query " + quoteArgument(root) + " /s", folder);
    EXPECT_EQ(result.exitCode, 0u) << key << ": " << result.err;
    std::map<std::string, RegistryKeyText> tree;
    std::string current;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.rfind("HKEY_", 0) == 0) {
            current = line.substr(std::min(line.size(), root.size() + 1));
            tree[current];
            size_t cut = current.rfind('\\');
            if (!current.empty()) {
                tree[cut == std::string::npos ? "" : current.substr(0, cut)].subkeys.insert(
                    cut == std::string::npos ? current : current.substr(cut + 1));
            }
            continue;
        }
        size_t typeAt = line.find("    REG_");
        if (line.rfind("    ", 0) != 0 || typeAt == std::string::npos) {
            continue;
        }
        std::string rest = line.substr(typeAt + 4);
        size_t dataAt = rest.find("    ");
        tree[current].values.push_back(
            {line.substr(4, typeAt - 4),
             {rest.substr(0, dataAt), dataAt == std::string::npos ? "" : rest.substr(dataAt + 4)}});
    }
    return tree;
}

const RegistryValueText* findValue(const RegistryKeyText& key, const std::string& name) {
    for (const auto& [valueName, value] : key.values) {
        if (valueName == name) {
            return &value;
        }
    }
    return nullptr;
}

// The JSON type the extension's schema gives a setting, or, for a setting the
// schema does not list yet, the type of the example's value.
std::string schemaType(const nlohmann::json& schema, const std::string& name) {
    const nlohmann::json& properties = schema["properties"];
    if (properties.contains(name)) {
        return properties[name]["type"];
    }
    if (!kExampleSettings.contains(name)) {
        return "";
    }
    const nlohmann::json& example = kExampleSettings[name];
    return example.is_array() ? "array" : example.is_boolean() ? "boolean" : "number";
}

// Chromium's registry policy loader: a REG_DWORD becomes a boolean (non-zero)
// or a number as the schema says, a subkey with numbered values a list, and
// REG_MULTI_SZ is not read at all.
nlohmann::json asChromiumReadsIt(const std::map<std::string, RegistryKeyText>& tree,
                                 const nlohmann::json& schema) {
    nlohmann::json settings = nlohmann::json::object();
    for (const auto& [name, value] : tree.at("").values) {
        const std::string type = schemaType(schema, name);
        if (value.type == "REG_DWORD") {
            unsigned long number = std::stoul(value.data, nullptr, 16);
            settings[name] = type == "boolean" ? nlohmann::json(number != 0)
                                               : nlohmann::json(static_cast<double>(number));
        } else if (value.type == "REG_SZ" && type == "string") {
            settings[name] = value.data;
        }
    }
    for (const std::string& subkey : tree.at("").subkeys) {
        std::map<int, std::string> items;
        for (const auto& [name, value] : tree.at(subkey).values) {
            if (name.find_first_not_of("0123456789") == std::string::npos &&
                value.type == "REG_SZ") {
                items[std::stoi(name)] = value.data;
            }
        }
        if (schemaType(schema, subkey) == "array") {
            settings[subkey] = nlohmann::json::array();
            for (const auto& [index, item] : items) {
                settings[subkey].push_back(item);
            }
        }
    }
    return settings;
}

// Firefox's policy parser for Windows: REG_DWORD a number, REG_SZ a string,
// REG_MULTI_SZ parsed as JSON, a subkey whose first value is named 1 a list.
nlohmann::json asFirefoxReadsIt(const std::map<std::string, RegistryKeyText>& tree) {
    auto convert = [](const RegistryValueText& value) -> nlohmann::json {
        if (value.type == "REG_DWORD") {
            return std::stoul(value.data, nullptr, 16);
        }
        if (value.type == "REG_MULTI_SZ") {
            std::string text = value.data;
            for (size_t at = text.find("\\0"); at != std::string::npos; at = text.find("\\0")) {
                text.replace(at, 2, "\n");
            }
            return nlohmann::json::parse(text);
        }
        return value.data;
    };
    nlohmann::json settings = nlohmann::json::object();
    for (const auto& [name, value] : tree.at("").values) {
        settings[name] = convert(value);
    }
    for (const std::string& subkey : tree.at("").subkeys) {
        const RegistryKeyText& list = tree.at(subkey);
        if (list.values.empty() || list.values.front().first != "1") {
            continue;
        }
        settings[subkey] = nlohmann::json::array();
        for (const auto& [index, value] : list.values) {
            settings[subkey].push_back(convert(value));
        }
    }
    return settings;
}

class ManagedSettingsTest : public ::testing::Test {
  protected:
    ManagedSettingsTest()
        : documentation(readWholeFile(programFolder() + "\\README.md")),
          schema(nlohmann::json::parse(readWholeFile(programFolder() + "\\managed-schema.json"))) {}

    void SetUp() override { removeKeys(); }
    void TearDown() override { removeKeys(); }

    void removeKeys() const {
        for (const DocumentedKey& key : documentation.keys) {
            runSystemProgram("reg.exe", "delete " + quoteArgument("HKLM\\" + key.path) + " /f",
                             folder.path());
            for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
                deleteEmptyKeys(HKEY_LOCAL_MACHINE, key.path.substr(0, key.path.rfind('\\')), view);
            }
        }
    }

    TempFolder folder;
    ManagedSettingsDocumentation documentation;
    nlohmann::json schema;
};

}  // namespace

TEST_F(ManagedSettingsTest, TheDocumentationCoversEveryBrowserAndEverySetting) {
    std::vector<std::string> browsers;
    for (const DocumentedKey& key : documentation.keys) {
        browsers.push_back(key.browser);
    }
    EXPECT_EQ(browsers,
              (std::vector<std::string>{"Google Chrome", "Chromium", "Microsoft Edge", "Firefox"}));
    std::set<std::string> documented;
    for (const DocumentedValue& value : documentation.values) {
        documented.insert(value.name);
    }
    for (const auto& [name, property] : schema["properties"].items()) {
        EXPECT_EQ(documented.count(name), 1u) << name << " is in the schema, not in the table";
        EXPECT_EQ(schemaType(schema, name), property["type"]) << name;
    }
    for (const auto& [name, example] : kExampleSettings.items()) {
        EXPECT_EQ(documented.count(name), 1u) << name;
    }
}

TEST_F(ManagedSettingsTest, TheImportedExampleIsWhereTheTablesSayAndReadsAsMeant) {
    ProcessResult imported = runSystemProgram(
        "reg.exe", "import " + quoteArgument(programFolder() + "\\managed-settings.reg"),
        folder.path());
    ASSERT_EQ(imported.exitCode, 0u) << imported.out << imported.err;
    ASSERT_FALSE(documentation.keys.empty());
    for (const DocumentedKey& key : documentation.keys) {
        std::map<std::string, RegistryKeyText> tree = queryTree(key.path, folder.path());
        ASSERT_EQ(tree.count(""), 1u) << key.path;
        std::set<std::string> present;
        for (const auto& [name, value] : tree[""].values) {
            present.insert(name);
        }
        present.insert(tree[""].subkeys.begin(), tree[""].subkeys.end());
        std::set<std::string> expected;
        for (const DocumentedValue& value : documentation.values) {
            expected.insert(value.name);
            const std::string& type = key.firefox() ? value.firefoxType : value.chromiumType;
            if (type == "subkey") {
                ASSERT_EQ(tree.count(value.name), 1u) << key.browser << " " << value.name;
                const RegistryKeyText& list = tree[value.name];
                ASSERT_FALSE(list.values.empty()) << key.browser << " " << value.name;
                for (size_t i = 0; i < list.values.size(); ++i) {
                    EXPECT_EQ(list.values[i].first, std::to_string(i + 1)) << key.browser;
                    EXPECT_EQ(list.values[i].second.type, "REG_SZ") << key.browser;
                }
            } else {
                const RegistryValueText* found = findValue(tree[""], value.name);
                ASSERT_NE(found, nullptr) << key.browser << " " << value.name;
                EXPECT_EQ(found->type, type) << key.browser << " " << value.name;
            }
        }
        EXPECT_EQ(present, expected) << key.browser;
        EXPECT_EQ(key.firefox() ? asFirefoxReadsIt(tree) : asChromiumReadsIt(tree, schema),
                  kExampleSettings)
            << key.browser;
    }
}
