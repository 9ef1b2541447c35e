// Reading and writing a file in one piece, byte for byte (portable: the
// Windows tests use it too).
#pragma once

#include <string>

std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& content);
