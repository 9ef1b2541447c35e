#include "support/softhsm.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "support/run_tool.h"

namespace {

std::string afterColon(const std::string& line) {
    size_t colon = line.find(':');
    std::string value = line.substr(colon + 1);
    size_t start = value.find_first_not_of(' ');
    size_t end = value.find_last_not_of(' ');
    return start == std::string::npos ? "" : value.substr(start, end - start + 1);
}

}  // namespace

SoftHsm::SoftHsm() : conf(folder.file("softhsm2.conf")), confVariable("SOFTHSM2_CONF", conf) {
    std::filesystem::create_directory(tokenDir());
    folder.write("softhsm2.conf", "directories.tokendir = " + tokenDir() +
                                      "\nobjectstore.backend = file\nlog.level = ERROR\n");
}

SoftHsmToken SoftHsm::createToken(const std::string& label, const std::string& soPin,
                                  const std::string& userPin) const {
    std::string output = runTool({"softhsm2-util", "--init-token", "--free", "--label", label,
                                  "--so-pin", soPin, "--pin", userPin});
    const std::string marker = "reassigned to slot ";
    size_t at = output.find(marker);
    if (at == std::string::npos) {
        throw std::runtime_error("unexpected softhsm2-util output: " + output);
    }
    SoftHsmToken token;
    token.slot = std::stoul(output.substr(at + marker.size()));
    token.label = label;
    token.soPin = soPin;
    token.userPin = userPin;
    for (const SoftHsmSlot& slot : slots()) {
        if (slot.slot == token.slot) {
            token.serial = slot.serial;
        }
    }
    if (token.serial.empty()) {
        throw std::runtime_error("softhsm2-util does not list the new token");
    }
    return token;
}

std::vector<SoftHsmSlot> SoftHsm::slots() const {
    std::istringstream output(runTool({"softhsm2-util", "--show-slots"}));
    std::vector<SoftHsmSlot> slots;
    std::string line;
    while (std::getline(output, line)) {
        if (line.rfind("Slot ", 0) == 0) {
            slots.emplace_back();
            slots.back().slot = std::stoul(line.substr(5));
        } else if (slots.empty()) {
            continue;
        } else if (line.find("Serial number:") != std::string::npos) {
            slots.back().serial = afterColon(line);
        } else if (line.find("Initialized:") != std::string::npos) {
            slots.back().initialized = afterColon(line) == "yes";
        } else if (line.find("Label:") != std::string::npos) {
            slots.back().label = afterColon(line);
        }
    }
    return slots;
}

CK_SLOT_ID SoftHsm::blankSlot() const {
    for (const SoftHsmSlot& slot : slots()) {
        if (!slot.initialized) {
            return slot.slot;
        }
    }
    throw std::runtime_error("SoftHSM2 lists no blank slot");
}
