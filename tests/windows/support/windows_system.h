// The registry and the system programs of the test's Wine prefix, as the
// tests of packaging/windows use them. `view` is KEY_WOW64_32KEY or
// KEY_WOW64_64KEY: HKLM\Software has both on 64-bit Windows.
#pragma once

#include <windows.h>

#include <string>

#include "support/windows_support.h"

// A key's default value; "-" when the key is missing, "?" when the value is
// not a string.
std::string registryDefaultValue(HKEY hive, const std::string& key, REGSAM view);
// A named value likewise, "-" also when the key lacks it ("" names the
// default value, which is "?" then, as above).
std::string registryStringValue(HKEY hive, const std::string& key, const std::string& name,
                                REGSAM view);
// Sets a string value, making the key when it is missing.
void setRegistryString(HKEY hive, const std::string& key, const std::string& name,
                       const std::string& value, REGSAM view);
// Deletes a named value; a missing one counts as deleted.
void deleteRegistryValue(HKEY hive, const std::string& key, const std::string& name, REGSAM view);
bool registryKeyExists(HKEY hive, const std::string& key, REGSAM view);
// Deletes the key when it holds neither values nor subkeys, then each of its
// parents likewise, stopping at the first that is not empty (a key that is not
// there counts as deleted).
void deleteEmptyKeys(HKEY hive, const std::string& key, REGSAM view);

// A program of the Windows system folder (cmd.exe, reg.exe, msiexec.exe).
std::string systemProgram(const std::string& name);
// Runs one with the arguments (quoted as they need) in `folder`, with nothing
// on its input, and waits up to `timeoutMs` for it.
ProcessResult runSystemProgram(const std::string& name, const std::string& arguments,
                               const std::string& folder, uint32_t timeoutMs = 60000);
