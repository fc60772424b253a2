// File operations with the Win32 behaviour the program relies on, for the
// native tests: backslashes become slashes, folders are neither read nor
// written as files, renames never replace and a folder is created only once.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/files.h"

namespace {

std::string nativePath(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool writeAll(int fd, const std::string& bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

std::optional<std::string> readWholeFile(const std::string& path)
{
    const int fd = open(nativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    std::string bytes;
    char block[65536];
    for (;;) {
        const ssize_t n = read(fd, block, sizeof(block));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(block, static_cast<std::size_t>(n));
    }
    close(fd);
    return bytes;
}

bool writeWholeFile(const std::string& path, const std::string& bytes, bool truncateFallback)
{
    const std::string native = nativePath(path);
    int fd = open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    // The fallback serves files that may be written but not read.
    if (fd < 0 && truncateFallback)
        fd = open(native.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = writeAll(fd, bytes);
    return close(fd) == 0 && ok;
}

bool deleteFile(const std::string& path) { return unlink(nativePath(path).c_str()) == 0; }

bool renameFile(const std::string& from, const std::string& to)
{
    const std::string source = nativePath(from);
    const std::string target = nativePath(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // A file system without RENAME_NOREPLACE: link() refuses an existing target too.
    return link(source.c_str(), target.c_str()) == 0 && unlink(source.c_str()) == 0;
}

bool createDirectory(const std::string& path) { return mkdir(nativePath(path).c_str(), 0777) == 0; }

ListResult listFolder(const std::string& pattern, std::vector<std::string>* names)
{
    const std::string native = nativePath(pattern);
    const std::size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    const std::string mask = slash == std::string::npos ? native : native.substr(slash + 1);
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return ListResult::Failed;
    bool any = false;
    while (const dirent* entry = readdir(dir)) {
        // "*.*" matches every name on Windows, those without a dot included.
        if (mask != "*.*" && fnmatch(mask.c_str(), entry->d_name, 0) != 0)
            continue;
        any = true;
        if (names)
            names->push_back(entry->d_name);
    }
    closedir(dir);
    return any ? ListResult::Listed : ListResult::NothingFound;
}

FoundEntry findEntry(const std::string& path)
{
    struct stat info;
    if (stat(nativePath(path).c_str(), &info) != 0)
        return {};
    return {true, S_ISDIR(info.st_mode)};
}
