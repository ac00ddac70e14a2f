#pragma once
// Where debug files go, absolute paths, and the facts about the machine, user and build that
// journal and save-file headers record.

#include <string>

namespace QEL {

// fileName in the directory named by QEL_TEMP, or else TMP; the bare name (that is, in the
// working directory) when neither is set.
std::string MakeTempFilePath(const std::string& fileName);
// The absolute form of a path; empty for a null path or when it cannot be formed.
std::string GetFullPath(const char* path);
// The local time now, as "%d-%b-%y %X %z".
std::string GetDateTimeText();
// "Win32": the platform name of the version record, kept for the file format.
std::string GetPlatformName();
// "RELEASE".
std::string GetBuildType();
// The machine's name, or "Unknown".
std::string GetComputerNameText();
// The user's name, or "Unknown".
std::string GetUserNameText();
// The file name of the running executable, without its directory; empty when unknown.
std::string GetApplicationFileName();
// The operating system's name and release; empty when unknown.
std::string GetOsVersionText();

}  // namespace QEL
