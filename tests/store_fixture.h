// A fresh profile folder per test, helpers for raw file access, and a watch
// that reports finished writes, deletions and renames in their order.
#pragma once

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/scripted_ui.h"
#include "store/picture.h"
#include "store/settings.h"
#include "store/slot_table.h"

namespace storetest {

inline std::optional<std::string> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

struct FileWatch {
    int fd = -1;
    std::string movedFrom;

    void start(const std::filesystem::path& folder)
    {
        fd = inotify_init1(IN_NONBLOCK);
        ASSERT_GE(fd, 0);
        ASSERT_GE(inotify_add_watch(fd, folder.c_str(), IN_CLOSE_WRITE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO), 0);
    }
    void stop()
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
    std::vector<std::string> events()
    {
        std::vector<std::string> found;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return found;
            for (char* p = buffer; p < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                const std::string name = e->len ? e->name : "";
                if (e->mask & IN_CLOSE_WRITE)
                    found.push_back("write " + name);
                else if (e->mask & IN_DELETE)
                    found.push_back("delete " + name);
                else if (e->mask & IN_MOVED_FROM)
                    movedFrom = name;
                else if (e->mask & IN_MOVED_TO)
                    found.push_back("rename " + movedFrom + " " + name);
                p += sizeof(inotify_event) + e->len;
            }
        }
    }
};

class ProfileTest : public ::testing::Test {
protected:
    std::filesystem::path dir;  // the profile folder
    std::filesystem::path data; // its data folder (not created here)
    FileWatch watch;

    void SetUp() override
    {
        resetScriptedUi();
        releaseAllPictures();
        char pattern[] = "/tmp/velquor-store-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        data = dir / "velquor_ZV";
        scriptedUi.profileFolder = dir.string() + "\\";
        settings = Settings{};
        slotTable.clear();
    }

    void TearDown() override
    {
        watch.stop();
        scriptedUi.onCall = nullptr;
        releaseAllPictures();
        slotTable.clear();
        settings = Settings{};
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    void makeDataFolder() { std::filesystem::create_directories(data); }
    bool exists(const std::string& name) const { return std::filesystem::exists(data / name); }
    std::optional<std::string> dataFile(const std::string& name) const { return readBytes(data / name); }
};

} // namespace storetest
