// The POSIX file layer against the shared file-semantics cases.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

std::string blockedFile;

std::string makeScratchFolder()
{
    char folder[] = "/tmp/velquor-files-XXXXXX";
    if (!mkdtemp(folder))
        return "/nonexistent\\";
    return std::string(folder) + "\\";
}

void removeScratchFolder(const std::string& folder)
{
    std::filesystem::remove_all(folder.substr(0, folder.size() - 1));
}

// A write-only file: only an unprivileged user is held to its mode.
bool blockCreateAlways(const std::string& path)
{
    if (geteuid() == 0)
        return false;
    blockedFile = path;
    std::replace(blockedFile.begin(), blockedFile.end(), '\\', '/');
    return chmod(blockedFile.c_str(), 0200) == 0;
}

void unblockCreateAlways()
{
    if (!blockedFile.empty())
        chmod(blockedFile.c_str(), 0600);
    blockedFile.clear();
}

} // namespace

#include "files_semantics_cases.h"
