#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "platform/scripted_ui.h"
#include "ring/ring_geometry.h"
#include "ring/ring_window.h"
#include "store/picture.h"
#include "store/settings.h"
#include "store/slot_table.h"

namespace {

SlotRecord emptySlot() { return {"leer", "", EMPTY_MARKER, 0}; }

class RingWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetScriptedUi();
        releaseAllPictures();
        settings = Settings{};
        slotTable.assign(6, emptySlot());
        putPicture(BASE_LAYER, makePicture(64, 64, true));
        putPicture(GLOSS_LAYER, makePicture(64, 64, true));
        putPicture(EMPTY_LAYER, makePicture(64, 64, true));
        revealedFlag = 0;
    }
    void TearDown() override { releaseAllPictures(); }

    void openHidden()
    {
        const ScreenPoint hidden = hiddenPosition();
        openRing(hidden.x, hidden.y);
    }

    // Picture controls on the ring window, by number.
    static std::vector<int> ringButtons()
    {
        std::vector<int> numbers;
        for (const auto& [number, control] : scriptedUi.controls)
            if (control.window == RING_WINDOW && control.kind == "picture")
                numbers.push_back(number);
        return numbers;
    }

    static ScreenRect ringRect() { return scriptedUi.windows.at(RING_WINDOW).rect; }

    static void addOne()
    {
        settings.programs += 1;
        settings.radius += 10;
        slotTable.push_back(emptySlot());
        rebuildRing();
    }

    static void deleteLast()
    {
        settings.programs -= 1;
        settings.radius -= 10;
        slotTable.pop_back();
        rebuildRing();
    }
};

TEST_F(RingWindow, OpensWindowThenButtonsInOrder)
{
    settings.programs = 1;
    settings.radius = 64;
    slotTable.assign(2, emptySlot());
    slotTable[1] = {"Editor", "C:\\e.exe", keepPicture(makePicture(64, 64, true)), 0};
    openAnchor();
    openHidden();

    const std::vector<std::string> expected = {
        "openWindow 1 0 0 0 0 0 -1 ",
        "openWindow 0 1 0 -192 192 192 1 ",
        "setWindowTopmost 0",
        "setWindowBackground 0 1118481",
        "makeWindowLayered 0 1118481",
        "clientSize 0",
        "createPictureControl 0 0 64 0 64 64",
        "setControlPicture 0 64 64",
        "setControlTooltip 0 leer",
        "createPictureControl 1 0 64 128 64 64",
        "setControlPicture 1 64 64",
        "setControlTooltip 1 Editor",
    };
    EXPECT_EQ(scriptedUi.log, expected);
    EXPECT_EQ(ringCentre.x, 96);
    EXPECT_EQ(ringCentre.y, 96);
    EXPECT_FLOAT_EQ(angleStep, 180.0f);
    const ScriptedWindow& ring = scriptedUi.windows.at(RING_WINDOW);
    EXPECT_TRUE(ring.topmost);
    EXPECT_TRUE(ring.layered);
    EXPECT_EQ(ring.colourKey, KEY_COLOUR);
    EXPECT_EQ(ring.owner, ANCHOR_WINDOW);
}

TEST_F(RingWindow, DefaultRingHasSixButtonsOnTheCircle)
{
    openHidden();
    EXPECT_EQ(ringSide(), 264);
    EXPECT_EQ(ringRect().left, 0);
    EXPECT_EQ(ringRect().top, -264);
    ASSERT_EQ(ringButtons(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    const ScreenPoint corners[] = {{100, 0}, {187, 50}, {187, 150}, {100, 200}, {13, 150}, {13, 50}};
    for (int i = 0; i < 6; ++i) {
        const ScriptedControl& c = scriptedUi.controls.at(i);
        EXPECT_EQ(c.rect.left, corners[i].x);
        EXPECT_EQ(c.rect.top, corners[i].y);
        EXPECT_EQ(c.tooltip, "leer");
    }
}

TEST_F(RingWindow, RebuildWhileRevealedKeepsTheCentreOnTheScreen)
{
    openHidden();
    scriptedUi.cursor = {500, 400};
    revealRing();
    EXPECT_EQ(ringRect().left, 368);
    EXPECT_EQ(ringRect().top, 268);
    EXPECT_EQ(ringRect().width, 264);

    addOne();
    EXPECT_EQ(ringRect().left, 358);
    EXPECT_EQ(ringRect().top, 258);
    EXPECT_EQ(ringRect().width, 284);
    EXPECT_EQ(ringRect().height, 284);
    EXPECT_EQ(ringCentre.x, 142);
    EXPECT_EQ(ringCentre.y, 142);
    EXPECT_EQ(ringButtons().size(), 7u);
    EXPECT_EQ(scriptedUi.controls.at(6).rect.left, 24);
    EXPECT_EQ(scriptedUi.controls.at(6).rect.top, 41);
    EXPECT_EQ(revealedFlag, 0); // untouched
}

TEST_F(RingWindow, RebuildWhileHiddenKeepsTheHiddenCentre)
{
    openHidden();
    addOne();
    EXPECT_EQ(ringRect().left, -10);
    EXPECT_EQ(ringRect().top, -(2 * 110 + 54));

    SetUp();
    openHidden();
    deleteLast();
    EXPECT_EQ(ringRect().left, 10);
    EXPECT_EQ(ringRect().top, -(2 * 90 + 74));
    EXPECT_EQ(ringRect().width, 244);
}

TEST_F(RingWindow, RebuildDestroysExistingButtonsThenReopensWithoutMeasuring)
{
    openHidden();
    scriptedUi.log.clear();
    addOne();
    const std::vector<std::string> head(scriptedUi.log.begin(), scriptedUi.log.begin() + 13);
    const std::vector<std::string> expected = {
        "windowRect 0",
        "destroyControl 0", "destroyControl 1", "destroyControl 2",
        "destroyControl 3", "destroyControl 4", "destroyControl 5",
        "closeWindow 0",
        "openWindow 0 1 -10 -274 284 284 1 ",
        "setWindowTopmost 0",
        "setWindowBackground 0 1118481",
        "makeWindowLayered 0 1118481",
        "createPictureControl 0 0 110 0 64 64",
    };
    EXPECT_EQ(head, expected);
    EXPECT_TRUE(scriptedCalls("clientSize").empty());
    EXPECT_EQ(scriptedCalls("createPictureControl").size(), 7u);
    EXPECT_EQ(scriptedCalls("setControlTooltip").size(), 7u);
}

TEST_F(RingWindow, DeletingDownDestroysOnlyTheNewCountFirst)
{
    openHidden();
    for (int remaining = 4; remaining >= 0; --remaining) {
        SCOPED_TRACE(remaining);
        scriptedUi.log.clear();
        deleteLast();
        std::vector<std::string> destroyed;
        for (int i = 0; i <= remaining; ++i)
            destroyed.push_back("destroyControl " + std::to_string(i));
        EXPECT_EQ(scriptedCalls("destroyControl"), destroyed);
        std::vector<int> buttons;
        for (int i = 0; i <= remaining; ++i)
            buttons.push_back(i);
        EXPECT_EQ(ringButtons(), buttons);
    }
    // One slot left, radius 50: its button at (radius, 0).
    EXPECT_EQ(scriptedUi.controls.at(0).rect.left, 50);
    EXPECT_EQ(scriptedUi.controls.at(0).rect.top, 0);
}

TEST_F(RingWindow, SlotPictureByFace)
{
    const int face = keepPicture(makePicture(64, 64, true));
    putPicture(BASE_LAYER, makePicture(60, 48, false));
    struct {
        const char* what;
        int face;
        bool baseLayer;
        bool emptyLayer;
        int expected;
        std::optional<int> shownWidth; // nullopt: no picture
    } const cases[] = {
        {"empty slot", EMPTY_MARKER, true, true, EMPTY_LAYER, 64},
        {"own face", face, true, true, face, 64},
        {"face failed to load", NO_PICTURE, true, true, BASE_LAYER, 60},
        {"empty slot, empty layer absent", EMPTY_MARKER, true, false, EMPTY_LAYER, std::nullopt},
        {"face failed, base layer absent", NO_PICTURE, false, true, BASE_LAYER, std::nullopt},
        {"released face", 999, true, true, 999, std::nullopt},
    };
    openHidden();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putPicture(BASE_LAYER, c.baseLayer ? std::optional(makePicture(60, 48, false)) : std::nullopt);
        putPicture(EMPTY_LAYER, c.emptyLayer ? std::optional(makePicture(64, 64, true)) : std::nullopt);
        slotTable[2].face = c.face;
        EXPECT_EQ(slotPicture(2), c.expected);
        setSlotPicture(2);
        const ScriptedControl& button = scriptedUi.controls.at(2);
        ASSERT_EQ(button.picture.has_value(), c.shownWidth.has_value());
        // The corner stays put whatever size the picture has.
        EXPECT_EQ(button.rect.left, 187);
        EXPECT_EQ(button.rect.top, 150);
        if (c.shownWidth)
            EXPECT_EQ(button.rect.width, *c.shownWidth);
        else
            EXPECT_EQ(scriptedUi.log.back(), "setControlPicture 2 none");
    }
}

TEST_F(RingWindow, TooltipFollowsTheName)
{
    openHidden();
    slotTable[4].name = "Caf\xE9 & Bar";
    setSlotTooltip(4);
    EXPECT_EQ(scriptedUi.controls.at(4).tooltip, "Caf\xE9 & Bar");
}

TEST_F(RingWindow, HugeRadiusStaysInTheIntRange)
{
    for (const int radius : {INT_MAX, INT_MAX - 31, INT_MIN}) {
        SCOPED_TRACE(radius);
        SetUp();
        settings.radius = radius;
        const std::int64_t side = 2 * static_cast<std::int64_t>(radius) + 64;
        EXPECT_EQ(ringSide(), side > INT_MAX ? INT_MAX : side < INT_MIN ? INT_MIN : side);
        EXPECT_EQ(hiddenPosition().y, radius > 0 ? -INT_MAX : INT_MAX);
        openHidden();
        EXPECT_EQ(ringButtons().size(), 6u);
        scriptedUi.cursor = {INT_MIN, INT_MAX};
        revealRing();
        hideRing();
        settings.programs += 1;
        slotTable.push_back(emptySlot());
        rebuildRing();
        EXPECT_EQ(ringButtons().size(), 7u);
    }
}

} // namespace
