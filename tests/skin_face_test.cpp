#include "skin_fixture.h"

#include "skin/face.h"
#include "store/paths.h"

using namespace skintest;

TEST(FilePart, TakesTheTextAfterTheLastSeparatorUpToAQuote)
{
    struct Case {
        const char* path;
        const char* part;
    } cases[] = {
        {"C:\\Tools\\Editor\\edit.exe", "edit.exe"},
        {"C:/tools/run.exe", "run.exe"},
        {"C:\\Data/mixed\\last.txt", "last.txt"},
        {"C:\\Data\\Pictures\\", ""},
        {"notepad.exe", "notepad.exe"},
        {"\"C:\\Program Files\\x.exe\"", "x.exe"},
        {"\"C:\\a b\\x.exe\" -arg", "x.exe"},
        {"\"plain\"", "plain"},
        {"\"", ""},
        {"", ""},
        {"C:\\odd\"name", "odd"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(filePart(c.path), c.part) << c.path;
}

class AssignSlotTest : public ProfileTest {};

TEST_F(AssignSlotTest, DerivesNameAndFolderFlagFromThePath)
{
    struct Case {
        const char* path;
        const char* name;
        std::uint8_t isFolder;
    } cases[] = {
        {"C:\\Tools\\Editor\\edit.exe", "edit.exe", 0},
        {"C:\\Data\\Pictures\\", "Pictures", 1},
        {"D:\\", "D:", 1},
        {"\"C:\\Program Files\\App\\app.exe\"", "app.exe", 0},
        {"C:/Games/run.exe", "run.exe", 0},
        {"C:/Games/Saves/", "Saves", 1},
    };
    for (const Case& c : cases) {
        bind(1, c.path);
        EXPECT_EQ(slotTable[1].name, c.name) << c.path;
        EXPECT_EQ(slotTable[1].isFolder, c.isFolder) << c.path;
        EXPECT_EQ(slotTable[1].path, c.path);
    }
}

TEST_F(AssignSlotTest, DeclinesPathsWithoutAName)
{
    for (const char* path : {"\\", "", "\"", "/"}) {
        scriptedUi.shellIcons[path] = testIcon(32, 32);
        EXPECT_FALSE(assignSlot(path, 0)) << path;
        EXPECT_EQ(slotTable[0].face, EMPTY_MARKER);
        EXPECT_EQ(slotTable[0].name, "leer");
        EXPECT_TRUE(dataFiles().empty());
        EXPECT_TRUE(scriptedCalls("shellIconPicture").empty());
    }
}

TEST_F(AssignSlotTest, WritesCapturedIconFaceAndDescriptorInThatOrder)
{
    const std::string path = "C:\\Tools\\Editor\\edit.exe";
    scriptedUi.shellIcons[path] = testIcon(32, 32);
    recordEffects();
    ASSERT_TRUE(assignSlot(path, 2));

    EXPECT_EQ(fileEffects(), (std::vector<std::string>{"write icon_2_org.png", "write icon_2.png", "write icon_2_p.zv"}));

    const std::string captured = *readBytes(file("icon_2_org.png"));
    const std::string face = *readBytes(file("icon_2.png"));
    EXPECT_EQ(pngColourType(captured), 2);
    EXPECT_EQ(pngColourType(face), 6);
    EXPECT_EQ(*readBytes(file("icon_2_p.zv")), path + "\r\nedit.exe\r\n" + std::string(1, '\0'));

    const Picture* kept = pictureOf(slotTable[2].face);
    ASSERT_NE(kept, nullptr);
    EXPECT_GT(slotTable[2].face, EMPTY_LAYER);
    const std::optional<Picture> fromFile = decodePng(face);
    ASSERT_TRUE(fromFile);
    EXPECT_EQ(fromFile->pixels, kept->pixels);
    EXPECT_EQ(decodePng(captured)->pixels, testIcon(32, 32).pixels);
}

TEST_F(AssignSlotTest, FolderDescriptorEndsWithTheFolderByte)
{
    bind(0, "C:\\Data\\Pictures\\");
    EXPECT_EQ(*readBytes(file("icon_0_p.zv")), "C:\\Data\\Pictures\\\r\nPictures\r\n\x01");
}

TEST_F(AssignSlotTest, WithoutAnIconOrABaseLayerNothingChanges)
{
    const std::string path = "C:\\Tools\\edit.exe";
    EXPECT_FALSE(assignSlot(path, 0)); // the shell has no icon for it
    EXPECT_EQ(slotTable[0].face, EMPTY_MARKER);
    EXPECT_EQ(slotTable[0].name, "leer");
    EXPECT_TRUE(dataFiles().empty());

    scriptedUi.shellIcons[path] = testIcon(32, 32);
    putPicture(BASE_LAYER, std::nullopt);
    EXPECT_FALSE(assignSlot(path, 0));
    EXPECT_EQ(slotTable[0].face, EMPTY_MARKER);
    EXPECT_EQ(slotTable[0].path, "");
    EXPECT_TRUE(dataFiles().empty());
}

TEST_F(AssignSlotTest, CreatesAMissingDataFolder)
{
    std::filesystem::remove_all(data);
    bind(0, "C:\\Tools\\edit.exe");
    EXPECT_EQ(dataFiles(), (std::vector<std::string>{"icon_0.png", "icon_0_org.png", "icon_0_p.zv"}));
}

class ComposeFaceTest : public ProfileTest {
protected:
    // The face as the base layer with the icon set in, before any gloss.
    Picture composeWithoutGloss(const Picture& icon, int skin)
    {
        useBuiltinSkin(skin);
        putPicture(GLOSS_LAYER, std::nullopt);
        std::optional<Picture> face = composeFace(icon, 0);
        EXPECT_TRUE(face);
        return face ? *face : Picture{};
    }
};

TEST_F(ComposeFaceTest, CentresIconsOfEverySizeAndClipsThemToTheFace)
{
    struct Case {
        int size;
        int offset;
    } cases[] = {{32, 16}, {31, 17}, {48, 8}, {64, 0}, {80, -7}, {1, 32}};
    for (const Case& c : cases) {
        const Picture icon = testIcon(c.size, c.size);
        const Picture face = composeWithoutGloss(icon, 1);
        const Picture& base = *pictureOf(BASE_LAYER);
        ASSERT_EQ(face.width, 64);
        ASSERT_TRUE(face.hasAlpha);
        for (int y = 0; y < 64; ++y) {
            for (int x = 0; x < 64; ++x) {
                const int ix = x - c.offset;
                const int iy = y - c.offset;
                const bool inIcon = ix >= 0 && iy >= 0 && ix < c.size && iy < c.size;
                const std::uint8_t* f = pixelAt(face, x, y);
                const std::uint8_t* b = pixelAt(base, x, y);
                const std::uint8_t* i = inIcon ? pixelAt(icon, ix, iy) : nullptr;
                const bool key = i && i[0] == KEY_LEVEL && i[1] == KEY_LEVEL && i[2] == KEY_LEVEL;
                const std::uint8_t* expected = inIcon && !key ? i : b;
                ASSERT_EQ(std::vector<int>(f, f + 3), std::vector<int>(expected, expected + 3))
                    << "size " << c.size << " at " << x << "," << y;
                ASSERT_EQ(f[3], b[3]) << "alpha at " << x << "," << y;
            }
        }
    }
}

TEST_F(ComposeFaceTest, IconPixelsTakeThePartialAlphaOfTheSkin2Base)
{
    const Picture icon = testIcon(32, 32);
    const Picture face = composeWithoutGloss(icon, 2);
    int lowest = 255, highest = 0, wrongColour = 0;
    for (int y = 17; y < 47; ++y) {
        for (int x = 17; x < 47; ++x) {
            if (x == 19 && y == 18)
                continue; // a key pixel of the icon
            const std::uint8_t* f = pixelAt(face, x, y);
            lowest = std::min<int>(lowest, f[3]);
            highest = std::max<int>(highest, f[3]);
            wrongColour += !std::equal(f, f + 3, pixelAt(icon, x - 16, y - 16));
        }
    }
    EXPECT_GE(lowest, 135);
    EXPECT_LE(highest, 156);
    EXPECT_LT(highest, 255);
    EXPECT_EQ(wrongColour, 0);
}

TEST_F(ComposeFaceTest, IconCornersOverTransparentBaseShowOnlyTheGloss)
{
    Picture icon = makePicture(48, 48, false);
    for (std::size_t i = 0; i < icon.pixels.size(); i += 3)
        icon.pixels[i] = 250;
    std::optional<Picture> face = composeFace(icon, 0);
    ASSERT_TRUE(face);
    const Picture& base = *pictureOf(BASE_LAYER);
    const Picture& gloss = *pictureOf(GLOSS_LAYER);
    int checked = 0;
    for (int y = 8; y < 56; ++y) {
        for (int x = 8; x < 56; ++x) {
            if (pixelAt(base, x, y)[3] != 0)
                continue;
            const std::uint8_t* f = pixelAt(*face, x, y);
            const std::uint8_t* g = pixelAt(gloss, x, y);
            ++checked;
            if (g[3] == 0) {
                EXPECT_EQ(f[3], 0) << x << "," << y;
            } else {
                EXPECT_EQ(std::vector<int>(f, f + 4), std::vector<int>(g, g + 4)) << x << "," << y;
            }
        }
    }
    EXPECT_GT(checked, 0); // the corners of a 48x48 icon lie outside the disc
}

TEST_F(ComposeFaceTest, GlossIsBlendedOverTheIconExactly)
{
    Picture base = makePicture(64, 64, true);
    Picture gloss = makePicture(64, 64, true);
    for (std::size_t i = 0; i < base.pixels.size(); i += 4) {
        base.pixels[i] = 184, base.pixels[i + 1] = 184, base.pixels[i + 2] = 183, base.pixels[i + 3] = 255;
        gloss.pixels[i] = 255, gloss.pixels[i + 1] = 255, gloss.pixels[i + 2] = 255, gloss.pixels[i + 3] = 71;
    }
    putPicture(BASE_LAYER, base);
    putPicture(GLOSS_LAYER, gloss);
    Picture icon = makePicture(32, 32, false);
    std::fill(icon.pixels.begin(), icon.pixels.end(), KEY_LEVEL);
    std::optional<Picture> face = composeFace(icon, 0);
    ASSERT_TRUE(face);
    for (std::size_t i = 0; i < face->pixels.size(); i += 4)
        ASSERT_EQ(std::vector<int>(&face->pixels[i], &face->pixels[i + 4]), (std::vector<int>{203, 203, 203, 255}));
}

TEST_F(ComposeFaceTest, FollowsTheBaseLayersSizeAndFormat)
{
    // A small RGB base: the face is RGB of that size and icon pixels beyond it are dropped.
    Picture base = makePicture(40, 20, false);
    std::fill(base.pixels.begin(), base.pixels.end(), 99);
    putPicture(BASE_LAYER, base);
    putPicture(GLOSS_LAYER, std::nullopt);
    const Picture icon = testIcon(32, 32);
    std::optional<Picture> face = composeFace(icon, 3);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->width, 40);
    EXPECT_EQ(face->height, 20);
    EXPECT_FALSE(face->hasAlpha);
    EXPECT_EQ(std::vector<int>(pixelAt(*face, 17, 17), pixelAt(*face, 17, 17) + 3),
              std::vector<int>(pixelAt(icon, 1, 1), pixelAt(icon, 1, 1) + 3));
    EXPECT_EQ(pixelAt(*face, 15, 17)[0], 99);
    EXPECT_EQ(pngColourType(*readBytes(file("icon_3.png"))), 2);

    // A base smaller than the offset: nothing of the icon lands on it.
    Picture tiny = makePicture(8, 8, true);
    putPicture(BASE_LAYER, tiny);
    face = composeFace(testIcon(32, 32), 3);
    ASSERT_TRUE(face);
    EXPECT_EQ(face->pixels, tiny.pixels);
}

TEST_F(ComposeFaceTest, WritesTheFaceFileOfTheSlot)
{
    std::optional<Picture> face = composeFace(testIcon(32, 32), 4);
    ASSERT_TRUE(face);
    const std::optional<Picture> written = loadPicture(faceFilePath(4));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->pixels, face->pixels);
    EXPECT_TRUE(written->hasAlpha);
}

TEST_F(ComposeFaceTest, ReadsOnlyTheColourOfAnRgbaCapture)
{
    Picture rgba = makePicture(32, 32, true);
    for (std::size_t i = 0; i < rgba.pixels.size(); i += 4)
        rgba.pixels[i] = 200, rgba.pixels[i + 1] = 10, rgba.pixels[i + 2] = 20, rgba.pixels[i + 3] = 0;
    putPicture(GLOSS_LAYER, std::nullopt);
    std::optional<Picture> face = composeFace(rgba, 0);
    ASSERT_TRUE(face);
    EXPECT_EQ(std::vector<int>(pixelAt(*face, 20, 20), pixelAt(*face, 20, 20) + 4),
              (std::vector<int>{200, 10, 20, pixelAt(*pictureOf(BASE_LAYER), 20, 20)[3]}));
}

TEST_F(ComposeFaceTest, NoBaseLayerNoFace)
{
    putPicture(BASE_LAYER, std::nullopt);
    EXPECT_FALSE(composeFace(testIcon(32, 32), 0));
    EXPECT_FALSE(exists("icon_0.png"));
}
