// Icons, system picture files, the profile folder and process starts.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "platform/ui.h"
#include "platform/win32_ui_internal.h"

namespace {

bool isKey(const Picture& p, int x, int y)
{
    const std::uint8_t* c = &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * channelsOf(p)];
    return c[0] == KEY_LEVEL && c[1] == KEY_LEVEL && c[2] == KEY_LEVEL;
}

std::string rgbAt(const Picture& p, int x, int y)
{
    const std::uint8_t* c = &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * channelsOf(p)];
    return std::to_string(c[0]) + "," + std::to_string(c[1]) + "," + std::to_string(c[2]);
}

int nonKeyPixels(const Picture& p, int from, int to)
{
    int count = 0;
    for (int y = from; y < to; ++y)
        for (int x = from; x < to; ++x)
            count += isKey(p, x, y) ? 0 : 1;
    return count;
}

void appendLittleEndian(std::string& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string infoHeader(int width, int height, int bits)
{
    std::string h;
    appendLittleEndian(h, 40, 4);
    appendLittleEndian(h, static_cast<std::uint32_t>(width), 4);
    appendLittleEndian(h, static_cast<std::uint32_t>(height), 4);
    appendLittleEndian(h, 1, 2);
    appendLittleEndian(h, static_cast<std::uint32_t>(bits), 2);
    appendLittleEndian(h, 0, 4 * 6);
    return h;
}

// A bottom-up bitmap file; pixels are blue, green, red(, alpha) rows, bottom row first.
std::string bitmapFile(int width, int height, int bits, const std::string& rows)
{
    std::string file = "BM";
    appendLittleEndian(file, static_cast<std::uint32_t>(54 + rows.size()), 4);
    appendLittleEndian(file, 0, 4);
    appendLittleEndian(file, 54, 4);
    return file + infoHeader(width, height, bits) + rows;
}

// A 16x16 icon file with 32-bit pixels: the left half opaque red, the right half transparent.
std::string iconFile()
{
    std::string colour;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            colour += x < 8 ? std::string("\x00\x00\xFF\xFF", 4) : std::string(4, '\0');
    std::string mask;
    for (int y = 0; y < 16; ++y)
        mask += std::string("\x00\xFF\x00\x00", 4); // right half masked out, rows padded to 32 bits
    const std::string image = infoHeader(16, 32, 32) + colour + mask;
    std::string file;
    appendLittleEndian(file, 0, 2);
    appendLittleEndian(file, 1, 2);
    appendLittleEndian(file, 1, 2);
    file += std::string("\x10\x10\x00\x00", 4);
    appendLittleEndian(file, 1, 2);
    appendLittleEndian(file, 32, 2);
    appendLittleEndian(file, static_cast<std::uint32_t>(image.size()), 4);
    appendLittleEndian(file, 22, 4);
    return file + image;
}

class Win32System : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initPlatform(); }
    static void TearDownTestSuite() { releasePlatform(); }

    std::string tempFile(const std::string& name, const std::string& bytes)
    {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        const std::string path = std::string(folder) + "velquor-" + std::to_string(GetCurrentProcessId()) + "-" + name;
        EXPECT_TRUE(writeWholeFile(path, bytes));
        written.push_back(path);
        return path;
    }
    void TearDown() override
    {
        for (const std::string& path : written)
            deleteFile(path);
    }

    std::vector<std::string> written;
};

TEST(Premultiply, ChannelsBelowFullAlphaRoundDown)
{
    struct Case {
        std::uint8_t c, alpha, expected;
    };
    const Case cases[] = {{255, 255, 255}, {17, 255, 17}, {200, 0, 0},  {255, 128, 127},
                          {255, 254, 253}, {1, 254, 0},   {17, 128, 8}, {100, 1, 0}};
    for (const Case& k : cases)
        EXPECT_EQ(premultiplyChannel(k.c, k.alpha), k.expected) << int(k.c) << " at alpha " << int(k.alpha);
}

TEST(Premultiply, CopyIsBlueGreenRedAlpha)
{
    Picture rgba = makePicture(2, 1, true);
    const std::uint8_t straight[] = {200, 100, 50, 128, 10, 20, 30, 255};
    std::copy(std::begin(straight), std::end(straight), rgba.pixels.begin());
    EXPECT_EQ(premultipliedCopy(rgba), (std::vector<std::uint8_t>{25, 50, 100, 128, 30, 20, 10, 255}));
    Picture rgb = makePicture(1, 1, false);
    rgb.pixels = {1, 2, 3};
    EXPECT_EQ(premultipliedCopy(rgb), (std::vector<std::uint8_t>{3, 2, 1, 255}));
}

TEST_F(Win32System, ShellIconsAreCapturedOnTheKeyColour)
{
    for (const char* path : {"C:\\windows\\notepad.exe", "C:\\windows\\"}) {
        const std::optional<Picture> icon = shellIconPicture(path);
        ASSERT_TRUE(icon.has_value()) << path;
        EXPECT_FALSE(icon->hasAlpha);
        EXPECT_EQ(icon->width, GetSystemMetrics(SM_CXICON)) << path;
        EXPECT_EQ(icon->height, GetSystemMetrics(SM_CYICON)) << path;
        EXPECT_EQ(icon->width, 32);
        EXPECT_TRUE(isKey(*icon, 0, 0) && isKey(*icon, 31, 0) && isKey(*icon, 0, 31) && isKey(*icon, 31, 31)) << path;
        EXPECT_GT(nonKeyPixels(*icon, 8, 24), 64) << path;
    }
}

TEST_F(Win32System, CaptureIconFollowsTheHotSpot)
{
    const std::optional<Picture> icon = captureIcon(CopyIcon(LoadIcon(nullptr, IDI_APPLICATION)));
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->width, 32);
    EXPECT_EQ(icon->height, 32);
    EXPECT_FALSE(captureIcon(nullptr).has_value());
}

TEST_F(Win32System, BitmapFilesReadAsRgbWithoutAlpha)
{
    // 24 bits: rows padded to four bytes, bottom row first.
    const std::string rows24 = std::string("\x5A\x50\x46\x11\x11\x11\0\0", 8) + std::string("\x1E\x14\x0A\x3C\x32\x28\0\0", 8);
    const std::optional<Picture> p24 = loadSystemPicture(tempFile("a.bmp", bitmapFile(2, 2, 24, rows24)));
    ASSERT_TRUE(p24.has_value());
    EXPECT_FALSE(p24->hasAlpha);
    EXPECT_EQ(p24->width, 2);
    EXPECT_EQ(p24->height, 2);
    EXPECT_EQ(rgbAt(*p24, 0, 0), "10,20,30");
    EXPECT_EQ(rgbAt(*p24, 1, 0), "40,50,60");
    EXPECT_EQ(rgbAt(*p24, 0, 1), "70,80,90");
    EXPECT_EQ(rgbAt(*p24, 1, 1), "17,17,17");

    // 32 bits with alpha bytes: the alpha is dropped, the colours stay.
    const std::string rows32("\x03\x02\x01\x00\x06\x05\x04\x80", 8);
    const std::optional<Picture> p32 = loadSystemPicture(tempFile("b.bmp", bitmapFile(2, 1, 32, rows32)));
    ASSERT_TRUE(p32.has_value());
    EXPECT_FALSE(p32->hasAlpha);
    EXPECT_EQ(rgbAt(*p32, 0, 0), "1,2,3");
    EXPECT_EQ(rgbAt(*p32, 1, 0), "4,5,6");
}

TEST_F(Win32System, IconFilesAreDrawnOnTheKeyColour)
{
    const std::optional<Picture> icon = loadSystemPicture(tempFile("c.ico", iconFile()));
    ASSERT_TRUE(icon.has_value());
    EXPECT_FALSE(icon->hasAlpha);
    EXPECT_EQ(icon->width, 16);
    EXPECT_EQ(icon->height, 16);
    EXPECT_EQ(rgbAt(*icon, 0, 0), "255,0,0");
    EXPECT_EQ(rgbAt(*icon, 7, 15), "255,0,0");
    EXPECT_TRUE(isKey(*icon, 8, 0));
    EXPECT_TRUE(isKey(*icon, 15, 15));
}

TEST_F(Win32System, OtherFilesAreLeftToTheCaller)
{
    EXPECT_FALSE(loadSystemPicture(tempFile("d.png", "\x89PNG\r\n\x1a\n")).has_value());
    EXPECT_FALSE(loadSystemPicture(tempFile("e", "")).has_value());
    EXPECT_FALSE(loadSystemPicture(tempFile("f.bmp", "BM broken")).has_value());
    EXPECT_FALSE(loadSystemPicture("C:\\no\\such\\file.bmp").has_value());
}

TEST_F(Win32System, ProfileFolderIsAnExistingFolder)
{
    const std::string folder = shellProfileFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(findEntry(folder).isDirectory) << folder;
}

TEST_F(Win32System, ProcessesStartOrReportFailure)
{
    EXPECT_TRUE(createProcess("\"C:\\windows\\system32\\cmd.exe\" /c exit 0", ""));
    EXPECT_TRUE(createProcess("\"C:\\windows\\system32\\cmd.exe\" /c exit 0", "C:\\windows\\"));
    EXPECT_FALSE(createProcess("\"C:\\no\\such\\program.exe\"", ""));
    // The shell reports a missing document in a box of its own; it is dismissed here.
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, [](HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND hwnd, LPARAM) -> BOOL {
                char name[16] = "";
                GetClassNameA(hwnd, name, sizeof(name));
                if (lstrcmpA(name, "#32770") == 0 && IsWindowVisible(hwnd))
                    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
                return TRUE;
            },
            0);
    });
    EXPECT_FALSE(shellExecute("C:\\no\\such\\document.txt", "", ""));
    KillTimer(nullptr, timer);
}

} // namespace
