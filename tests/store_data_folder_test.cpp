#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/scripted_ui.h"
#include "store/builtin_skins.h"
#include "store/data_folder.h"
#include "store/paths.h"
#include "store/picture_files.h"
#include "store_fixture.h"

namespace {

using storetest::ProfileTest;

const char* const ERROR_TEXT =
    "Das Programm hat keine Rechte Informationen auf dem Computer zu speichern. Dies ist aber notwendig f\xFCr den "
    "Betrieb!";

TEST(Paths, ComposedWithADoubledBackslash)
{
    resetScriptedUi();
    scriptedUi.profileFolder = "C:\\Users\\Ann";
    EXPECT_EQ(homeDirectory(), "C:\\Users\\Ann\\");
    EXPECT_EQ(dataFolderPath(), "C:\\Users\\Ann\\\\velquor_ZV\\");
    EXPECT_EQ(settingsFilePath(), "C:\\Users\\Ann\\\\velquor_ZV\\data.ini");
    EXPECT_EQ(skinsFolderPath(), "C:\\Users\\Ann\\\\velquor_ZV\\Skins\\");
    EXPECT_EQ(layerFilePath("my skin", 2), "C:\\Users\\Ann\\\\velquor_ZV\\Skins\\my skin_l2");
    EXPECT_EQ(faceFilePath(0), "C:\\Users\\Ann\\\\velquor_ZV\\icon_0.png");
    EXPECT_EQ(capturedIconFilePath(12), "C:\\Users\\Ann\\\\velquor_ZV\\icon_12_org.png");
    EXPECT_EQ(descriptorFilePath(305), "C:\\Users\\Ann\\\\velquor_ZV\\icon_305_p.zv");

    scriptedUi.profileFolder = "C:\\Users\\Bob\\";
    EXPECT_EQ(homeDirectory(), "C:\\Users\\Bob\\");
    EXPECT_EQ(dataFolderPath(), "C:\\Users\\Bob\\\\velquor_ZV\\");
}

TEST(Paths, EmptyHomeRootsEveryPathAtTheDrive)
{
    resetScriptedUi();
    EXPECT_EQ(homeDirectory(), "");
    EXPECT_EQ(dataFolderPath(), "\\velquor_ZV\\");
    EXPECT_EQ(settingsFilePath(), "\\velquor_ZV\\data.ini");
    EXPECT_EQ(layerFilePath("skin1", 3), "\\velquor_ZV\\Skins\\skin1_l3");
    EXPECT_EQ(descriptorFilePath(1), "\\velquor_ZV\\icon_1_p.zv");
}

using DataFolder = ProfileTest;

TEST_F(DataFolder, ExistenceTest)
{
    const std::string base = dir.string();
    EXPECT_FALSE(folderExists(base + "\\velquor_ZV"));
    makeDataFolder();
    EXPECT_TRUE(folderExists(base + "\\velquor_ZV"));   // empty folder
    EXPECT_TRUE(folderExists(base + "\\velquor_ZV\\")); // no second backslash added
    storetest::writeBytes(data / "data.ini", "x");
    EXPECT_TRUE(folderExists(dataFolderPath()));
    EXPECT_FALSE(folderExists(base + "\\velquor_ZV\\data.ini")); // a file is no folder
    EXPECT_FALSE(folderExists(base + "\\missing\\deeper"));
    // Only the first 260 characters count.
    EXPECT_TRUE(folderExists(base + std::string(260 - base.size(), '\\') + "tail"));
}

TEST_F(DataFolder, CreationStripsTrailingSeparatorsAndSpacesButMakesOneLevelOnly)
{
    const std::string base = dir.string();
    EXPECT_TRUE(createFolder(base + "\\one \\/ "));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "one"));
    EXPECT_FALSE(createFolder(base + "\\one"));              // exists already
    EXPECT_FALSE(createFolder(base + "\\two\\three"));        // parent missing
    EXPECT_FALSE(std::filesystem::exists(dir / "two"));
    // Truncated to 260 characters before the trailing spaces go.
    const std::string name = base + "\\" + std::string(259 - base.size(), 'a');
    ASSERT_EQ(name.size(), 260u);
    EXPECT_TRUE(createFolder(name + "bcd"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / std::string(259 - base.size(), 'a')));
}

TEST_F(DataFolder, FirstRunWritesTheSixSkinFilesAndKeepsSkin1Loaded)
{
    std::filesystem::create_directories(dir);
    prepareDataFolder();
    ASSERT_TRUE(std::filesystem::is_directory(data / "Skins"));
    EXPECT_TRUE(scriptedCalls("messageBox").empty());

    const char* order[] = {"skin2_l1", "skin2_l2", "skin2_l3", "skin1_l1", "skin1_l2", "skin1_l3"};
    int skinIndex[] = {2, 2, 2, 1, 1, 1};
    for (int i = 0; i < 6; ++i) {
        const auto bytes = storetest::readBytes(data / "Skins" / order[i]);
        ASSERT_TRUE(bytes) << order[i];
        // Rewritten through the encoder, whatever the embedded file held.
        const auto embedded = decodePng(std::string(builtinSkinPng(skinIndex[i], i % 3 + 1)));
        ASSERT_TRUE(embedded);
        EXPECT_EQ(*bytes, encodePng(*embedded)) << order[i];
    }
    // Only the skins folder; no settings or slot files yet.
    std::vector<std::string> entries;
    for (const auto& e : std::filesystem::directory_iterator(data))
        entries.push_back(e.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"Skins"});

    for (int layer = 0; layer < 3; ++layer) {
        const Picture* p = pictureOf(layer);
        ASSERT_NE(p, nullptr);
        const auto expected = decodePng(std::string(builtinSkinPng(1, layer + 1)));
        EXPECT_EQ(p->pixels, expected->pixels) << "layer " << layer;
    }
}

TEST_F(DataFolder, FirstRunSavesSkin2ThenSkin1)
{
    std::filesystem::create_directories(dir);
    // Every composed path asks for the profile folder: watch the skins
    // folder from the first question after it exists.
    scriptedUi.onCall = [&](const std::string&) {
        if (watch.fd < 0 && std::filesystem::is_directory(data / "Skins"))
            watch.start(data / "Skins");
    };
    prepareDataFolder();
    ASSERT_GE(watch.fd, 0);
    EXPECT_EQ(watch.events(), (std::vector<std::string>{"write skin2_l1", "write skin2_l2", "write skin2_l3",
                                                        "write skin1_l1", "write skin1_l2", "write skin1_l3"}));
}

TEST_F(DataFolder, FileInTheWayEndsTheProgramWithTheMessage)
{
    storetest::writeBytes(dir / "velquor_ZV", "in the way");
    try {
        prepareDataFolder();
        FAIL() << "the program should have ended";
    } catch (const ProcessEnded& e) {
        EXPECT_EQ(e.exitCode, 0);
    }
    EXPECT_EQ(scriptedCalls("messageBox"), std::vector<std::string>{std::string("messageBox Error|") + ERROR_TEXT + "|ok"});
    // The message comes before the end of the process; nothing else was written.
    const auto box = std::find(scriptedUi.log.begin(), scriptedUi.log.end(), scriptedCalls("messageBox")[0]);
    const auto end = std::find(scriptedUi.log.begin(), scriptedUi.log.end(), "endProcess 0");
    EXPECT_LT(box, end);
    EXPECT_EQ(storetest::readBytes(dir / "velquor_ZV"), "in the way");
    EXPECT_TRUE(std::filesystem::is_regular_file(dir / "velquor_ZV"));
}

TEST_F(DataFolder, MissingProfileFolderEndsTheProgram)
{
    scriptedUi.profileFolder = dir.string() + "\\gone\\";
    EXPECT_THROW(prepareDataFolder(), ProcessEnded);
    EXPECT_EQ(scriptedCalls("messageBox").size(), 1u);
}

TEST_F(DataFolder, ExistingEmptyDataFolderCountsAsPresent)
{
    makeDataFolder();
    prepareDataFolder();
    EXPECT_TRUE(std::filesystem::is_empty(data));
    EXPECT_EQ(pictureOf(BASE_LAYER), nullptr);
    EXPECT_TRUE(scriptedCalls("messageBox").empty());
}

TEST_F(DataFolder, DeletedSkinsFolderIsNotRestored)
{
    std::filesystem::create_directories(dir);
    prepareDataFolder();
    std::filesystem::remove_all(data / "Skins");
    releaseAllPictures();
    prepareDataFolder();
    EXPECT_FALSE(std::filesystem::exists(data / "Skins"));
    EXPECT_EQ(pictureOf(EMPTY_LAYER), nullptr);
}

TEST_F(DataFolder, SkinsFolderThatCannotBeMadeIsIgnored)
{
    std::filesystem::create_directories(dir);
    // A file named Skins appears right after the data folder was made.
    scriptedUi.onCall = [&](const std::string&) {
        if (std::filesystem::is_directory(data) && !std::filesystem::exists(data / "Skins"))
            storetest::writeBytes(data / "Skins", "");
    };
    prepareDataFolder();
    EXPECT_TRUE(std::filesystem::is_regular_file(data / "Skins"));
    EXPECT_TRUE(scriptedCalls("messageBox").empty());
    ASSERT_NE(pictureOf(EMPTY_LAYER), nullptr);
    EXPECT_EQ(pictureOf(EMPTY_LAYER)->pixels, decodePng(std::string(builtinSkinPng(1, 3)))->pixels);
}

TEST_F(DataFolder, EnsureCreatesOnlyTheDataFolder)
{
    ensureDataFolder();
    EXPECT_TRUE(std::filesystem::is_directory(data));
    EXPECT_TRUE(std::filesystem::is_empty(data));
    ensureDataFolder(); // present: nothing happens
    EXPECT_TRUE(scriptedCalls("messageBox").empty());
    scriptedUi.profileFolder = dir.string() + "\\gone\\";
    ensureDataFolder(); // cannot be made: silently nothing
    EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
}

} // namespace
