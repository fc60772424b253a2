// The Win32 file layer against the shared file-semantics cases.
#include <windows.h>

#include <filesystem>
#include <string>

namespace {

HANDLE blockingHandle = INVALID_HANDLE_VALUE;

std::string makeScratchFolder()
{
    static int serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "velquor-files-" + std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(++serial) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

void removeScratchFolder(const std::string& folder) { std::filesystem::remove_all(folder); }

// A reader that does not share reading: a second open that wants to read is
// refused, one that only writes is let in.
bool blockCreateAlways(const std::string& path)
{
    blockingHandle = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
    return blockingHandle != INVALID_HANDLE_VALUE;
}

void unblockCreateAlways()
{
    if (blockingHandle != INVALID_HANDLE_VALUE)
        CloseHandle(blockingHandle);
    blockingHandle = INVALID_HANDLE_VALUE;
}

} // namespace

#include "../files_semantics_cases.h"
