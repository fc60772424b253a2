#include "skin_fixture.h"

#include "platform/files.h"
#include "skin/skin_chooser.h"
#include "store/paths.h"

using namespace skintest;

TEST(SkinNameListTest, FillsRowsByTheEntryNames)
{
    struct Case {
        std::vector<std::string> entries;
        std::vector<std::string> rows;
        int current;
    } cases[] = {
        {{".", "..", "skin1_l1", "skin1_l2", "skin1_l3", "skin2_l1", "skin2_l2", "skin2_l3"}, {"skin1", "skin2"}, 1},
        {{"skin2_l1", "skin1_l1", "skin2_l3"}, {"skin2", "skin1"}, 0},
        {{"Skin3_l1", "SKIN_l1", "other"}, {}, -1},
        {{"skinabc", "skin"}, {"skin"}, 0},
        {{"skin1_l1", "myskin_l1", "skins"}, {"skin1", "myskin"}, 1},
        {{"abc", "ab", "", "skin_l1.png"}, {"skin_l1."}, 0},
        {{"blueskin_l1", "skin2_l1", "blueskin"}, {"blueskin", "skin2"}, 1},
    };
    for (const Case& c : cases) {
        SkinNameList list;
        std::vector<std::string> rows;
        for (const std::string& e : c.entries)
            if (addSkinEntry(list, e))
                rows.push_back(list.names.back());
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(list.names, c.rows);
        EXPECT_EQ(list.current, c.current);
    }
}

TEST(SkinNameListTest, AnEqualEntryBecomesCurrentWithoutARow)
{
    SkinNameList list;
    EXPECT_TRUE(addSkinEntry(list, "skin1_l1"));
    EXPECT_TRUE(addSkinEntry(list, "skin2_l1"));
    EXPECT_FALSE(addSkinEntry(list, "skin1_l3"));
    EXPECT_EQ(list.current, 0);
    EXPECT_FALSE(addSkinEntry(list, ".."));
    EXPECT_EQ(list.current, 0);
}

class SkinChooserTest : public ProfileTest {
protected:
    int list = 0, preview = 0, apply = 0, cancel = 0;

    void SetUp() override
    {
        ProfileTest::SetUp();
        installBuiltinSkinFiles();
        list = settings.programs + 1;
        preview = settings.programs + 2;
        apply = settings.programs + 3;
        cancel = settings.programs + 4;
    }

    static UiEvent click(int control, ClickKind kind = ClickKind::LeftClick)
    {
        UiEvent e;
        e.kind = UiEventKind::ControlEvent;
        e.control = control;
        e.click = kind;
        return e;
    }
    static UiEvent ofKind(UiEventKind kind)
    {
        UiEvent e;
        e.kind = kind;
        return e;
    }
    // The selection the list box reports at the next list event.
    void selectRow(int row)
    {
        scriptedUi.onCall = [this, row](const std::string& line) {
            if (line == "waitEvent -1")
                scriptedUi.controls[list].selection = row;
        };
    }
    // The skin that the enumeration as this file system returns it leaves current.
    static std::string lastAccepted()
    {
        std::vector<std::string> names;
        listFolder(skinsFolderPath() + "*.*", &names);
        SkinNameList l;
        for (const std::string& n : names)
            addSkinEntry(l, n);
        return l.current < 0 ? "" : l.names[l.current];
    }
    bool previewShows(const Picture* picture)
    {
        const std::optional<Picture>& shown = scriptedUi.controls[preview].picture;
        return picture && shown && shown->pixels == picture->pixels && shown->width == picture->width;
    }
};

TEST_F(SkinChooserTest, OpensTheDialogWithItsControls)
{
    scriptedUi.events = {click(cancel)};
    bool previewChecked = false;
    scriptedUi.onCall = [&](const std::string& line) {
        if (line == "waitEvent -1" && !previewChecked) {
            previewChecked = true;
            EXPECT_TRUE(previewShows(pictureOf(EMPTY_LAYER)));
            EXPECT_TRUE(scriptedUi.windows[CHOOSER_WINDOW].topmost);
            EXPECT_EQ(scriptedUi.controls[list].selection, -1);
        }
    };
    chooseSkin();
    EXPECT_TRUE(previewChecked);

    const std::vector<std::string> expected = {
        "openWindow 2 2 0 0 222 144 -1 Skin \xE4ndern...",
        "setWindowTopmost 2",
        "createListBox 6 2 10 10 128 128",
        "createPictureControl 7 2 148 10 64 64",
        "setControlPicture 7 64 64",
        "createButton 8 2 148 84 64 20 Skin \xE4ndern",
        "createButton 9 2 148 114 64 20 Abbrechen",
    };
    ASSERT_GE(scriptedUi.log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(scriptedUi.log.begin(), scriptedUi.log.begin() + 7), expected);
    const std::string appended[] = {"listBoxAppend 6 skin1", "listBoxAppend 6 skin2"};
    std::vector<std::string> rows = scriptedCalls("listBoxAppend");
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, std::vector<std::string>(std::begin(appended), std::end(appended)));

    const std::vector<std::string> closing = {"destroyControl 6", "destroyControl 7", "destroyControl 8",
                                              "destroyControl 9", "closeWindow 2"};
    EXPECT_EQ(std::vector<std::string>(scriptedUi.log.end() - 5, scriptedUi.log.end()), closing);
    EXPECT_EQ(settings.skin, "skin1");
    EXPECT_FALSE(exists("data.ini"));
}

TEST_F(SkinChooserTest, ApplyWithoutSelectionTakesTheLastAcceptedEntry)
{
    const std::string chosen = lastAccepted();
    ASSERT_TRUE(chosen == "skin1" || chosen == "skin2");
    scriptedUi.events = {click(apply)};
    chooseSkin();
    EXPECT_EQ(settings.skin, chosen);
    if (chosen == "skin1")
        EXPECT_FALSE(exists("data.ini"));
    else
        EXPECT_EQ(readBytes(file("data.ini")), settingsBytes(settings));
}

TEST_F(SkinChooserTest, DropsEverythingButItsOwnControlEvents)
{
    UiEvent menu = ofKind(UiEventKind::MenuEvent);
    menu.menuId = 3;
    scriptedUi.events = {ofKind(UiEventKind::CloseRequest), click(0), click(0, ClickKind::RightClick), menu,
                         ofKind(UiEventKind::Nothing), click(preview), click(settings.programs), click(list + 100),
                         click(cancel), click(apply)};
    chooseSkin();
    EXPECT_EQ(scriptedUi.events.size(), 1u) << "the apply after cancel is not taken";
    EXPECT_EQ(settings.skin, "skin1");
    EXPECT_FALSE(exists("data.ini"));
    EXPECT_TRUE(scriptedCalls("listBoxSelection").empty());
    EXPECT_TRUE(scriptedCalls("setControlPicture 0").empty());
}

TEST_F(SkinChooserTest, SelectingShowsThePreviewAndApplyingSwitches)
{
    scriptedUi.events = {click(list), click(list, ClickKind::LeftDoubleClick), click(apply)};
    // Find skin2's row once the list is filled, and report it as selected.
    const Picture skin2Empty = *builtinLayer(2, 3);
    scriptedUi.onCall = [&](const std::string& line) {
        if (line == "waitEvent -1") {
            const std::vector<std::string>& r = scriptedUi.controls[list].rows;
            scriptedUi.controls[list].selection = static_cast<int>(std::find(r.begin(), r.end(), "skin2") - r.begin());
            EXPECT_LT(scriptedUi.controls[list].selection, static_cast<int>(r.size()));
        }
        if (line.rfind("setControlPicture 7", 0) == 0 && scriptedUi.log.size() > 10) {
            EXPECT_TRUE(previewShows(&skin2Empty));
        }
    };
    chooseSkin();
    EXPECT_EQ(settings.skin, "skin2");
    EXPECT_EQ(readBytes(file("data.ini")), settingsBytes(settings));
    EXPECT_EQ(pictureOf(EMPTY_LAYER)->pixels, builtinLayer(2, 3)->pixels);
    EXPECT_EQ(scriptedCalls("setControlPicture 7").size(), 3u);
    // The dialog is gone before the new skin is applied.
    const auto closed = std::find(scriptedUi.log.begin(), scriptedUi.log.end(), "closeWindow 2");
    const auto firstSlot = std::find_if(scriptedUi.log.begin(), scriptedUi.log.end(),
                                        [](const std::string& l) { return l.rfind("setControlPicture 0", 0) == 0; });
    EXPECT_LT(closed, firstSlot);
}

TEST_F(SkinChooserTest, CancelReleasesThePreviewImages)
{
    const int before = keepPicture(Picture{});
    scriptedUi.events = {click(list), click(list), click(list), click(cancel)};
    selectRow(0);
    chooseSkin();
    const int after = keepPicture(Picture{});
    EXPECT_GT(after, before + 1) << "previews were loaded";
    for (int h = before + 1; h < after; ++h)
        EXPECT_EQ(pictureOf(h), nullptr) << h;
    EXPECT_EQ(settings.skin, "skin1");
    EXPECT_FALSE(exists("data.ini"));
    EXPECT_NE(pictureOf(EMPTY_LAYER), nullptr);
    EXPECT_NE(pictureOf(BASE_LAYER), nullptr);
}

TEST_F(SkinChooserTest, ApplyingTheCurrentSkinWritesNothing)
{
    scriptedUi.events = {click(list), click(apply)};
    scriptedUi.onCall = [this](const std::string& line) {
        if (line == "waitEvent -1") {
            const std::vector<std::string>& r = scriptedUi.controls[list].rows;
            scriptedUi.controls[list].selection = static_cast<int>(std::find(r.begin(), r.end(), "skin1") - r.begin());
        }
    };
    recordEffects();
    chooseSkin();
    EXPECT_EQ(settings.skin, "skin1");
    EXPECT_TRUE(fileEffects().empty());
    EXPECT_TRUE(scriptedCalls("setControlPicture 0").empty());
}

TEST_F(SkinChooserTest, APreviewThatCannotBeLoadedShowsTheBaseLayer)
{
    std::filesystem::remove_all(skins);
    std::filesystem::create_directories(skins);
    writeBytes(skins / "skin3_l1", std::string(builtinSkinPng(2, 1)));
    writeBytes(skins / "skin3_l3", "not a picture");
    scriptedUi.events = {click(list), click(cancel)};
    bool shown = false;
    scriptedUi.onCall = [&](const std::string& line) {
        if (line == "waitEvent -1")
            scriptedUi.controls[list].selection = 0;
        if (line.rfind("setControlPicture 7", 0) == 0 && !scriptedCalls("listBoxSelection").empty())
            shown = previewShows(pictureOf(BASE_LAYER));
    };
    const int before = keepPicture(Picture{});
    chooseSkin();
    EXPECT_EQ(scriptedCalls("listBoxAppend"), (std::vector<std::string>{"listBoxAppend 6 skin3"}));
    EXPECT_TRUE(shown);
    EXPECT_EQ(keepPicture(Picture{}), before + 1) << "no preview image was held";
}

TEST_F(SkinChooserTest, APreviewOfAnotherSizeResizesThePreview)
{
    Picture wide = makePicture(80, 40, true);
    writeBytes(skins / "skinwide_l3", encodePng(wide));
    scriptedUi.events = {click(list), click(cancel)};
    scriptedUi.onCall = [this](const std::string& line) {
        if (line == "waitEvent -1") {
            const std::vector<std::string>& r = scriptedUi.controls[list].rows;
            scriptedUi.controls[list].selection = static_cast<int>(std::find(r.begin(), r.end(), "skinwide") - r.begin());
        }
        if (line.rfind("setControlPicture 7 80", 0) == 0) {
            EXPECT_EQ(scriptedUi.controls[preview].rect.left, 148);
            EXPECT_EQ(scriptedUi.controls[preview].rect.top, 10);
        }
    };
    chooseSkin();
    EXPECT_EQ(scriptedCalls("setControlPicture 7 80 40").size(), 1u);
}

TEST_F(SkinChooserTest, AnEmptyOrMissingSkinsFolderGivesAnEmptyList)
{
    std::filesystem::remove_all(skins);
    scriptedUi.events = {click(list), click(apply)};
    chooseSkin();
    EXPECT_TRUE(scriptedCalls("listBoxAppend").empty());
    EXPECT_EQ(settings.skin, "skin1");
    EXPECT_FALSE(exists("data.ini"));

    std::filesystem::create_directories(skins);
    scriptedUi.events = {click(apply)};
    chooseSkin();
    EXPECT_EQ(settings.skin, "skin1");
    EXPECT_FALSE(exists("data.ini"));
    EXPECT_EQ(scriptedUi.log.back(), "closeWindow 2");
}
