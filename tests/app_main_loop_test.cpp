#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "platform/scripted_ui.h"
#include "ring/ring_window.h"
#include "store/picture.h"
#include "store/settings.h"
#include "store/slot_table.h"
#include "ui_events.h"

namespace {

const std::string REVEAL = "moveWindow 0 368 268 264 264"; // pointer (500, 400), default ring
const std::string HIDE = "moveWindow 0 0 -264 264 264";
const std::string PROGRAM_MISSING =
    "messageBox Error|Das Programm existiert nicht oder befindet\r"
    "sich auf einem nicht angeschlossenen Medium!|ok";

class MainLoop : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetScriptedUi();
        releaseAllPictures();
        settings = Settings{};
        slotTable.assign(6, SlotRecord{"leer", "", EMPTY_MARKER, 0});
        putPicture(EMPTY_LAYER, makePicture(64, 64, true));
        selectedSlot = 0;
        revealedFlag = 0;
        quitFlag = 0;
        openAnchor();
        const ScreenPoint hidden = hiddenPosition();
        openRing(hidden.x, hidden.y);
        scriptedUi.cursor = {500, 400};
        scriptedUi.log.clear();
    }
    void TearDown() override { releaseAllPictures(); }
};

TEST_F(MainLoop, CtrlPollingStateTable)
{
    struct {
        int revealed;
        std::vector<int> states;
        int revealedAfter;
        std::vector<std::string> moves;
        std::size_t queries;
    } const cases[] = {
        {0, {0x8000}, 1, {REVEAL}, 1},
        {0, {-32767}, 1, {REVEAL}, 1}, // the SHORT as it came: down and pressed
        {0, {1}, 1, {REVEAL}, 1},      // only pressed since the previous query
        {0, {0, 0}, 0, {}, 2},
        {0, {0, 0x8000}, 0, {}, 2},    // the second query has no effect while hidden
        {1, {0x8000, 0}, 0, {HIDE}, 2},
        {1, {0, 0}, 0, {HIDE}, 2},
        {1, {0x8000, 0x8000}, 1, {}, 2},
        {1, {0, 1}, 1, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "revealed " << c.revealed << ", first " << c.states[0]);
        scriptedUi.log.clear();
        revealedFlag = c.revealed;
        scriptedUi.ctrlStates.assign(c.states.begin(), c.states.end());
        EXPECT_TRUE(mainLoopPass());
        EXPECT_EQ(revealedFlag, c.revealedAfter);
        EXPECT_EQ(scriptedCalls("moveWindow"), c.moves);
        EXPECT_EQ(scriptedCalls("ctrlKeyState").size(), c.queries);
        EXPECT_EQ(scriptedUi.log.front(), "waitEvent 100");
    }
}

TEST_F(MainLoop, CtrlHeldAtStartRevealsInTheFirstPassAtThePointer)
{
    scriptedUi.ctrlStates = {0x8000};
    scriptedUi.events = {closeRequest()};
    mainLoop();
    EXPECT_EQ(scriptedCalls("moveWindow"), (std::vector<std::string>{REVEAL}));
    EXPECT_EQ(revealedFlag, 1);
}

TEST_F(MainLoop, TapBetweenPollsRevealsForOnePass)
{
    scriptedUi.ctrlStates = {1, 0, 0};
    EXPECT_TRUE(mainLoopPass());
    EXPECT_EQ(revealedFlag, 1);
    EXPECT_TRUE(mainLoopPass());
    EXPECT_EQ(revealedFlag, 0);
    EXPECT_EQ(scriptedCalls("moveWindow"), (std::vector<std::string>{REVEAL, HIDE}));
}

TEST_F(MainLoop, PointerMovesWhileHeldDoNotMoveTheRing)
{
    scriptedUi.ctrlStates = {0x8000, 0x8000, 0x8000, 0x8000, 0x8000};
    mainLoopPass();
    scriptedUi.cursor = {10, 20};
    mainLoopPass();
    mainLoopPass();
    EXPECT_EQ(scriptedCalls("moveWindow"), (std::vector<std::string>{REVEAL}));
}

TEST_F(MainLoop, RevealUsesTheCurrentRadiusAndNoScreenClamp)
{
    settings.radius = 110;
    ringCentre = {142, 142};
    scriptedUi.cursor = {5, 3};
    revealRing();
    hideRing();
    EXPECT_EQ(scriptedCalls("moveWindow"),
              (std::vector<std::string>{"moveWindow 0 -137 -139 284 284", "moveWindow 0 0 -284 284 284"}));
}

TEST_F(MainLoop, CloseRequestEndsTheLoopAfterPolling)
{
    scriptedUi.events = {UiEvent{}, UiEvent{}, closeRequest(), UiEvent{}};
    scriptedUi.ctrlStates = {0, 0, 0, 0, 0x8000};
    mainLoop();
    EXPECT_EQ(scriptedCalls("waitEvent").size(), 3u);
    EXPECT_EQ(scriptedUi.events.size(), 1u);
    // The closing pass still polled Ctrl and revealed the ring.
    EXPECT_EQ(scriptedCalls("moveWindow"), (std::vector<std::string>{REVEAL}));
    EXPECT_TRUE(scriptedUi.windows.count(RING_WINDOW)); // a close request closes no window
}

TEST_F(MainLoop, QuitCommandStillPollsThenEnds)
{
    scriptedUi.events = {menuEvent(3), UiEvent{}};
    scriptedUi.ctrlStates = {0x8000};
    EXPECT_FALSE(mainLoopPass());
    EXPECT_EQ(quitFlag, 1);
    EXPECT_EQ(revealedFlag, 1);
    EXPECT_EQ(scriptedCalls("moveWindow"), (std::vector<std::string>{REVEAL}));

    SetUp();
    scriptedUi.events = {UiEvent{}, menuEvent(3), UiEvent{}};
    mainLoop();
    EXPECT_EQ(scriptedCalls("waitEvent").size(), 2u);
}

TEST_F(MainLoop, ControlEventsSetTheSelectedSlotForEveryClickKind)
{
    struct {
        int control;
        ClickKind click;
        int selected;
        std::vector<std::string> boxes;
        std::size_t menus;
    } const cases[] = {
        {3, ClickKind::LeftClick, 3, {PROGRAM_MISSING}, 0},
        {4, ClickKind::RightClick, 4, {}, 1},
        {5, ClickKind::LeftDoubleClick, 5, {}, 0},
        {0, ClickKind::RightDoubleClick, 0, {}, 0},
        {2, ClickKind::DragStart, 2, {}, 0},
        {6, ClickKind::LeftClick, -1, {}, 0},   // above programs: a chooser control
        {9, ClickKind::RightClick, -1, {}, 0},
        {-1, ClickKind::LeftClick, -1, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "control " << c.control << " click " << static_cast<int>(c.click));
        scriptedUi.log.clear();
        selectedSlot = 77;
        scriptedUi.events = {controlEvent(c.control, c.click)};
        EXPECT_TRUE(mainLoopPass());
        EXPECT_EQ(selectedSlot, c.selected);
        EXPECT_EQ(scriptedCalls("messageBox"), c.boxes);
        EXPECT_EQ(scriptedCalls("showPopupMenu").size(), c.menus);
    }
}

TEST_F(MainLoop, RightClickMenuThenCtrlReleasedHidesInTheSamePass)
{
    revealedFlag = 1;
    scriptedUi.cursor = {300, 200};
    scriptedUi.events = {controlEvent(3, ClickKind::RightClick), menuEvent(4)};
    scriptedUi.ctrlStates = {0, 0};
    EXPECT_TRUE(mainLoopPass());
    const std::vector<std::string>& log = scriptedUi.log;
    const auto shown = std::find(log.begin(), log.end(), "showPopupMenu 0 0 299 199");
    const auto hidden = std::find(log.begin(), log.end(), HIDE);
    ASSERT_NE(shown, log.end());
    ASSERT_NE(hidden, log.end());
    EXPECT_LT(shown, hidden);
    EXPECT_EQ(revealedFlag, 0);

    // The chosen entry runs in the next pass, with the ring already hidden.
    scriptedUi.log.clear();
    EXPECT_TRUE(mainLoopPass());
    ASSERT_EQ(scriptedCalls("messageBox ZV Velquor").size(), 1u);
    EXPECT_TRUE(scriptedCalls("moveWindow").empty());
}

TEST_F(MainLoop, MenuEventsRunTheirCommand)
{
    scriptedUi.events = {menuEvent(99), menuEvent(2)};
    EXPECT_TRUE(mainLoopPass());
    EXPECT_EQ(scriptedUi.log.size(), 3u); // wait and two key queries only
    EXPECT_TRUE(mainLoopPass());
    EXPECT_EQ(settings.programs, 6);
    EXPECT_EQ(scriptedCalls("createPictureControl").size(), 7u);
}

} // namespace
