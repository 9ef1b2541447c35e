#include "support/file_owner.h"

#include <pwd.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

UserIds userIds(const std::string& user) {
    passwd* entry = getpwnam(user.c_str());
    if (entry == nullptr) {
        throw std::runtime_error("no user " + user);
    }
    return {entry->pw_uid, entry->pw_gid};
}

void giveToUser(const std::string& path, const std::string& user) {
    UserIds ids = userIds(user);
    auto change = [&](const std::filesystem::path& item) {
        if (lchown(item.c_str(), ids.uid, ids.gid) != 0) {
            throw std::runtime_error("cannot hand " + item.string() + " to " + user);
        }
    };
    change(path);
    if (std::filesystem::is_directory(path)) {
        for (const auto& item : std::filesystem::recursive_directory_iterator(path)) {
            change(item.path());
        }
    }
}
