// A folder holding a copy of vantrel.exe, as an installation would, and the
// means to start it there the way a browser does: the full path as the program
// name, standard input and output as pipes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "support/windows_support.h"

class HostFolder {
  public:
    HostFolder();

    std::string program() const { return folder.file("vantrel.exe"); }
    const TempFolder& files() const { return folder; }

    // Copies the stub PKCS#11 module in under the given name (a path relative
    // to the folder).
    void addStubModule(const std::string& name = "eTPKCS11.dll") const;
    void writeConfig(const std::string& content) const { folder.write("vantrel.cfg", content); }

    // Sends the bytes and closes the input; the host runs to its end.
    ProcessResult run(const std::string& input) const;
    // Sends each request as one frame.
    ProcessResult exchange(const std::vector<std::string>& requests) const;
    // Starts the host for a conversation of the test's own pace.
    std::unique_ptr<ChildProcess> start() const;

  private:
    TempFolder folder;
};

// The reply texts of a run, in order.
std::vector<std::string> replies(const ProcessResult& result);
