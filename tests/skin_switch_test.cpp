#include "skin_fixture.h"

#include "skin/face.h"
#include "skin/skin_layers.h"
#include "skin/skin_switch.h"
#include "store/paths.h"

using namespace skintest;

class SkinSwitchTest : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        installBuiltinSkinFiles();
        settings.programs = 3;
        allocateSlotTable();
        for (int i = 0; i <= 3; ++i)
            clearSlot(i);
        bind(0, "C:\\Tools\\edit.exe", 32);
        bind(2, "C:\\Data\\Pictures\\", 48);
        bind(3, "C:\\Games\\big.exe", 80);
        scriptedUi.log.clear();
    }

    std::string faceBytes(int n) { return *readBytes(file("icon_" + std::to_string(n) + ".png")); }
};

TEST_F(SkinSwitchTest, RebuildsEveryBoundFaceFromItsCapturedIcon)
{
    const std::string skin1Faces[] = {faceBytes(0), faceBytes(2), faceBytes(3)};
    const int oldHandles[] = {slotTable[0].face, slotTable[2].face, slotTable[3].face};

    switchSkin("skin2");

    EXPECT_EQ(settings.skin, "skin2");
    EXPECT_EQ(readBytes(file("data.ini")), settingsBytes(settings));
    EXPECT_EQ(pictureOf(BASE_LAYER)->pixels, builtinLayer(2, 1)->pixels);
    EXPECT_EQ(pictureOf(EMPTY_LAYER)->pixels, builtinLayer(2, 3)->pixels);
    for (int h : oldHandles)
        EXPECT_EQ(pictureOf(h), nullptr) << "the old face is released";

    const std::string skin2Faces[] = {faceBytes(0), faceBytes(2), faceBytes(3)};
    const int slots[] = {0, 2, 3};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(skin2Faces[i] != skin1Faces[i]) << slots[i];
        const Picture* face = pictureOf(slotTable[slots[i]].face);
        ASSERT_NE(face, nullptr);
        EXPECT_EQ(decodePng(skin2Faces[i])->pixels, face->pixels);
    }
    // Blue base under the key pixels of the icon frame.
    const Picture* face0 = pictureOf(slotTable[0].face);
    EXPECT_GT(pixelAt(*face0, 16, 16)[2], pixelAt(*face0, 16, 16)[0]);

    EXPECT_EQ(slotTable[1].face, EMPTY_MARKER);
    EXPECT_FALSE(exists("icon_1.png"));
    EXPECT_EQ(slotTable[2].name, "Pictures");

    switchSkin("skin1");
    EXPECT_TRUE(faceBytes(0) == skin1Faces[0]) << 0;
    EXPECT_TRUE(faceBytes(2) == skin1Faces[1]) << 2;
    EXPECT_TRUE(faceBytes(3) == skin1Faces[2]) << 3;
    switchSkin("skin2");
    EXPECT_TRUE(faceBytes(0) == skin2Faces[0]) << 0;
    EXPECT_TRUE(faceBytes(2) == skin2Faces[1]) << 2;
    EXPECT_TRUE(faceBytes(3) == skin2Faces[2]) << 3;
    EXPECT_FALSE(exists("icon_1.png"));
}

TEST_F(SkinSwitchTest, EverySlotButtonGetsItsPictureInOrder)
{
    recordEffects();
    switchSkin("skin2");
    std::vector<std::string> pictures;
    for (const std::string& line : scriptedCalls("setControlPicture"))
        pictures.push_back(line.substr(0, line.find(' ', 18)));
    EXPECT_EQ(pictures, (std::vector<std::string>{"setControlPicture 0", "setControlPicture 1", "setControlPicture 2",
                                                  "setControlPicture 3"}));
    ASSERT_TRUE(scriptedUi.controls[1].picture);
    EXPECT_EQ(scriptedUi.controls[1].picture->pixels, builtinLayer(2, 3)->pixels);
    // Face files first, then the settings; descriptors and captured icons stay.
    EXPECT_EQ(fileEffects(), (std::vector<std::string>{"write icon_0.png", "write icon_2.png", "write icon_3.png",
                                                       "write data.ini"}));
}

TEST_F(SkinSwitchTest, ASlotWithoutCapturedIconKeepsItsFaceAndTheOthersAreRebuilt)
{
    std::filesystem::remove(file("icon_2_org.png"));
    const std::string face2 = faceBytes(2);
    const int handle2 = slotTable[2].face;
    const std::vector<std::uint8_t> pixels2 = pictureOf(handle2)->pixels;
    const int handle0 = slotTable[0].face;

    switchSkin("skin2");

    EXPECT_EQ(slotTable[2].face, handle2);
    ASSERT_NE(pictureOf(handle2), nullptr);
    EXPECT_EQ(pictureOf(handle2)->pixels, pixels2);
    EXPECT_TRUE(faceBytes(2) == face2);
    EXPECT_NE(slotTable[0].face, handle0);
    EXPECT_NE(slotTable[3].face, NO_PICTURE);
    EXPECT_EQ(scriptedCalls("setControlPicture").size(), 4u);
    EXPECT_EQ(scriptedUi.controls[2].picture->pixels, pixels2);
}

TEST_F(SkinSwitchTest, ASlotWithoutFaceGetsOneFromItsCapturedIcon)
{
    releaseFace(0);
    slotTable[0].face = NO_PICTURE;
    switchSkin("skin2");
    ASSERT_NE(pictureOf(slotTable[0].face), nullptr);
    EXPECT_GT(slotTable[0].face, EMPTY_LAYER);
}

TEST_F(SkinSwitchTest, ASkinWithoutBaseLayerLeavesTheFacesAsTheyAre)
{
    const std::string face0 = faceBytes(0);
    const int handle0 = slotTable[0].face;
    switchSkin("skinless");
    EXPECT_EQ(pictureOf(BASE_LAYER), nullptr);
    EXPECT_EQ(pictureOf(EMPTY_LAYER), nullptr);
    EXPECT_EQ(slotTable[0].face, handle0);
    EXPECT_NE(pictureOf(handle0), nullptr);
    EXPECT_TRUE(faceBytes(0) == face0);
    EXPECT_EQ(readBytes(file("data.ini")), settingsBytes(settings));
    EXPECT_EQ(scriptedCalls("setControlPicture").size(), 4u);
}

TEST_F(SkinSwitchTest, SwitchingToTheCurrentSkinDoesNothing)
{
    recordEffects();
    const Picture* base = pictureOf(BASE_LAYER);
    const std::vector<std::uint8_t> basePixels = base->pixels;
    const int handle0 = slotTable[0].face;
    switchSkin("skin1");
    EXPECT_TRUE(scriptedUi.log.empty());
    EXPECT_TRUE(fileEffects().empty());
    EXPECT_FALSE(exists("data.ini"));
    EXPECT_EQ(slotTable[0].face, handle0);
    EXPECT_EQ(pictureOf(BASE_LAYER)->pixels, basePixels);

    // Names are compared byte for byte, with case.
    switchSkin("Skin1");
    EXPECT_EQ(settings.skin, "Skin1");
    EXPECT_TRUE(exists("data.ini"));
}

TEST_F(SkinSwitchTest, LoadSkinLayersLeavesMissingLayersAbsent)
{
    std::filesystem::remove(skins / "skin2_l2");
    settings.skin = "skin2";
    loadSkinLayers();
    EXPECT_EQ(pictureOf(BASE_LAYER)->pixels, builtinLayer(2, 1)->pixels);
    EXPECT_EQ(pictureOf(GLOSS_LAYER), nullptr);
    EXPECT_EQ(pictureOf(EMPTY_LAYER)->pixels, builtinLayer(2, 3)->pixels);
}
