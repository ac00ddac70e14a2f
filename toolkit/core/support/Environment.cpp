#include "core/support/Environment.h"

#include <os.h>

#include <ctime>

namespace QEL {

std::string MakeTempFilePath(const std::string& fileName)
{
    std::string directory;
    if (os::GetEnvironmentVariable("QEL_TEMP", directory) ||
        os::GetEnvironmentVariable("TMP", directory))
        return directory + "/" + fileName;
    return fileName;
}

std::string GetFullPath(const char* path)
{
    std::string fullPath;
    os::GetFullPath(path, fullPath);
    return fullPath;
}

std::string GetDateTimeText()
{
    char buffer[1024] = {};
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local))
        return std::string();
    std::strftime(buffer, sizeof buffer, "%d-%b-%y %X %z", &local);
    return buffer;
}

std::string GetPlatformName() { return "Win32"; }

std::string GetBuildType() { return "RELEASE"; }

std::string GetComputerNameText()
{
    std::string name;
    return os::GetComputerName(name) ? name : "Unknown";
}

std::string GetUserNameText()
{
    std::string name;
    return os::GetUserName(name) ? name : "Unknown";
}

std::string GetApplicationFileName()
{
    std::string path;
    if (!os::GetModuleFileName(path))
        return std::string();
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string GetOsVersionText()
{
    std::string text;
    os::GetOsVersion(text);
    return text;
}

}  // namespace QEL
