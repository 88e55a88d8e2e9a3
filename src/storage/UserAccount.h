#pragma once

#include <optional>
#include <string>

// The user this program runs as, as the password database names it.
struct UserAccount
{
    std::string name;
    std::string home;
};

// Looked up with getpwuid_r, so any thread may ask; nothing when the database has no entry.
std::optional<UserAccount> ThisUser();
