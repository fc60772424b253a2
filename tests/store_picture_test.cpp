#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "store/picture_files.h"
#include "store_fixture.h"

namespace {

using storetest::ProfileTest;

struct Chunk {
    std::string type;
    std::string data;
};

std::uint32_t bigEndian(const std::string& s, std::size_t at)
{
    return (std::uint32_t(std::uint8_t(s[at])) << 24) | (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

// Splits a PNG file into its chunks, checking every CRC on the way.
std::vector<Chunk> chunksOf(const std::string& png)
{
    std::vector<Chunk> chunks;
    EXPECT_EQ(png.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = bigEndian(png, at);
        Chunk c{png.substr(at + 4, 4), png.substr(at + 8, length)};
        const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + at + 4), length + 4);
        EXPECT_EQ(bigEndian(png, at + 8 + length), crc) << c.type;
        chunks.push_back(c);
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

std::string inflated(const std::string& stream)
{
    std::string out(1 << 20, '\0');
    uLongf size = out.size();
    EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(stream.data()),
                         stream.size()),
              Z_OK);
    out.resize(size);
    return out;
}

Picture patterned(int w, int h, bool alpha)
{
    Picture p = makePicture(w, h, alpha);
    for (std::size_t i = 0; i < p.pixels.size(); ++i)
        p.pixels[i] = static_cast<std::uint8_t>((i * 37 + i / 7) & 0xFF);
    return p;
}

// A PNG made by libpng's own writer, for the reading cases.
struct SourcePng {
    int width = 0, height = 0, bitDepth = 8, colourType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> paletteAlpha; // tRNS of a palette picture
    std::optional<png_color_16> transparent; // tRNS of grey and RGB pictures
    std::vector<std::vector<png_byte>> rows; // packed as the file stores them
};

void appendTo(png_structp png, png_bytep data, std::size_t n)
{
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<char*>(data), n);
}
void noFlush(png_structp) {}

std::string writeSource(SourcePng& s)
{
    std::string out;
    std::vector<png_bytep> rowPointers;
    for (auto& row : s.rows)
        rowPointers.push_back(row.data());
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "libpng could not write the source picture";
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, appendTo, noFlush);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colourType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty())
        png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
    if (!s.paletteAlpha.empty())
        png_set_tRNS(png, info, s.paletteAlpha.data(), static_cast<int>(s.paletteAlpha.size()), nullptr);
    if (s.transparent)
        png_set_tRNS(png, info, nullptr, 0, &*s.transparent);
    png_set_gAMA(png, info, 0.45455); // an extra chunk that reading ignores
    png_write_info(png, info);
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

std::vector<std::uint8_t> pixel(const Picture& p, int x, int y)
{
    const std::uint8_t* at = &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * channelsOf(p)];
    return {at, at + channelsOf(p)};
}

using U = std::vector<std::uint8_t>;

// --- writing ---

class Encoding : public ::testing::TestWithParam<std::tuple<int, int, bool>> {};

TEST_P(Encoding, OnlyIhdrIdatIendWithFixedParameters)
{
    const auto [w, h, alpha] = GetParam();
    const Picture p = patterned(w, h, alpha);
    const std::string png = encodePng(p);
    const std::vector<Chunk> chunks = chunksOf(png);
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front().type, "IHDR");
    EXPECT_EQ(chunks.back().type, "IEND");
    EXPECT_TRUE(chunks.back().data.empty());
    std::string stream;
    for (std::size_t i = 1; i + 1 < chunks.size(); ++i) {
        EXPECT_EQ(chunks[i].type, "IDAT");
        stream += chunks[i].data;
    }
    const std::string& ihdr = chunks.front().data;
    ASSERT_EQ(ihdr.size(), 13u);
    EXPECT_EQ(bigEndian(ihdr, 0), std::uint32_t(w));
    EXPECT_EQ(bigEndian(ihdr, 4), std::uint32_t(h));
    EXPECT_EQ(ihdr[8], 8);                // bit depth
    EXPECT_EQ(ihdr[9], alpha ? 6 : 2);    // colour type
    EXPECT_EQ(ihdr.substr(10), std::string(3, '\0')); // compression, filter, interlace

    // zlib header: deflate with a 32 KB window, level-9 flag, no dictionary.
    ASSERT_GE(stream.size(), 2u);
    EXPECT_EQ(std::uint8_t(stream[0]), 0x78);
    EXPECT_EQ(std::uint8_t(stream[1]) >> 6, 3);
    EXPECT_EQ(std::uint8_t(stream[1]) & 0x20, 0);

    // Every row has filter byte 0 and the pixels unchanged.
    const std::string raw = inflated(stream);
    const std::size_t stride = static_cast<std::size_t>(w) * (alpha ? 4 : 3);
    ASSERT_EQ(raw.size(), (stride + 1) * h);
    for (int y = 0; y < h; ++y) {
        EXPECT_EQ(raw[y * (stride + 1)], 0) << "row " << y;
        EXPECT_EQ(std::memcmp(raw.data() + y * (stride + 1) + 1, p.pixels.data() + y * stride, stride), 0);
    }

    // The same stream that zlib itself makes with these settings.
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string expected(deflateBound(&z, raw.size()), '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.data()));
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(expected.data());
    z.avail_out = static_cast<uInt>(expected.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    expected.resize(z.total_out);
    deflateEnd(&z);
    EXPECT_EQ(stream, expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Encoding,
                         ::testing::Values(std::make_tuple(64, 64, true), std::make_tuple(32, 32, false),
                                           std::make_tuple(1, 1, true), std::make_tuple(3, 5, false),
                                           std::make_tuple(200, 150, true)));

TEST(Encoding, RoundTripKeepsEveryByte)
{
    for (bool alpha : {true, false}) {
        Picture p = patterned(64, 64, alpha);
        if (alpha)
            p.pixels[3] = 0; // straight alpha: colour kept under alpha 0
        const std::optional<Picture> back = decodePng(encodePng(p));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->width, 64);
        EXPECT_EQ(back->height, 64);
        EXPECT_EQ(back->hasAlpha, alpha);
        EXPECT_EQ(back->pixels, p.pixels);
    }
}

TEST(Encoding, EmptyPictureGivesNoFile) { EXPECT_TRUE(encodePng(Picture{}).empty()); }

// --- reading ---

TEST(Decoding, PaletteWithTransparentEntryBecomesRgba)
{
    SourcePng s;
    s.width = 2;
    s.height = 1;
    s.colourType = PNG_COLOR_TYPE_PALETTE;
    s.palette = {{10, 20, 30}, {40, 50, 60}};
    s.paletteAlpha = {0};
    s.rows = {{0, 1}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(pixel(*p, 0, 0), (U{10, 20, 30, 0}));
    EXPECT_EQ(pixel(*p, 1, 0), (U{40, 50, 60, 255}));
}

TEST(Decoding, PaletteWithoutTransparencyBecomesRgbEvenAtTwoBits)
{
    SourcePng s;
    s.width = 4;
    s.height = 1;
    s.bitDepth = 2;
    s.colourType = PNG_COLOR_TYPE_PALETTE;
    s.palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
    s.rows = {{0b00011011}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->pixels, (U{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(Decoding, GreyBecomesRgbAndIgnoresTransparencyAt8Bits)
{
    SourcePng s;
    s.width = 2;
    s.height = 1;
    s.colourType = PNG_COLOR_TYPE_GRAY;
    s.transparent = png_color_16{0, 0, 0, 0, 77};
    s.rows = {{77, 200}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->pixels, (U{77, 77, 77, 200, 200, 200}));
}

TEST(Decoding, GreyWithAlphaBecomesRgba)
{
    SourcePng s;
    s.width = 1;
    s.height = 1;
    s.colourType = PNG_COLOR_TYPE_GRAY_ALPHA;
    s.rows = {{90, 33}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->pixels, (U{90, 90, 90, 33}));
}

struct LowGrey {
    int bitDepth;
    png_byte packed; // two samples: the transparent 0, then the largest value
};

class DecodingLowGrey : public ::testing::TestWithParam<LowGrey> {};

TEST_P(DecodingLowGrey, WidenedAndTransparencyBecomesAlpha)
{
    const LowGrey c = GetParam();
    SourcePng s;
    s.width = 2;
    s.height = 1;
    s.bitDepth = c.bitDepth;
    s.colourType = PNG_COLOR_TYPE_GRAY;
    s.transparent = png_color_16{0, 0, 0, 0, 0};
    s.rows = {{c.packed}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->pixels, (U{0, 0, 0, 0, 255, 255, 255, 255})) << "bit depth " << c.bitDepth;
}

INSTANTIATE_TEST_SUITE_P(Depths, DecodingLowGrey,
                         ::testing::Values(LowGrey{1, 0b01000000}, LowGrey{2, 0b00110000}, LowGrey{4, 0b00001111}));

TEST(Decoding, SixteenBitsAreReducedToEight)
{
    SourcePng s;
    s.width = 1;
    s.height = 1;
    s.bitDepth = 16;
    s.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    s.rows = {{0xFF, 0xFF, 0x12, 0x34, 0x00, 0x00, 0xAB, 0xAB}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->hasAlpha);
    EXPECT_EQ(p->pixels, (U{0xFF, 0x12, 0x00, 0xAB}));
}

TEST(Decoding, SixteenBitGreyIgnoresTransparency)
{
    SourcePng s;
    s.width = 1;
    s.height = 1;
    s.bitDepth = 16;
    s.colourType = PNG_COLOR_TYPE_GRAY;
    s.transparent = png_color_16{0, 0, 0, 0, 0x8080};
    s.rows = {{0x80, 0x80}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->pixels, (U{0x80, 0x80, 0x80}));
}

TEST(Decoding, RgbWithTransparencyStaysRgb)
{
    SourcePng s;
    s.width = 2;
    s.height = 1;
    s.colourType = PNG_COLOR_TYPE_RGB;
    s.transparent = png_color_16{0, 1, 2, 3, 0};
    s.rows = {{1, 2, 3, 4, 5, 6}};
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->hasAlpha);
    EXPECT_EQ(p->pixels, (U{1, 2, 3, 4, 5, 6}));
}

TEST(Decoding, InterlacedIsReadWhole)
{
    SourcePng s;
    s.width = 9;
    s.height = 7;
    s.colourType = PNG_COLOR_TYPE_RGB_ALPHA;
    s.interlaced = true;
    const Picture expected = patterned(9, 7, true);
    for (int y = 0; y < 7; ++y)
        s.rows.emplace_back(expected.pixels.begin() + y * 36, expected.pixels.begin() + (y + 1) * 36);
    const std::optional<Picture> p = decodePng(writeSource(s));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->pixels, expected.pixels);
}

TEST(Decoding, GarbageAndDamageReadAsNone)
{
    const std::string good = encodePng(patterned(8, 8, true));
    std::string badCrc = good;
    badCrc[30] ^= 1; // inside IHDR
    const std::string cases[] = {"", "garbage", good.substr(0, 8), good.substr(0, good.size() / 2), badCrc,
                                 std::string("\x89PNG\r\n\x1a\n", 8) + std::string(100, '\0')};
    for (const std::string& bytes : cases)
        EXPECT_FALSE(decodePng(bytes)) << bytes.size() << " bytes";
}

// --- files ---

using PictureFiles = ProfileTest;

TEST_F(PictureFiles, LayerFileWithoutExtensionIsRead)
{
    makeDataFolder();
    const Picture p = patterned(64, 64, true);
    storetest::writeBytes(data / "skin1_l1", encodePng(p));
    const std::optional<Picture> back = loadPicture(data.string() + "\\skin1_l1");
    ASSERT_TRUE(back);
    EXPECT_EQ(back->pixels, p.pixels);
}

TEST_F(PictureFiles, SaveWritesExactlyTheEncodedBytesAndReplaces)
{
    makeDataFolder();
    storetest::writeBytes(data / "icon_0.png", std::string(100000, 'x'));
    const Picture p = patterned(32, 32, false);
    EXPECT_TRUE(savePicture(p, data.string() + "\\icon_0.png"));
    EXPECT_EQ(dataFile("icon_0.png"), encodePng(p));
}

TEST_F(PictureFiles, FailuresReadAsNoneAndWriteNothing)
{
    EXPECT_FALSE(loadPicture(data.string() + "\\missing"));
    EXPECT_FALSE(savePicture(patterned(4, 4, true), data.string() + "\\icon_0.png"));
    makeDataFolder();
    storetest::writeBytes(data / "text", "not a picture at all");
    EXPECT_FALSE(loadPicture(data.string() + "\\text"));
    // Bitmaps and icons go to the system reader, which the test double lacks.
    storetest::writeBytes(data / "bitmap", "BM" + std::string(60, '\0'));
    storetest::writeBytes(data / "icon", std::string("\0\0\1\0", 4) + std::string(60, '\0'));
    EXPECT_FALSE(loadPicture(data.string() + "\\bitmap"));
    EXPECT_FALSE(loadPicture(data.string() + "\\icon"));
}

} // namespace
