#include "support/windows_system.h"

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
    HKEY opened;
    if (RegOpenKeyExA(hive, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) {
        return "-";
    }
    char value[1024];
    DWORD size = sizeof(value);
    DWORD type = 0;
    LONG rc =
        RegQueryValueExA(opened, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(opened);
    if (rc != ERROR_SUCCESS || type != REG_SZ) {
        return "?";
    }
    return std::string(value, size > 0 && value[size - 1] == '\0' ? size - 1 : size);
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
