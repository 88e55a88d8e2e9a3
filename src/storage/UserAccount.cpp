#include "storage/UserAccount.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

std::optional<UserAccount> ThisUser()
{
    const long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 4096);
    passwd entry {};
    passwd* pFound = nullptr;
    // A buffer too small for the entry is grown until it holds it.
    while (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &pFound) == ERANGE && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (!pFound)
        return std::nullopt;
    return UserAccount { pFound->pw_name ? pFound->pw_name : "", pFound->pw_dir ? pFound->pw_dir : "" };
}
