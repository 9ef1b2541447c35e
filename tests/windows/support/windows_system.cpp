#include "support/windows_system.h"

#include <stdexcept>

namespace {

bool isEmptyKey(HKEY hive, const std::string& key, REGSAM view) {
    HKEY opened;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) {
        return false;
    }
    DWORD subkeys = 0;
    DWORD values = 0;
    LONG rc = RegQueryInfoKeyA(opened, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                               &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(opened);
    return rc == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

}  // namespace

std::string registryDefaultValue(HKEY hive, const std::string& key, REGSAM view) {
    return registryStringValue(hive, key, "", view);
}

std::string registryStringValue(HKEY hive, const std::string& key, const std::string& name,
                                REGSAM view) {
    HKEY opened;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) {
        return "-";
    }
    char value[1024];
    DWORD size = sizeof(value);
    DWORD type = 0;
    LONG rc = RegQueryValueExA(opened, name.empty() ? nullptr : name.c_str(), nullptr, &type,
                               reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    if (rc == ERROR_FILE_NOT_FOUND && !name.empty()) {
        return "-";
    }
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        return "?";
    }
    return std::string(value, size > 0 && value[size - 1] == '\0' ? size - 1 : size);
}

void setRegistryString(HKEY hive, const std::string& key, const std::string& name,
                       const std::string& value, REGSAM view) {
    HKEY opened;
    if (RegCreateKeyExA(hive, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr, &opened,
                        nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot make the key " + key);
    }
    LONG rc = RegSetValueExA(opened, name.c_str(), 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
    if (rc != ERROR_SUCCESS) {
        throw std::runtime_error("cannot set " + key + "\\" + name);
    }
}

void deleteRegistryValue(HKEY hive, const std::string& key, const std::string& name, REGSAM view) {
    HKEY opened;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_SET_VALUE | view, &opened) == ERROR_SUCCESS) {
        RegDeleteValueA(opened, name.c_str());
        RegCloseKey(opened);
    }
}

bool registryKeyExists(HKEY hive, const std::string& key, REGSAM view) {
    HKEY opened;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) {
        return false;
    }
    RegCloseKey(opened);
    return true;
}

void deleteEmptyKeys(HKEY hive, const std::string& key, REGSAM view) {
    for (std::string path = key; !path.empty();) {
        if (registryKeyExists(hive, path, view) &&
            (!isEmptyKey(hive, path, view) ||
             RegDeleteKeyExA(hive, path.c_str(), view, 0) != ERROR_SUCCESS)) {
            return;
        }
        size_t cut = path.find_last_of('\\');
        path = cut == std::string::npos ? "" : path.substr(0, cut);
    }
}

std::string systemProgram(const std::string& name) {
    char folder[MAX_PATH + 1];
    UINT length = GetSystemDirectoryA(folder, sizeof(folder));
    return std::string(folder, length) + "\\" + name;
}

ProcessResult runSystemProgram(const std::string& name, const std::string& arguments,
                               const std::string& folder, uint32_t timeoutMs) {
    std::string program = systemProgram(name);
    return runProcess(program, quoteArgument(program) + " " + arguments, "", folder, timeoutMs);
}
