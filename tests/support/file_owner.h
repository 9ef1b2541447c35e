// Handing files to another user, for a child process that runs as that user
// (a host started as "nobody", as p11-kit's user configuration needs).
#pragma once

#include <sys/types.h>

#include <string>

struct UserIds {
    uid_t uid = 0;
    gid_t gid = 0;
};

// Throws when there is no such user.
UserIds userIds(const std::string& user);
// The file, or the folder and everything in it, becomes the user's.
void giveToUser(const std::string& path, const std::string& user);
