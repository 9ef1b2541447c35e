// Looks for PINs where they must never be: the host's log files and what it
// wrote on standard error.
//
// A PinWatch learns the PINs from the requests a test sends (every string
// member named pin, oldPIN, newPIN, adminPIN or tokenPIN, also in a request
// that is cut short or is not JSON at all), or from add(), and reports any of
// them found in a text or in the files of a folder. A PIN counts as found in
// its JSON string form, quotes included, as a request would carry it; PINs of
// four characters or more also as bare text that is not part of a longer word
// or number (shorter ones, and longer ones inside serial numbers, timestamps,
// base64 or the six decimals of a reply's numbers, occur by chance).
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>

class PinWatch {
  public:
    // Records the PINs of one request text (anything the test sent).
    void recordRequest(const std::string& text);
    // Records one PIN as the host receives it, decoded.
    void add(const std::string& pin);
    const std::set<std::string>& pins() const { return known; }

    // A description of the first PIN found in `text`, or "" when there is none.
    std::string findIn(const std::string& text) const;
    // Success when no PIN occurs in `stderrText` nor in any file under `folder`
    // (which may be missing).
    ::testing::AssertionResult nothingLeaked(const std::string& folder,
                                             const std::string& stderrText) const;

  private:
    std::set<std::string> known;     // decoded values
    std::set<std::string> literals;  // as written inside the quotes of a request
};
