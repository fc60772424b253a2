#include "skin_fixture.h"

#include <cstdint>
#include <limits>

#include "app/main_loop.h"
#include "commands/slot_menu.h"
#include "ring/ring_window.h"
#include "skin/face.h"

using namespace skintest;

class CommandsTest : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        selectedSlot = 0;
        quitFlag = 0;
    }

    // A table of count slots, each bound to a program named after its index.
    void bindSlots(int count)
    {
        settings.programs = count - 1;
        allocateSlotTable();
        for (int i = 0; i < count; ++i)
            bind(i, "C:\\Apps\\app" + std::to_string(i) + ".exe");
        openRing();
    }
    void openRing()
    {
        openAnchor();
        ::openRing(hiddenPosition().x, hiddenPosition().y);
        scriptedUi.log.clear();
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> n;
        for (const SlotRecord& r : slotTable)
            n.push_back(r.name);
        return n;
    }
    // Effects without the ui calls in between, but with the ring rebuild marked.
    std::vector<std::string> effectsWithRebuild()
    {
        fileEffects();
        std::vector<std::string> picked;
        for (const std::string& e : effects)
            if (e.rfind("write ", 0) == 0 || e.rfind("delete ", 0) == 0 || e.rfind("rename ", 0) == 0 ||
                e == "closeWindow 0")
                picked.push_back(e == "closeWindow 0" ? "rebuildRing" : e);
        return picked;
    }
};

TEST_F(CommandsTest, SlotMenuHasItsEntriesInDisplayOrder)
{
    buildSlotMenu();
    const std::vector<ScriptedMenuEntry>& menu = scriptedUi.menus[SLOT_MENU];
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "Button neu belegen"}, {1, "Diesen Button l\xF6schen"}, {-1, ""}, {2, "Neuen Button hinzufuegen"},
        {5, "Skin \xE4ndern"},     {-1, ""},                         {4, "Info"}, {-1, ""},
        {3, "Beenden"}};
    ASSERT_EQ(menu.size(), expected.size());
    for (std::size_t i = 0; i < menu.size(); ++i) {
        EXPECT_EQ(menu[i].id, expected[i].first) << i;
        EXPECT_EQ(menu[i].text, expected[i].second) << i;
    }
    EXPECT_EQ(scriptedUi.log.front(), "createPopupMenu 0");
}

TEST_F(CommandsTest, SlotMenuOpensOneLeftAndAboveThePointer)
{
    scriptedUi.cursor = {300, 7};
    showSlotMenu();
    EXPECT_EQ(scriptedUi.log, (std::vector<std::string>{"cursorPos", "setForegroundWindow 0", "showPopupMenu 0 0 299 6"}));
}

TEST_F(CommandsTest, UnknownCommandIdsDoNothing)
{
    for (int id : {-1, 6, 100}) {
        runSlotCommand(id);
        EXPECT_TRUE(scriptedUi.log.empty()) << id;
        EXPECT_EQ(quitFlag, 0);
    }
    runSlotCommand(3);
    EXPECT_EQ(quitFlag, 1);
    EXPECT_TRUE(scriptedUi.log.empty());
}

TEST_F(CommandsTest, InfoBoxShowsSeventeenLines)
{
    const std::string text = infoText();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t cr; (cr = text.find('\r', start)) != std::string::npos; start = cr + 1)
        lines.push_back(text.substr(start, cr - start));
    lines.push_back(text.substr(start));
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(lines[0], "Version 1.0");
    EXPECT_EQ(lines[1], "===========");
    EXPECT_EQ(lines[2], "");
    for (int i = 3; i <= 6; ++i)
        EXPECT_FALSE(lines[i].empty()) << i;
    EXPECT_EQ(lines[7], "");
    EXPECT_EQ(lines[8], std::string(22, '\xB1'));
    EXPECT_EQ(lines[9], "");
    EXPECT_FALSE(lines[10].empty());
    EXPECT_EQ(lines[11], "velquor, 2026");
    EXPECT_EQ(lines[12], "das velquor-Team");
    EXPECT_EQ(lines[13], "");
    EXPECT_EQ(lines[14], "Kontakt:");
    EXPECT_EQ(lines[15], "-> kontakt@velquor.example");
    EXPECT_EQ(lines[16], "-> https://velquor.example");

    runSlotCommand(4);
    EXPECT_EQ(scriptedUi.log, (std::vector<std::string>{"messageBox ZV Velquor|" + text + "|ok"}));
}

TEST_F(CommandsTest, DeletingTheFirstOfFourSlotsMovesTheOthersDown)
{
    bindSlots(4);
    settings.radius = 130;
    recordEffects();
    selectedSlot = 0;
    runSlotCommand(1);

    EXPECT_EQ(effectsWithRebuild(), (std::vector<std::string>{
                                        "delete icon_0.png", "delete icon_0_p.zv", "delete icon_0_org.png",
                                        "rename icon_1.png icon_0.png", "rename icon_1_p.zv icon_0_p.zv",
                                        "rename icon_1_org.png icon_0_org.png", "rename icon_2.png icon_1.png",
                                        "rename icon_2_p.zv icon_1_p.zv", "rename icon_2_org.png icon_1_org.png",
                                        "rename icon_3.png icon_2.png", "rename icon_3_p.zv icon_2_p.zv",
                                        "rename icon_3_org.png icon_2_org.png", "write data.ini", "rebuildRing"}));
    EXPECT_EQ(settings.programs, 2);
    EXPECT_EQ(settings.radius, 120);
    EXPECT_EQ(readBytes(file("data.ini")), settingsBytes(settings));
    EXPECT_EQ(names(), (std::vector<std::string>{"app1.exe", "app2.exe", "app3.exe"}));
    EXPECT_EQ(*readBytes(file("icon_0_p.zv")), descriptorBytes("C:\\Apps\\app1.exe", "app1.exe", 0));
    EXPECT_FALSE(exists("icon_3.png"));
    EXPECT_EQ(scriptedUi.controls.count(3), 0u);
    EXPECT_EQ(scriptedUi.controls[0].tooltip, "app1.exe");
}

TEST_F(CommandsTest, DeletingTheHighestSlotMovesNothing)
{
    bindSlots(3);
    recordEffects();
    selectedSlot = 2;
    deleteSlot();
    EXPECT_EQ(effectsWithRebuild(), (std::vector<std::string>{"delete icon_2.png", "delete icon_2_p.zv",
                                                              "delete icon_2_org.png", "write data.ini",
                                                              "rebuildRing"}));
    EXPECT_EQ(names(), (std::vector<std::string>{"app0.exe", "app1.exe"}));
    EXPECT_EQ(settings.radius, 90);
}

TEST_F(CommandsTest, DeletingAnEmptySlotBetweenBoundOnesStillMovesTheRest)
{
    settings.programs = 2;
    allocateSlotTable();
    bind(0, "C:\\a.exe");
    clearSlot(1);
    bind(2, "C:\\c.exe");
    openRing();
    recordEffects();
    selectedSlot = 1;
    deleteSlot();
    EXPECT_EQ(effectsWithRebuild(), (std::vector<std::string>{"rename icon_2.png icon_1.png",
                                                              "rename icon_2_p.zv icon_1_p.zv",
                                                              "rename icon_2_org.png icon_1_org.png",
                                                              "write data.ini", "rebuildRing"}));
    EXPECT_EQ(names(), (std::vector<std::string>{"a.exe", "c.exe"}));
    EXPECT_NE(pictureOf(EMPTY_LAYER), nullptr) << "the empty marker is never released";
}

TEST_F(CommandsTest, DeletingTheOnlySlotLeavesItEmpty)
{
    bindSlots(1);
    settings.radius = 64;
    const int face = slotTable[0].face;
    recordEffects();
    selectedSlot = 0;
    deleteSlot();
    EXPECT_EQ(effectsWithRebuild(),
              (std::vector<std::string>{"delete icon_0.png", "delete icon_0_p.zv", "delete icon_0_org.png"}));
    EXPECT_EQ(settings.programs, 0);
    EXPECT_EQ(settings.radius, 64);
    EXPECT_FALSE(exists("data.ini"));
    EXPECT_EQ(pictureOf(face), nullptr);
    EXPECT_EQ(slotTable.size(), 1u);
    EXPECT_EQ(slotTable[0].face, EMPTY_MARKER);
    EXPECT_EQ(slotTable[0].name, "leer");
    EXPECT_EQ(slotTable[0].path, "");
    EXPECT_EQ(uiLog(), (std::vector<std::string>{"setControlPicture 0 64 64", "setControlTooltip 0 leer"}));
    EXPECT_EQ(scriptedUi.controls[0].picture->pixels, pictureOf(EMPTY_LAYER)->pixels);
}

TEST_F(CommandsTest, FiveDeletionsFromTheDefaultsLeaveOneSlotAndRadius50)
{
    openRing();
    for (int i = 0; i < 5; ++i) {
        selectedSlot = 0;
        deleteSlot();
    }
    EXPECT_EQ(settings.programs, 0);
    EXPECT_EQ(settings.radius, 50);
    EXPECT_EQ(readBytes(file("data.ini")), settingsBytes(Settings{0, 50, "skin1"}));
    EXPECT_EQ(slotTable.size(), 1u);

    std::filesystem::remove(file("data.ini"));
    deleteSlot();
    EXPECT_EQ(settings.programs, 0);
    EXPECT_EQ(settings.radius, 50);
    EXPECT_FALSE(exists("data.ini"));
}

TEST_F(CommandsTest, AddingASlotWritesNothing)
{
    openRing();
    recordEffects();
    runSlotCommand(2);
    EXPECT_EQ(settings.programs, 6);
    EXPECT_EQ(settings.radius, 110);
    ASSERT_EQ(slotTable.size(), 7u);
    EXPECT_EQ(slotTable[6].face, EMPTY_MARKER);
    EXPECT_EQ(slotTable[6].name, "leer");
    EXPECT_EQ(effectsWithRebuild(), (std::vector<std::string>{"rebuildRing"}));
    EXPECT_EQ(scriptedUi.controls[6].tooltip, "leer");
    EXPECT_EQ(scriptedUi.windows[RING_WINDOW].rect.width, 2 * 110 + 64);

    runSlotCommand(3);
    EXPECT_EQ(quitFlag, 1);
    EXPECT_TRUE(fileEffects().empty());
}

TEST_F(CommandsTest, AddingBeyondTheTableLimitChangesNothing)
{
    settings.programs = MAX_PROGRAMS;
    settings.radius = std::numeric_limits<std::int32_t>::max() - 3;
    allocateSlotTable();
    addSlot();
    EXPECT_EQ(settings.programs, MAX_PROGRAMS);
    EXPECT_EQ(settings.radius, std::numeric_limits<std::int32_t>::max() - 3);
    EXPECT_EQ(slotTable.size(), static_cast<std::size_t>(MAX_PROGRAMS) + 1);
    EXPECT_TRUE(scriptedUi.log.empty());
}

TEST_F(CommandsTest, RadiusStepsSaturate)
{
    settings.programs = 1;
    settings.radius = std::numeric_limits<std::int32_t>::max() - 3;
    allocateSlotTable();
    clearSlot(0);
    clearSlot(1);
    addSlot();
    EXPECT_EQ(settings.radius, std::numeric_limits<std::int32_t>::max());

    settings.radius = std::numeric_limits<std::int32_t>::min() + 3;
    selectedSlot = 2;
    deleteSlot();
    EXPECT_EQ(settings.radius, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(settings.programs, 1);
}

class ReassignTest : public CommandsTest {
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        openRing();
    }
};

TEST_F(ReassignTest, AsksProgramOrFolderWithItsTexts)
{
    scriptedUi.boxAnswers = {BoxAnswer::Yes};
    reassignSlot();
    scriptedUi.boxAnswers = {BoxAnswer::No};
    reassignSlot();
    EXPECT_EQ(scriptedUi.log,
              (std::vector<std::string>{
                  "messageBox Frage|Wollen sie ein Programm hinzuf\xFCgen? (Ja)\rAnsonsten k\xF6nnen sie einen Ordner "
                  "w\xE4hlen. (Nein)|yesno",
                  "chooseProgramFile Programm ausw\xE4hlen",
                  "messageBox Frage|Wollen sie ein Programm hinzuf\xFCgen? (Ja)\rAnsonsten k\xF6nnen sie einen Ordner "
                  "w\xE4hlen. (Nein)|yesno",
                  "chooseFolder Ordner ausw\xE4hlen"}));
    EXPECT_EQ(slotTable[0].face, EMPTY_MARKER);
    EXPECT_TRUE(dataFiles().empty());
}

TEST_F(ReassignTest, BindsAProgramAndShowsIt)
{
    const std::string path = "C:\\Program Files\\Tool\\tool.exe";
    scriptedUi.shellIcons[path] = testIcon(32, 32);
    scriptedUi.boxAnswers = {BoxAnswer::Yes};
    scriptedUi.fileChoices = {path};
    selectedSlot = 3;
    runSlotCommand(0);
    EXPECT_EQ(slotTable[3].name, "tool.exe");
    EXPECT_EQ(slotTable[3].path, path);
    EXPECT_NE(pictureOf(EMPTY_LAYER), nullptr) << "an empty slot releases nothing";
    const std::vector<std::string> tail(scriptedUi.log.end() - 2, scriptedUi.log.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"setControlPicture 3 64 64", "setControlTooltip 3 tool.exe"}));
    EXPECT_EQ(scriptedUi.controls[3].picture->pixels, pictureOf(slotTable[3].face)->pixels);
    EXPECT_FALSE(exists("data.ini"));
    EXPECT_TRUE(scriptedCalls("closeWindow").empty());
}

TEST_F(ReassignTest, FolderChoicesEndWithABackslash)
{
    struct Case {
        const char* chosen;
        const char* path;
        const char* name;
    } cases[] = {{"C:\\My Data", "C:\\My Data\\", "My Data"}, {"C:\\My Data\\", "C:\\My Data\\", "My Data"},
                 {"D:\\", "D:\\", "D:"}};
    for (const Case& c : cases) {
        scriptedUi.shellIcons[c.path] = testIcon(32, 32);
        scriptedUi.boxAnswers = {BoxAnswer::No};
        scriptedUi.folderChoices = {std::string(c.chosen)};
        reassignSlot();
        EXPECT_EQ(slotTable[0].path, c.path);
        EXPECT_EQ(slotTable[0].name, c.name);
        EXPECT_EQ(slotTable[0].isFolder, 1);
    }
    EXPECT_EQ(scriptedCalls("shellIconPicture"),
              (std::vector<std::string>{"shellIconPicture C:\\My Data\\", "shellIconPicture C:\\My Data\\",
                                        "shellIconPicture D:\\"}));
}

TEST_F(ReassignTest, ANewFaceReplacesTheOldOne)
{
    bind(0, "C:\\old.exe");
    const int oldFace = slotTable[0].face;
    scriptedUi.shellIcons["C:\\new.exe"] = testIcon(48, 48);
    scriptedUi.boxAnswers = {BoxAnswer::Yes};
    scriptedUi.fileChoices = {"C:\\new.exe"};
    reassignSlot();
    EXPECT_EQ(pictureOf(oldFace), nullptr);
    EXPECT_NE(slotTable[0].face, oldFace);
    EXPECT_NE(pictureOf(slotTable[0].face), nullptr);
    EXPECT_EQ(slotTable[0].name, "new.exe");
}

TEST_F(ReassignTest, CancelledAndSlashResultsChangeNothing)
{
    bind(0, "C:\\old.exe");
    const int oldFace = slotTable[0].face;
    const std::string descriptor = *readBytes(file("icon_0_p.zv"));
    scriptedUi.log.clear();
    recordEffects();

    scriptedUi.boxAnswers = {BoxAnswer::Yes, BoxAnswer::Yes, BoxAnswer::No, BoxAnswer::No};
    scriptedUi.fileChoices = {"", "/"};
    scriptedUi.folderChoices = {std::nullopt, std::string("/")};
    for (int i = 0; i < 3; ++i)
        reassignSlot();
    EXPECT_EQ(scriptedUi.folderChoices.size(), 1u);
    for (const std::string& line : scriptedUi.log)
        EXPECT_TRUE(line.rfind("messageBox", 0) == 0 || line.rfind("choose", 0) == 0) << line;
    EXPECT_EQ(slotTable[0].face, oldFace);
    EXPECT_NE(pictureOf(oldFace), nullptr);
    EXPECT_TRUE(fileEffects().empty());
    EXPECT_EQ(*readBytes(file("icon_0_p.zv")), descriptor);
}

TEST_F(ReassignTest, ADeclinedAssignmentKeepsTheOldFace)
{
    bind(0, "C:\\old.exe");
    const SlotRecord before = slotTable[0];
    const std::vector<std::uint8_t> pixels = pictureOf(before.face)->pixels;
    scriptedUi.log.clear();
    recordEffects();

    // A virtual folder has no file-system path: the chooser result becomes "\".
    scriptedUi.boxAnswers = {BoxAnswer::No, BoxAnswer::Yes};
    scriptedUi.folderChoices = {std::string("")};
    scriptedUi.fileChoices = {"C:\\noicon.exe"};
    reassignSlot();
    reassignSlot();

    EXPECT_EQ(scriptedCalls("shellIconPicture"), (std::vector<std::string>{"shellIconPicture C:\\noicon.exe"}));
    EXPECT_EQ(slotTable[0].face, before.face);
    EXPECT_EQ(slotTable[0].name, before.name);
    EXPECT_EQ(slotTable[0].path, before.path);
    ASSERT_NE(pictureOf(before.face), nullptr);
    EXPECT_EQ(pictureOf(before.face)->pixels, pixels);
    EXPECT_EQ(scriptedUi.controls[0].picture->pixels, pixels);
    EXPECT_EQ(scriptedUi.controls[0].tooltip, "old.exe");
    EXPECT_TRUE(fileEffects().empty());
}
