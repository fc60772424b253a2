#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "store/paths.h"
#include "store/picture_files.h"
#include "store/settings.h"
#include "store/slot_table.h"
#include "store_fixture.h"

namespace {

using storetest::ProfileTest;

struct DescriptorCase {
    const char* what;
    std::string bytes;
    std::string path;
    std::string name;
    int isFolder;
};

class DescriptorReading : public ::testing::TestWithParam<DescriptorCase> {};

TEST_P(DescriptorReading, Fields)
{
    const DescriptorCase& c = GetParam();
    const Descriptor d = parseDescriptor(c.bytes);
    EXPECT_EQ(d.path, c.path) << c.what;
    EXPECT_EQ(d.name, c.name) << c.what;
    EXPECT_EQ(d.isFolder, c.isFolder) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, DescriptorReading,
    ::testing::Values(
        DescriptorCase{"CR LF", std::string("C:\\Tools\\edit.exe\r\nedit.exe\r\n\0", 30), "C:\\Tools\\edit.exe",
                       "edit.exe", 0},
        DescriptorCase{"folder", "C:\\Data\\Pictures\\\r\nPictures\r\n\x01", "C:\\Data\\Pictures\\", "Pictures", 1},
        DescriptorCase{"LF only", "C:\\a.exe\na.exe\n\x01", "C:\\a.exe", "a.exe", 1},
        DescriptorCase{"CR only", "C:\\a.exe\ra.exe\r\x01", "C:\\a.exe", "a.exe", 1},
        DescriptorCase{"LF CR is two line ends", "p\n\rn\r\n\x01", "p", "", 'n'},
        DescriptorCase{"ends after the path line", "C:\\a.exe\r\n", "C:\\a.exe", "", 0},
        DescriptorCase{"ends inside the path", "C:\\a", "C:\\a", "", 0},
        DescriptorCase{"no folder byte", "p\r\nn\r\n", "p", "n", 0},
        DescriptorCase{"zero bytes end lines", std::string("p\0n\0\x01", 5), "p", "n", 1},
        DescriptorCase{"empty texts", std::string("\r\n\r\n\x01", 5), "", "", 1},
        DescriptorCase{"empty file", "", "", "", 0},
        DescriptorCase{"other folder bytes kept", "p\r\nn\r\n\x07more", "p", "n", 7},
        DescriptorCase{"single-byte text kept", "C:\\\xC4rger\\x.exe\r\n\xC4 x\r\n\x00", "C:\\\xC4rger\\x.exe",
                       "\xC4 x", 0}));

TEST(DescriptorBytes, LayoutAndLength)
{
    const std::string bytes = descriptorBytes("C:\\Tools\\edit.exe", "edit.exe", 0);
    EXPECT_EQ(bytes, std::string("C:\\Tools\\edit.exe\r\nedit.exe\r\n\0", 30));
    EXPECT_EQ(descriptorBytes("", "", 1), std::string("\r\n\r\n\x01", 5));
    const Descriptor d = parseDescriptor(descriptorBytes("C:\\x\\", "x", 1));
    EXPECT_EQ(d.path, "C:\\x\\");
    EXPECT_EQ(d.name, "x");
    EXPECT_EQ(d.isFolder, 1);
}

Picture colouredFace(std::uint8_t level)
{
    Picture p = makePicture(64, 64, true);
    for (std::size_t i = 0; i < p.pixels.size(); ++i)
        p.pixels[i] = i % 4 == 3 ? 255 : level;
    return p;
}

class SlotFiles : public ProfileTest {
protected:
    void SetUp() override
    {
        ProfileTest::SetUp();
        makeDataFolder();
    }

    // Slot n on disk: face, descriptor and captured icon with recognisable content.
    void writeSlot(int n, const std::string& path, const std::string& name, std::uint8_t isFolder = 0)
    {
        storetest::writeBytes(data / ("icon_" + std::to_string(n) + ".png"), encodePng(colouredFace(std::uint8_t(n * 10))));
        storetest::writeBytes(data / ("icon_" + std::to_string(n) + "_p.zv"), descriptorBytes(path, name, isFolder));
        storetest::writeBytes(data / ("icon_" + std::to_string(n) + "_org.png"), "captured " + std::to_string(n));
    }

    std::uint8_t faceLevel(int n) const
    {
        const Picture* p = pictureOf(slotTable[n].face);
        return p ? p->pixels[0] : 0;
    }

    std::vector<std::string> files() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(data))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Loads slots 0..programs from disk.
    void load(int programs)
    {
        settings.programs = programs;
        allocateSlotTable();
        loadSlots();
    }

    // The delete command's table steps around closeGap.
    void deleteSlot(int s)
    {
        deleteSlotFiles(s);
        releaseFace(s);
        if (s < settings.programs)
            closeGap(s);
        --settings.programs;
        ASSERT_TRUE(resizeSlotTable(static_cast<std::size_t>(settings.programs) + 1));
    }
};

TEST_F(SlotFiles, LoadFillsAssignedSlotsAndLeavesTheOthersEmpty)
{
    writeSlot(0, "C:\\Tools\\edit.exe", "edit.exe");
    writeSlot(3, "C:\\Data\\", "Data", 1);
    writeSlot(7, "C:\\beyond.exe", "beyond.exe"); // above programs: ignored
    load(5);
    ASSERT_EQ(slotTable.size(), 6u);
    EXPECT_EQ(slotTable[0].name, "edit.exe");
    EXPECT_EQ(slotTable[0].path, "C:\\Tools\\edit.exe");
    EXPECT_EQ(slotTable[0].isFolder, 0);
    EXPECT_GT(slotTable[0].face, EMPTY_MARKER);
    EXPECT_EQ(faceLevel(0), 0);
    EXPECT_EQ(slotTable[3].name, "Data");
    EXPECT_EQ(slotTable[3].isFolder, 1);
    EXPECT_EQ(faceLevel(3), 30);
    for (int i : {1, 2, 4, 5}) {
        EXPECT_EQ(slotTable[i].face, EMPTY_MARKER) << i;
        EXPECT_EQ(slotTable[i].name, "leer") << i;
        EXPECT_EQ(slotTable[i].path, "") << i;
        EXPECT_EQ(slotTable[i].isFolder, 0) << i;
    }
}

TEST_F(SlotFiles, DescriptorWithoutReadableFaceGivesASlotWithoutPicture)
{
    storetest::writeBytes(data / "icon_0_p.zv", "C:\\a.exe\na.exe\n");
    storetest::writeBytes(data / "icon_1_p.zv", descriptorBytes("C:\\b.exe", "b.exe", 0));
    storetest::writeBytes(data / "icon_1.png", "broken");
    load(1);
    EXPECT_EQ(slotTable[0].name, "a.exe");
    EXPECT_EQ(slotTable[0].face, NO_PICTURE);
    EXPECT_EQ(slotTable[1].face, NO_PICTURE);
    releaseFace(0); // nothing to release
    releaseFace(1);
}

TEST_F(SlotFiles, WriteDescriptorReplacesTheFile)
{
    storetest::writeBytes(data / "icon_2_p.zv", std::string(300, 'x'));
    writeDescriptor(2, "C:\\Tools\\edit.exe", "edit.exe", 0);
    EXPECT_EQ(dataFile("icon_2_p.zv"), std::string("C:\\Tools\\edit.exe\r\nedit.exe\r\n\0", 30));
    writeDescriptor(2, "D:\\", "D:", 1);
    EXPECT_EQ(dataFile("icon_2_p.zv"), "D:\\\r\nD:\r\n\x01");
}

TEST_F(SlotFiles, WriteDescriptorFallsBackToTruncatingAWriteOnlyFile)
{
    const auto path = data / "icon_0_p.zv";
    storetest::writeBytes(path, "old content that is long");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write);
    writeDescriptor(0, "p", "n", 1);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(dataFile("icon_0_p.zv"), "p\r\nn\r\n\x01");
}

TEST_F(SlotFiles, WriteDescriptorWithoutDataFolderWritesNothing)
{
    std::filesystem::remove_all(data);
    writeDescriptor(0, "p", "n", 0);
    EXPECT_FALSE(std::filesystem::exists(data));
}

TEST_F(SlotFiles, DeletingSlot1Of4MovesTheLaterSlotsDown)
{
    for (int n = 0; n < 4; ++n)
        writeSlot(n, "C:\\p" + std::to_string(n) + ".exe", "p" + std::to_string(n) + ".exe");
    load(3);
    const int face2 = slotTable[2].face;
    const int face3 = slotTable[3].face;
    const int face1 = slotTable[1].face;
    watch.start(data);
    deleteSlot(1);
    EXPECT_EQ(watch.events(),
              (std::vector<std::string>{"delete icon_1.png", "delete icon_1_p.zv", "delete icon_1_org.png",
                                        "rename icon_2.png icon_1.png", "rename icon_2_p.zv icon_1_p.zv",
                                        "rename icon_2_org.png icon_1_org.png", "rename icon_3.png icon_2.png",
                                        "rename icon_3_p.zv icon_2_p.zv", "rename icon_3_org.png icon_2_org.png"}));
    EXPECT_EQ(pictureOf(face1), nullptr);
    ASSERT_EQ(slotTable.size(), 3u);
    EXPECT_EQ(slotTable[1].face, face2);
    EXPECT_EQ(slotTable[2].face, face3);
    EXPECT_EQ(slotTable[1].name, "p2.exe");
    EXPECT_EQ(slotTable[2].path, "C:\\p3.exe");
    EXPECT_EQ(files(), (std::vector<std::string>{"icon_0.png", "icon_0_org.png", "icon_0_p.zv", "icon_1.png",
                                                 "icon_1_org.png", "icon_1_p.zv", "icon_2.png", "icon_2_org.png",
                                                 "icon_2_p.zv"}));
    EXPECT_EQ(dataFile("icon_1_org.png"), "captured 2");
    EXPECT_EQ(dataFile("icon_2_p.zv"), descriptorBytes("C:\\p3.exe", "p3.exe", 0));

    // The next start reads the same table.
    releaseAllPictures();
    load(2);
    EXPECT_EQ(slotTable[1].name, "p2.exe");
    EXPECT_EQ(faceLevel(2), 30);
}

TEST_F(SlotFiles, DeletingTheHighestSlotMovesNothing)
{
    for (int n = 0; n < 3; ++n)
        writeSlot(n, "C:\\p" + std::to_string(n) + ".exe", "p" + std::to_string(n) + ".exe");
    load(2);
    watch.start(data);
    deleteSlot(2);
    EXPECT_EQ(watch.events(), (std::vector<std::string>{"delete icon_2.png", "delete icon_2_p.zv",
                                                        "delete icon_2_org.png"}));
    EXPECT_EQ(slotTable.size(), 2u);
    EXPECT_EQ(slotTable[1].name, "p1.exe");
}

TEST_F(SlotFiles, DeletingBeforeAnEmptySlotStillMovesTheLaterOnes)
{
    writeSlot(0, "C:\\p0.exe", "p0.exe");
    writeSlot(2, "C:\\p2.exe", "p2.exe");
    load(2);
    deleteSlot(0);
    ASSERT_EQ(slotTable.size(), 2u);
    EXPECT_EQ(slotTable[0].face, EMPTY_MARKER);
    EXPECT_EQ(slotTable[0].name, "leer");
    EXPECT_EQ(slotTable[1].name, "p2.exe");
    EXPECT_EQ(files(), (std::vector<std::string>{"icon_1.png", "icon_1_org.png", "icon_1_p.zv"}));
    EXPECT_NE(pictureOf(EMPTY_MARKER), pictureOf(slotTable[1].face));
}

TEST_F(SlotFiles, RenameOntoAFileInTheWayIsSkipped)
{
    writeSlot(0, "C:\\p0.exe", "p0.exe");
    writeSlot(1, "C:\\p1.exe", "p1.exe");
    load(1);
    // A captured-icon file of slot 0 that cannot be deleted: a folder of that name.
    std::filesystem::remove(data / "icon_0_org.png");
    std::filesystem::create_directory(data / "icon_0_org.png");
    deleteSlot(0);
    EXPECT_EQ(slotTable.size(), 1u);
    EXPECT_EQ(slotTable[0].name, "p1.exe");
    EXPECT_EQ(dataFile("icon_0_p.zv"), descriptorBytes("C:\\p1.exe", "p1.exe", 0));
    EXPECT_TRUE(std::filesystem::is_directory(data / "icon_0_org.png"));
    EXPECT_EQ(dataFile("icon_1_org.png"), "captured 1"); // stayed under its old index
}

TEST_F(SlotFiles, DeletingTheOnlySlotLeavesOneEmptyRecord)
{
    writeSlot(0, "C:\\p0.exe", "p0.exe");
    load(0);
    deleteSlotFiles(0);
    releaseFace(0);
    clearSlot(0);
    EXPECT_TRUE(files().empty());
    ASSERT_EQ(slotTable.size(), 1u);
    EXPECT_EQ(slotTable[0].face, EMPTY_MARKER);
    EXPECT_EQ(slotTable[0].name, "leer");
    EXPECT_EQ(slotTable[0].path, "");
    releaseFace(0); // the empty marker is never released
    putPicture(EMPTY_LAYER, makePicture(1, 1, true));
    releaseFace(0);
    EXPECT_NE(pictureOf(EMPTY_LAYER), nullptr);
}

TEST_F(SlotFiles, DeleteSlotFilesSkipsMissingFiles)
{
    writeSlot(4, "p", "n");
    std::filesystem::remove(data / "icon_4_p.zv");
    deleteSlotFiles(4);
    deleteSlotFiles(9);
    EXPECT_TRUE(files().empty());
}

TEST(SlotTableSize, ResizeAndClear)
{
    settings = Settings{};
    allocateSlotTable();
    ASSERT_EQ(slotTable.size(), 6u);
    for (const SlotRecord& r : slotTable) {
        EXPECT_EQ(r.face, NO_PICTURE);
        EXPECT_EQ(r.name, "");
    }
    slotTable[2].name = "kept";
    EXPECT_TRUE(resizeSlotTable(8));
    EXPECT_EQ(slotTable.size(), 8u);
    EXPECT_EQ(slotTable[2].name, "kept");
    EXPECT_EQ(slotTable[7].face, NO_PICTURE);
    EXPECT_EQ(slotTable[7].name, "");
    slotTable[7] = SlotRecord{"x", "C:\\x", 77, 1};
    clearSlot(7);
    EXPECT_EQ(slotTable[7].face, EMPTY_MARKER);
    EXPECT_EQ(slotTable[7].name, "leer");
    EXPECT_EQ(slotTable[7].path, "");
    EXPECT_EQ(slotTable[7].isFolder, 0);
    EXPECT_TRUE(resizeSlotTable(8));
    EXPECT_TRUE(resizeSlotTable(3));
    EXPECT_EQ(slotTable.size(), 3u);
    EXPECT_EQ(slotTable[2].name, "kept");
    slotTable.clear();
}

TEST(SlotTableSize, HugeCountsAreCapped)
{
    settings = Settings{};
    settings.programs = std::numeric_limits<std::int32_t>::max();
    allocateSlotTable();
    EXPECT_EQ(settings.programs, MAX_PROGRAMS);
    EXPECT_EQ(slotTable.size(), static_cast<std::size_t>(MAX_PROGRAMS) + 1);

    EXPECT_FALSE(resizeSlotTable(static_cast<std::size_t>(MAX_PROGRAMS) + 2));
    EXPECT_EQ(slotTable.size(), static_cast<std::size_t>(MAX_PROGRAMS) + 1);
    EXPECT_FALSE(resizeSlotTable(std::numeric_limits<std::size_t>::max()));
    EXPECT_EQ(slotTable.size(), static_cast<std::size_t>(MAX_PROGRAMS) + 1);

    settings.programs = MAX_PROGRAMS;
    allocateSlotTable();
    EXPECT_EQ(settings.programs, MAX_PROGRAMS);
    settings.programs = 0;
    allocateSlotTable();
    EXPECT_EQ(slotTable.size(), 1u);
    slotTable.clear();
    settings = Settings{};
}

} // namespace
