// File operations with Win32 semantics, implemented for Win32 and for POSIX.
// Paths use backslashes; the POSIX side maps them to slashes.
#pragma once

#include <optional>
#include <string>
#include <vector>

// Whole file for reading (shared for reading); nullopt when it cannot be opened.
std::optional<std::string> readWholeFile(const std::string& path);
// Creates the file or replaces its content (create-always); when creating
// fails and truncateFallback is set, an existing file is opened and truncated.
bool writeWholeFile(const std::string& path, const std::string& bytes, bool truncateFallback = false);
bool deleteFile(const std::string& path);
// Never replaces an existing target.
bool renameFile(const std::string& from, const std::string& to);
// Creates one folder; fails when it exists or its parent is missing.
bool createDirectory(const std::string& path);

enum class ListResult { Listed, NothingFound, Failed };
// FindFirstFileA/FindNextFileA over a pattern "folder\*.*": Listed with every
// name (".", ".." included where the system reports them), NothingFound when
// the search fails with ERROR_FILE_NOT_FOUND, Failed otherwise.
ListResult listFolder(const std::string& pattern, std::vector<std::string>* names);

struct FoundEntry {
    bool found = false;
    bool isDirectory = false;
};
// FindFirstFileA on one exact name.
FoundEntry findEntry(const std::string& path);
