#include "os.h"

#include "TestControl.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace os {

namespace fs = std::filesystem;

bool GetFullPath(const char* path, std::string& fullPath)
{
    fullPath.clear();
    if (!path || detail::g_queriesFail)
        return false;
    std::error_code error;
    // An empty path names the working directory, as a relative path of no components would.
    fs::path absolute = path[0] == '\0' ? fs::current_path(error) : fs::absolute(path, error);
    if (error)
        return false;
    fullPath = absolute.lexically_normal().string();
    return !fullPath.empty();
}

bool GetWorkingDirectory(std::string& directory)
{
    directory.clear();
    if (detail::g_queriesFail)
        return false;
    std::error_code error;
    fs::path current = fs::current_path(error);
    if (error)
        return false;
    directory = current.string();
    return true;
}

bool ChangeDirectory(const char* directory)
{
    return directory && directory[0] != '\0' && chdir(directory) == 0;
}

}  // namespace os
