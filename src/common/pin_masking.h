// Hides PIN values in a JSON text before it is written anywhere.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Replaces the whole value of every member named "pin", "oldPIN", "newPIN",
// "adminPIN" or "tokenPIN" (letters of either case) by "********": a string
// up to its closing unescaped quote, a list or an object up to the bracket
// that closes it (brackets inside strings do not count), a bare scalar up to
// the next ",", "}" or "]"; a value that the text cuts off is masked to its
// end. Empty strings stay as they are. Keys are recognised also when written
// with escapes. The result holds no byte of a PIN value, so it needs no
// wiping.
std::string maskPins(std::string_view text);
// The same text, handed to `write` in pieces as it is masked, so that a large
// request can be logged without a masked copy of the whole of it.
void writeMaskedPins(std::string_view text, const std::function<void(std::string_view)>& write);

// For a message that does not parse as a JSON object, whose keys may be
// mistyped ('pin', pin, "pin"=...) where the masking above cannot see them:
// the text masked as above, then cut at the first of the five names, in any
// context and letters of either case, with "********" in place of the rest.
std::string maskPinsOfUnparsable(std::string_view text);
void writeMaskedPinsOfUnparsable(std::string_view text,
                                 const std::function<void(std::string_view)>& write);
