// File operations on Win32, single-byte (A) calls throughout.
#include <windows.h>

#include "platform/files.h"

std::optional<std::string> readWholeFile(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::string bytes;
    char block[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, block, sizeof(block), &got, nullptr) != FALSE) && got > 0)
        bytes.append(block, got);
    CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::string& bytes, bool truncateFallback)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && truncateFallback)
        file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, TRUNCATE_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

bool deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool renameFile(const std::string& from, const std::string& to) { return MoveFileA(from.c_str(), to.c_str()) != FALSE; }

bool createDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

ListResult listFolder(const std::string& pattern, std::vector<std::string>* names)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? ListResult::NothingFound : ListResult::Failed;
    do {
        if (names)
            names->push_back(entry.cFileName);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return ListResult::Listed;
}

FoundEntry findEntry(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA(path.c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    FindClose(search);
    return {true, (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
}
