// Shared ground for the face, skin and command tests: a fresh profile folder,
// the built-in skins as layers, and a log of file effects interleaved with the
// calls into the user interface.
#pragma once

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/scripted_ui.h"
#include "skin/face.h"
#include "store/builtin_skins.h"
#include "store/picture.h"
#include "store/picture_files.h"
#include "store/settings.h"
#include "store/slot_table.h"

namespace skintest {

inline std::optional<Picture> builtinLayer(int skin, int layer)
{
    return decodePng(std::string(builtinSkinPng(skin, layer)));
}

inline void useBuiltinSkin(int skin)
{
    for (int layer = 1; layer <= 3; ++layer)
        putPicture(layer - 1, builtinLayer(skin, layer));
}

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

// PNG colour type: the byte after width, height and bit depth in IHDR.
inline int pngColourType(const std::string& png) { return png.size() > 25 ? static_cast<unsigned char>(png[25]) : -1; }

// An icon of the given size: a colour per pixel that never is the key colour,
// with the key colour in a one-pixel frame and at (3, 2).
inline Picture testIcon(int w, int h)
{
    Picture p = makePicture(w, h, false);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint8_t* px = &p.pixels[(static_cast<std::size_t>(y) * w + x) * 3];
            const bool key = x == 0 || y == 0 || x == w - 1 || y == h - 1 || (x == 3 && y == 2);
            px[0] = key ? KEY_LEVEL : static_cast<std::uint8_t>(40 + (x * 2) % 200);
            px[1] = key ? KEY_LEVEL : static_cast<std::uint8_t>(30 + (y * 3) % 200);
            px[2] = key ? KEY_LEVEL : static_cast<std::uint8_t>((x + y) % 2 ? 250 : 5);
        }
    }
    return p;
}

inline const std::uint8_t* pixelAt(const Picture& p, int x, int y)
{
    return &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * channelsOf(p)];
}

// Watches a folder and reports finished writes, deletions and renames in order.
struct FileWatch {
    int fd = -1;
    std::string pendingFrom;
    std::uint32_t pendingCookie = 0;

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
    void drain(std::vector<std::string>& into)
    {
        if (fd < 0)
            return;
        alignas(inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t n = read(fd, buffer, sizeof buffer);
            if (n <= 0)
                return;
            for (char* p = buffer; p < buffer + n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(p);
                const std::string name = e->len ? e->name : "";
                if (e->mask & IN_CLOSE_WRITE)
                    into.push_back("write " + name);
                else if (e->mask & IN_DELETE)
                    into.push_back("delete " + name);
                else if (e->mask & IN_MOVED_FROM) {
                    pendingFrom = name;
                    pendingCookie = e->cookie;
                } else if ((e->mask & IN_MOVED_TO) && e->cookie == pendingCookie)
                    into.push_back("rename " + pendingFrom + " " + name);
                p += sizeof(inotify_event) + e->len;
            }
        }
    }
};

class ProfileTest : public ::testing::Test {
protected:
    std::filesystem::path dir;
    std::filesystem::path data;
    std::filesystem::path skins;
    FileWatch watch;
    std::vector<std::string> effects; // file effects and ui calls, in order

    void SetUp() override
    {
        resetScriptedUi();
        releaseAllPictures();
        char pattern[] = "/tmp/velquor-skin-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        data = dir / "velquor_ZV";
        skins = data / "Skins";
        std::filesystem::create_directories(skins);
        scriptedUi.profileFolder = dir.string() + "\\";
        settings = Settings{};
        allocateSlotTable();
        for (int i = 0; i <= settings.programs; ++i)
            clearSlot(i);
        useBuiltinSkin(1);
    }

    void TearDown() override
    {
        watch.stop();
        scriptedUi.onCall = nullptr;
        releaseAllPictures();
        slotTable.clear();
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    // From here on, effects collects file events and ui calls in their order.
    void recordEffects()
    {
        watch.start(data);
        scriptedUi.onCall = [this](const std::string& line) {
            watch.drain(effects);
            if (line != "shellProfileFolder")
                effects.push_back(line);
        };
    }
    std::vector<std::string> fileEffects()
    {
        watch.drain(effects);
        std::vector<std::string> files;
        for (const std::string& e : effects)
            if (e.rfind("write ", 0) == 0 || e.rfind("delete ", 0) == 0 || e.rfind("rename ", 0) == 0)
                files.push_back(e);
        return files;
    }

    void installBuiltinSkinFiles()
    {
        const char* names[] = {"skin1", "skin2"};
        for (int skin = 1; skin <= 2; ++skin)
            for (int layer = 1; layer <= 3; ++layer)
                writeBytes(skins / (std::string(names[skin - 1]) + "_l" + std::to_string(layer)),
                           std::string(builtinSkinPng(skin, layer)));
    }

    // Binds slot n through the shell double with an icon of the given size.
    void bind(int n, const std::string& path, int iconSize = 32)
    {
        scriptedUi.shellIcons[path] = testIcon(iconSize, iconSize);
        ASSERT_TRUE(assignSlot(path, n));
    }

    // The ui calls without the profile folder look-ups that every path makes.
    static std::vector<std::string> uiLog()
    {
        std::vector<std::string> calls;
        for (const std::string& line : scriptedUi.log)
            if (line != "shellProfileFolder")
                calls.push_back(line);
        return calls;
    }

    std::filesystem::path file(const std::string& name) const { return data / name; }
    bool exists(const std::string& name) const { return std::filesystem::exists(data / name); }
    std::vector<std::string> dataFiles() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(data))
            if (e.is_regular_file())
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

} // namespace skintest
