#include "interop/p11kit_configuration.h"

#include <filesystem>
#include <stdexcept>

#include "interop/modules.h"
#include "support/file_owner.h"

namespace interop {

P11KitConfiguration::P11KitConfiguration()
    : homeVariable("HOME", folder.path()), user(runningAsRoot() ? "nobody" : "") {
    std::filesystem::create_directories(modulesFolder());
    folder.write(".config/pkcs11/pkcs11.conf", "user-config: only\n");
}

std::string P11KitConfiguration::proxyModule() {
    return p11KitProxyModule();
}

void P11KitConfiguration::addModule(const std::string& name, const std::string& path,
                                    const std::string& extraLines) const {
    writeWholeFile(modulesFolder() + "/" + name + ".module", "module: " + path + "\n" + extraLines);
    shareWithHost(home());
}

std::string P11KitConfiguration::privateCopy(const std::string& modulePath) const {
    std::filesystem::create_directories(folder.file("copies"));
    std::string copy =
        folder.file("copies/" + std::filesystem::path(modulePath).filename().string());
    std::filesystem::copy_file(modulePath, copy, std::filesystem::copy_options::overwrite_existing);
    shareWithHost(home());
    return copy;
}

void P11KitConfiguration::addFaultModule(const std::string& name, const FaultModule& fault) const {
    shareWithHost(std::filesystem::path(fault.rulesPath()).parent_path());
    addModule(name, FaultModule::path());
}

void P11KitConfiguration::shareWithHost(const std::string& path) const {
    if (!user.empty()) {
        giveToUser(path, user);
    }
}

HostSettings P11KitConfiguration::hostSettings() const {
    HostSettings settings;
    settings.pkcs11Library = proxyModule();
    settings.user = user;
    return settings;
}

}  // namespace interop
