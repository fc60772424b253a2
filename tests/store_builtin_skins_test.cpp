#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "skin/face.h"
#include "store/builtin_skins.h"
#include "store/picture_files.h"

namespace {

Picture builtin(int skin, int layer)
{
    std::optional<Picture> p = decodePng(std::string(builtinSkinPng(skin, layer)));
    EXPECT_TRUE(p) << "skin " << skin << " layer " << layer;
    return p ? *p : Picture{};
}

std::vector<int> at(const Picture& p, int x, int y)
{
    const std::uint8_t* px = &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * 4];
    return {px[0], px[1], px[2], px[3]};
}

TEST(BuiltinSkins, SixRgbaPicturesOf64x64TransparentInTheCorners)
{
    for (int skin = 1; skin <= 2; ++skin)
        for (int layer = 1; layer <= 3; ++layer) {
            const Picture p = builtin(skin, layer);
            EXPECT_EQ(p.width, 64);
            EXPECT_EQ(p.height, 64);
            ASSERT_TRUE(p.hasAlpha);
            for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}})
                EXPECT_EQ(at(p, x, y), (std::vector<int>{0, 0, 0, 0})) << skin << "/" << layer;
        }
    EXPECT_TRUE(builtinSkinPng(3, 1).empty());
    EXPECT_TRUE(builtinSkinPng(1, 4).empty());
}

TEST(BuiltinSkins, EmptyLayersAreTheGlossBlendedOverTheBase)
{
    for (int skin = 1; skin <= 2; ++skin) {
        Picture expected = builtin(skin, 1);
        glossBlend(expected, builtin(skin, 2));
        EXPECT_EQ(builtin(skin, 3).pixels, expected.pixels) << "skin " << skin;
    }
}

TEST(BuiltinSkins, Skin1GreyButton)
{
    const Picture base = builtin(1, 1), gloss = builtin(1, 2), empty = builtin(1, 3);
    EXPECT_EQ(at(base, 31, 31), (std::vector<int>{184, 184, 183, 255}));
    EXPECT_EQ(at(gloss, 31, 31), (std::vector<int>{255, 255, 255, 71}));
    EXPECT_EQ(at(empty, 31, 31), (std::vector<int>{203, 203, 203, 255}));
    EXPECT_EQ(at(base, 0, 32), (std::vector<int>{0, 0, 0, 255}));   // black rim
    EXPECT_EQ(at(base, 1, 32), (std::vector<int>{127, 127, 127, 255})); // grey ring
    int lowest = 255, highest = 0, left = 64, right = -1, top = 64, bottom = -1;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::vector<int> b = at(base, x, y), g = at(gloss, x, y);
            if (b[3] > 0)
                lowest = std::min(lowest, b[3]);
            if (std::hypot(x + 0.5 - 32, y + 0.5 - 32) < 31) {
                EXPECT_EQ(b[3], 255) << x << "," << y;
            }
            if (g[3] > 0) {
                EXPECT_EQ(std::vector<int>(g.begin(), g.begin() + 3), (std::vector<int>{255, 255, 255}));
                highest = std::max(highest, g[3]);
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
        }
    EXPECT_GE(lowest, 38);
    EXPECT_EQ(highest, 147);
    EXPECT_EQ(std::vector<int>({left, right, top, bottom}), std::vector<int>({9, 62, 1, 54}));
}

TEST(BuiltinSkins, Skin2TranslucentBlueSphere)
{
    const Picture base = builtin(2, 1), gloss = builtin(2, 2);
    int glossHighest = 0, colouredButClear = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::vector<int> b = at(base, x, y);
            if (b[3] > 0 || b[0] != 0) {
                EXPECT_EQ(std::vector<int>(b.begin(), b.begin() + 3), (std::vector<int>{81, 165, 246}));
            }
            if (b[3] == 0 && b[0] != 0)
                ++colouredButClear;
            if (x >= 16 && x < 48 && y >= 16 && y < 48) {
                EXPECT_GE(b[3], 135);
                EXPECT_LE(b[3], 156);
            }
            glossHighest = std::max(glossHighest, at(gloss, x, y)[3]);
        }
    EXPECT_EQ(at(base, 31, 31)[3], 152);
    EXPECT_GT(colouredButClear, 0);
    EXPECT_EQ(at(gloss, 31, 31), (std::vector<int>{235, 245, 247, 55}));
    EXPECT_EQ(at(gloss, 1, 32), (std::vector<int>{180, 218, 226, 114}));
    EXPECT_LE(glossHighest, 237);
    EXPECT_GE(glossHighest, 225);
}

} // namespace
