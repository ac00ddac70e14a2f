#include "os.h"

#include "TestControl.h"

#include <cstdlib>
#include <limits.h>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>
#include <vector>

namespace os {

bool GetComputerName(std::string& name)
{
    name.clear();
    char buffer[HOST_NAME_MAX + 1] = {};
    if (detail::g_queriesFail || gethostname(buffer, sizeof buffer - 1) != 0 || buffer[0] == '\0')
        return false;
    name = buffer;
    return true;
}

bool GetUserName(std::string& name)
{
    name.clear();
    if (detail::g_queriesFail)
        return false;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_name || found->pw_name[0] == '\0')
        return false;
    name = found->pw_name;
    return true;
}

bool GetModuleFileName(std::string& path)
{
    path.clear();
    if (detail::g_queriesFail)
        return false;
    char buffer[PATH_MAX + 1] = {};
    ssize_t length = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (length <= 0)
        return false;
    path.assign(buffer, static_cast<std::size_t>(length));
    return true;
}

bool GetOsVersion(std::string& text)
{
    text.clear();
    utsname names{};
    if (detail::g_queriesFail || uname(&names) != 0)
        return false;
    text = std::string(names.sysname) + " " + names.release;
    return true;
}

bool GetEnvironmentVariable(const char* name, std::string& value)
{
    value.clear();
    const char* found = name ? std::getenv(name) : nullptr;
    if (!found)
        return false;
    value = found;
    return true;
}

}  // namespace os
