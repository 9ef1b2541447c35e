// Hides PIN values in a JSON text before it is written anywhere.
#pragma once

#include <string>

// Replaces the value of every member named "pin", "oldPIN", "newPIN",
// "adminPIN" or "tokenPIN" by "********". A string value is masked up to its
// closing unescaped quote (to the end of a cut text), a bare scalar up to the
// next ",", "}" or "]"; empty values, objects and lists stay as they are. Keys
// are recognised also when written with escapes.
std::string maskPins(const std::string& text);
