#include <cstdint>
#include <limits>
#include <string>

#include "store/paths.h"
#include "store/settings.h"
#include "store_fixture.h"

namespace {

using storetest::ProfileTest;

const std::string DEFAULT_FILE("\x5b\x47\x65\x6e\x65\x72\x61\x6c\x5d\x0d\x0a\x70\x72\x6f\x67\x72\x61\x6d\x73\x20\x3d\x20"
                               "\x35\x0d\x0a\x72\x61\x64\x69\x75\x73\x20\x3d\x20\x31\x30\x30\x0d\x0a\x73\x6b\x69\x6e"
                               "\x20\x3d\x20\x73\x6b\x69\x6e\x31\x0d\x0a",
                               53);

struct ParseCase {
    const char* what;
    std::string file;
    std::int32_t programs;
    std::int32_t radius;
    std::string skin;
};

class ParseSettings : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSettings, ReadsAsExpected)
{
    const ParseCase& c = GetParam();
    const Settings s = parseSettings(c.file);
    EXPECT_EQ(s.programs, c.programs) << c.what;
    EXPECT_EQ(s.radius, c.radius) << c.what;
    EXPECT_EQ(s.skin, c.skin) << c.what;
}

const std::int32_t MAX32 = std::numeric_limits<std::int32_t>::max();
const std::int32_t MIN32 = std::numeric_limits<std::int32_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Files, ParseSettings,
    ::testing::Values(
        ParseCase{"written form", "[General]\r\nprograms = 3\r\nradius = 120\r\nskin = skin2\r\n", 3, 120, "skin2"},
        ParseCase{"empty file", "", 5, 100, "skin1"},
        ParseCase{"byte-order mark", "\xEF\xBB\xBF[General]\r\nprograms = 7\r\nskin = caf\xC3\xA9\r\n", 7, 100,
                  "caf\xE9"},
        ParseCase{"mark with characters above U+00FF", "\xEF\xBB\xBF[General]\nskin=\xE2\x82\xAC" "x\xF0\x9F\x98\x80\n",
                  5, 100, "?x?"},
        ParseCase{"Latin-1 bytes without a mark stay", "[General]\nskin=caf\xE9\n", 5, 100, "caf\xE9"},
        ParseCase{"LF only, CR only, runs and blank lines",
                  "\n\n[General]\n\n\r\r\nprograms=2\rradius=90\r\n\r\n\r\nskin=s\n", 2, 90, "s"},
        ParseCase{"comments and indentation",
                  "; top\r\n  \t[General]\r\n;programs = 9\r\n\t ; radius = 1\r\n   programs = 4\r\n", 4, 100,
                  "skin1"},
        ParseCase{"case of group and keys", "[gEnErAl]\r\nPROGRAMS = 8\r\nRadius = 70\r\nSKIN = Blue\r\n", 8, 70,
                  "Blue"},
        ParseCase{"space inside the brackets is another group", "[ General]\r\nprograms = 8\r\nradius = 70\r\n", 5,
                  100, "skin1"},
        ParseCase{"text after the closing bracket", "[General] trailing\r\nprograms = 1\r\n", 1, 100, "skin1"},
        ParseCase{"no closing bracket", "[General\r\nprograms = 1\r\n", 1, 100, "skin1"},
        ParseCase{"no General group", "[Other]\r\nprograms = 1\r\nradius = 80\r\n", 5, 100, "skin1"},
        ParseCase{"keys above the group", "programs = 1\r\nradius = 80\r\n[General]\r\nskin = a\r\n", 5, 100, "a"},
        ParseCase{"keys of a later group", "[General]\r\n[Other]\r\nprograms = 1\r\n", 5, 100, "skin1"},
        ParseCase{"two General groups, the first counts",
                  "[General]\r\nprograms = 2\r\n[general]\r\nprograms = 3\r\nradius = 99\r\n", 2, 100, "skin1"},
        ParseCase{"first match within the group", "[General]\r\nprograms = 2\r\nPrograms = 3\r\n", 2, 100, "skin1"},
        ParseCase{"blanks around key and value", "[General]\r\n  programs \t=\t 6 \r\nskin\t= \t x y \t\r\n", 6,
                  100, "x y"},
        ParseCase{"lines without = are ignored", "[General]\r\nprograms\r\nprograms = 2\r\n", 2, 100, "skin1"},
        ParseCase{"number stops at letters, then the floor", "[General]\r\nradius = 50abc\r\n", 5, 64, "skin1"},
        ParseCase{"number stops at letters", "[General]\r\nradius = 150px\r\nprograms = +3.5\r\n", 3, 150, "skin1"},
        ParseCase{"letters and empty values read 0", "[General]\r\nprograms = many\r\nradius =\r\n", 0, 64,
                  "skin1"},
        ParseCase{"empty skin", "[General]\r\nskin =   \r\n", 5, 100, ""},
        ParseCase{"floors", "[General]\r\nprograms = -2\r\nradius = 10\r\n", 0, 64, "skin1"},
        ParseCase{"sign without digits", "[General]\r\nprograms = -\r\nradius = +\r\n", 0, 64, "skin1"},
        ParseCase{"skin with spaces and semicolon kept", "[General]\r\nskin = skin2 ; my favourite\r\n", 5, 100,
                  "skin2 ; my favourite"},
        ParseCase{"largest values", "[General]\r\nprograms = 2147483647\r\nradius = 2147483647\r\n", MAX32, MAX32,
                  "skin1"},
        ParseCase{"too big values saturate", "[General]\r\nprograms = 99999999999999999999999\r\nradius = 2147483648\r\n",
                  MAX32, MAX32, "skin1"},
        ParseCase{"too small values saturate before the floor",
                  "[General]\r\nprograms = -99999999999999999999\r\nradius = -2147483649\r\n", 0, 64, "skin1"}));

TEST(SettingsBytes, DefaultsAreThe53Bytes) { EXPECT_EQ(settingsBytes(Settings{}), DEFAULT_FILE); }

TEST(SettingsBytes, NegativeAndExtremeValuesWrittenPlain)
{
    EXPECT_EQ(settingsBytes(Settings{-1, 34, "a b"}), "[General]\r\nprograms = -1\r\nradius = 34\r\nskin = a b\r\n");
    EXPECT_EQ(settingsBytes(Settings{MIN32, MAX32, ""}),
              "[General]\r\nprograms = -2147483648\r\nradius = 2147483647\r\nskin = \r\n");
}

using SettingsFile = ProfileTest;

TEST_F(SettingsFile, MissingFileGivesDefaultsWithoutFloors)
{
    settings = Settings{-7, 3, "other"};
    loadSettings();
    EXPECT_EQ(settings.programs, 5);
    EXPECT_EQ(settings.radius, 100);
    EXPECT_EQ(settings.skin, "skin1");
}

TEST_F(SettingsFile, DefaultsSaveAsThe53Bytes)
{
    makeDataFolder();
    loadSettings();
    saveSettings();
    EXPECT_EQ(dataFile("data.ini"), DEFAULT_FILE);
}

TEST_F(SettingsFile, SaveAfterLoadDropsCommentsMarkAndOtherKeys)
{
    makeDataFolder();
    storetest::writeBytes(data / "data.ini",
                          "\xEF\xBB\xBF; mine\r\n[Other]\r\nx = 1\r\n[General]\r\nextra = 2\r\nprograms = 3\r\n"
                          "radius = 70\r\nskin = skin2\r\n");
    loadSettings();
    saveSettings();
    EXPECT_EQ(dataFile("data.ini"), "[General]\r\nprograms = 3\r\nradius = 70\r\nskin = skin2\r\n");
}

TEST_F(SettingsFile, InMemoryValuesBelowTheFloorsAreStoredAndFlooredAtTheNextLoad)
{
    makeDataFolder();
    settings = Settings{3, 34, "skin1"};
    saveSettings();
    EXPECT_EQ(dataFile("data.ini"), "[General]\r\nprograms = 3\r\nradius = 34\r\nskin = skin1\r\n");
    loadSettings();
    EXPECT_EQ(settings.radius, 64);
}

TEST_F(SettingsFile, ShorterSaveLeavesNoTail)
{
    makeDataFolder();
    storetest::writeBytes(data / "data.ini", std::string(500, 'x'));
    saveSettings();
    EXPECT_EQ(dataFile("data.ini"), DEFAULT_FILE);
}

TEST_F(SettingsFile, SaveWithoutDataFolderIsSkipped)
{
    saveSettings();
    EXPECT_FALSE(std::filesystem::exists(data));
    EXPECT_EQ(settings.programs, 5);
}

TEST_F(SettingsFile, PathIsInTheDataFolder)
{
    EXPECT_EQ(settingsFilePath(), dir.string() + "\\\\velquor_ZV\\data.ini");
}

} // namespace
