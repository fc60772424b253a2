#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include <cstdlib>

#include "app/startup.h"
#include "platform/scripted_ui.h"
#include "store/builtin_skins.h"
#include "store/picture.h"
#include "store/picture_files.h"
#include "ui_events.h"

namespace fs = std::filesystem;

namespace {

const std::string DEFAULT_SETTINGS("[General]\r\nprograms = 5\r\nradius = 100\r\nskin = skin1\r\n");

std::optional<std::string> fileBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetScriptedUi();
        releaseAllPictures();
        char pattern[] = "/tmp/velquor-startup-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home = pattern;
        scriptedUi.profileFolder = home.string() + "\\";
        data = home / "velquor_ZV";
    }
    void TearDown() override
    {
        releaseAllPictures();
        fs::remove_all(home);
    }

    // Runs the program until it ends; the exit code it ended with.
    static int run()
    {
        try {
            startup();
        } catch (const ProcessEnded& ended) {
            return ended.exitCode;
        }
        ADD_FAILURE() << "startup returned without ending the process";
        return -1;
    }

    static std::ptrdiff_t indexOf(const std::string& line)
    {
        const auto& log = scriptedUi.log;
        const auto it = std::find(log.begin(), log.end(), line);
        return it == log.end() ? -1 : it - log.begin();
    }

    fs::path home;
    fs::path data;
};

TEST_F(Startup, FirstRunInstallsOpensTheHiddenRingAndWritesTheSettingsAtTheEnd)
{
    scriptedUi.events = {closeRequest()};
    // What the buttons show and whether data.ini exists, seen while the loop runs.
    std::map<int, ScriptedControl> buttons;
    std::optional<bool> settingsDuringLoop;
    scriptedUi.onCall = [&](const std::string& line) {
        if (line == "waitEvent 100") {
            buttons = scriptedUi.controls;
            settingsDuringLoop = fs::exists(data / "data.ini");
        }
    };

    EXPECT_EQ(run(), 0);

    EXPECT_TRUE(fs::is_directory(data));
    EXPECT_TRUE(fs::is_directory(data / "Skins"));
    for (const char* name : {"skin1_l1", "skin1_l2", "skin1_l3", "skin2_l1", "skin2_l2", "skin2_l3"})
        EXPECT_TRUE(fs::is_regular_file(data / "Skins" / name)) << name;
    ASSERT_EQ(settingsDuringLoop, std::optional<bool>(false));
    EXPECT_EQ(fileBytes(data / "data.ini"), DEFAULT_SETTINGS);
    EXPECT_EQ(DEFAULT_SETTINGS.size(), 53u);

    // The ring at the hidden position, owned by the anchor.
    const std::ptrdiff_t anchor = indexOf("openWindow 1 0 0 0 0 0 -1 ");
    const std::ptrdiff_t ring = indexOf("openWindow 0 1 0 -264 264 264 1 ");
    ASSERT_GE(anchor, 0);
    ASSERT_GT(ring, anchor);
    EXPECT_EQ(scriptedCalls("openWindow").size(), 2u);

    const std::optional<Picture> emptyLayer = decodePng(std::string(builtinSkinPng(1, 3)));
    ASSERT_TRUE(emptyLayer);
    ASSERT_EQ(buttons.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        const ScriptedControl& button = buttons.at(i);
        EXPECT_EQ(button.window, RING_WINDOW);
        EXPECT_EQ(button.tooltip, "leer");
        ASSERT_TRUE(button.picture);
        EXPECT_EQ(button.picture->pixels, emptyLayer->pixels);
    }

    // The menu after the ring, the loop after the menu, release and exit last.
    const std::ptrdiff_t menu = indexOf("createPopupMenu 0");
    const std::ptrdiff_t wait = indexOf("waitEvent 100");
    EXPECT_GT(menu, ring);
    EXPECT_GT(wait, menu);
    EXPECT_EQ(scriptedUi.log.front(), "initPlatform");
    const std::vector<std::string> tail(scriptedUi.log.end() - 4, scriptedUi.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"closeWindow 0", "closeWindow 1", "releasePlatform", "endProcess 0"}));
    EXPECT_TRUE(scriptedCalls("messageBox").empty());
    EXPECT_EQ(pictureOf(EMPTY_LAYER), nullptr); // every picture released
}

TEST_F(Startup, DataFolderBlockedByAFileShowsOnlyTheMessage)
{
    std::ofstream(data).put('x');

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(scriptedCalls("messageBox"),
              (std::vector<std::string>{"messageBox Error|Das Programm hat keine Rechte Informationen auf dem "
                                        "Computer zu speichern. Dies ist aber notwendig f\xFCr den Betrieb!|ok"}));
    EXPECT_TRUE(scriptedCalls("openWindow").empty());
    EXPECT_TRUE(scriptedCalls("closeWindow").empty());
    EXPECT_TRUE(scriptedCalls("waitEvent").empty());
    EXPECT_EQ(scriptedUi.log.back(), "endProcess 0");
    // Nothing written: the profile folder holds only the file in the way.
    EXPECT_EQ(std::distance(fs::directory_iterator(home), fs::directory_iterator()), 1);
    EXPECT_EQ(fileBytes(data), "x");
}

TEST_F(Startup, ExistingFolderWithoutSkinsLoadsSettingsAndSlots)
{
    fs::create_directory(data);
    std::ofstream(data / "data.ini", std::ios::binary) << "[general]\r\nprograms = 1\r\nradius = 10\r\nskin = mine\r\n";
    std::ofstream(data / "icon_1_p.zv", std::ios::binary) << "C:\\Tools\\edit.exe\r\nedit.exe\r\n" << '\0';
    scriptedUi.events = {closeRequest()};
    std::map<int, ScriptedControl> buttons;
    scriptedUi.onCall = [&](const std::string& line) {
        if (line == "waitEvent 100")
            buttons = scriptedUi.controls;
    };

    EXPECT_EQ(run(), 0);

    // radius 10 reads as 64: side 192, two slots.
    EXPECT_GE(indexOf("openWindow 0 1 0 -192 192 192 1 "), 0);
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons.at(0).tooltip, "leer");
    EXPECT_EQ(buttons.at(1).tooltip, "edit.exe");
    // No layers and no face file: both buttons show nothing.
    EXPECT_FALSE(buttons.at(0).picture);
    EXPECT_FALSE(buttons.at(1).picture);
    EXPECT_FALSE(fs::exists(data / "Skins"));
    EXPECT_EQ(fileBytes(data / "data.ini"), std::string("[General]\r\nprograms = 1\r\nradius = 64\r\nskin = mine\r\n"));
}

TEST_F(Startup, AddedSlotThenQuitReachesTheSettingsFile)
{
    scriptedUi.events = {menuEvent(2), menuEvent(3)};

    EXPECT_EQ(run(), 0);

    EXPECT_EQ(fileBytes(data / "data.ini"), std::string("[General]\r\nprograms = 6\r\nradius = 110\r\nskin = skin1\r\n"));
    EXPECT_FALSE(fs::exists(data / "icon_6_p.zv"));
    EXPECT_EQ(scriptedUi.log.back(), "endProcess 0");
}

TEST_F(Startup, RunsAgainFromAFreshStateAfterAnEarlierRun)
{
    scriptedUi.events = {menuEvent(2), menuEvent(3)};
    ASSERT_EQ(run(), 0);
    resetScriptedUi();
    scriptedUi.profileFolder = home.string() + "\\";
    scriptedUi.events = {closeRequest()};

    EXPECT_EQ(run(), 0);

    // Seven slots from the saved count, not left over from the first run.
    EXPECT_EQ(scriptedCalls("createPictureControl").size(), 7u);
    EXPECT_GE(indexOf("openWindow 0 1 0 -284 284 284 1 "), 0);
}

} // namespace
