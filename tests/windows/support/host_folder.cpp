#include "support/host_folder.h"

#include <memory>

HostFolder::HostFolder() {
    copyFile(programFolder() + "\\vantrel.exe", program());
}

void HostFolder::addStubModule(const std::string& name) const {
    copyFile(programFolder() + "\\eTPKCS11.dll", folder.file(name));
}

ProcessResult HostFolder::run(const std::string& input) const {
    return runProcess(program(), quoteArgument(program()), input, folder.path());
}

ProcessResult HostFolder::exchange(const std::vector<std::string>& requests) const {
    std::string input;
    for (const std::string& request : requests) {
        input += frame(request);
    }
    return run(input);
}

std::unique_ptr<ChildProcess> HostFolder::start() const {
    return std::make_unique<ChildProcess>(program(), quoteArgument(program()), folder.path());
}

std::vector<std::string> replies(const ProcessResult& result) {
    return unframe(result.out);
}
