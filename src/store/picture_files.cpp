#include "store/picture_files.h"

#include <csetjmp>
#include <cstring>
#include <new>
#include <vector>

#include <png.h>
#include <zlib.h>

#include "platform/files.h"
#include "platform/ui.h"

namespace {

// Everything with a destructor lives here, outside the frames that libpng
// may long-jump across.
struct ReadState {
    const std::string* bytes = nullptr;
    std::size_t pos = 0;
    Picture picture;
    std::vector<png_bytep> rows;
};

void readFromMemory(png_structp png, png_bytep out, std::size_t length)
{
    auto* state = static_cast<ReadState*>(png_get_io_ptr(png));
    if (state->bytes->size() - state->pos < length)
        png_error(png, "truncated");
    std::memcpy(out, state->bytes->data() + state->pos, length);
    state->pos += length;
}

// Decoded data stays silent on errors and warnings.
void ignoreMessage(png_structp, png_const_charp) {}
void failQuietly(png_structp png, png_const_charp) { png_longjmp(png, 1); }

bool readRows(png_structp png, png_infop info, ReadState* state)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, state, readFromMemory);
    png_read_info(png, info);

    const int colourType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool hasTrns = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colourType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
        if (hasTrns)
            png_set_tRNS_to_alpha(png);
    } else if ((colourType & PNG_COLOR_MASK_COLOR) == 0) {
        if (bitDepth < 8) {
            png_set_expand_gray_1_2_4_to_8(png);
            if (hasTrns)
                png_set_tRNS_to_alpha(png);
        }
        png_set_gray_to_rgb(png);
    }
    if (bitDepth == 16)
        png_set_scale_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int channels = png_get_channels(png, info);
    if ((channels != 3 && channels != 4) || png_get_bit_depth(png, info) != 8)
        return false;
    try {
        state->picture = makePicture(static_cast<int>(width), static_cast<int>(height), channels == 4);
        state->rows.resize(height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    const std::size_t stride = static_cast<std::size_t>(width) * channels;
    for (png_uint_32 y = 0; y < height; ++y)
        state->rows[y] = state->picture.pixels.data() + y * stride;
    png_read_image(png, state->rows.data());
    png_read_end(png, nullptr);
    return true;
}

struct WriteState {
    std::string bytes;
};

void writeToMemory(png_structp png, png_bytep data, std::size_t length)
{
    auto* state = static_cast<WriteState*>(png_get_io_ptr(png));
    try {
        state->bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::bad_alloc&) {
        png_error(png, "out of memory");
    }
}

void flushNothing(png_structp) {}

// The rows, each led by filter byte 0, as one zlib stream. libpng would
// shrink the window of small pictures, so the stream is made here.
bool deflateRows(const Picture& picture, std::vector<unsigned char>& out)
{
    const std::size_t stride = static_cast<std::size_t>(picture.width) * channelsOf(picture);
    std::vector<unsigned char> raw;
    raw.reserve((stride + 1) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        const std::uint8_t* row = picture.pixels.data() + y * stride;
        raw.insert(raw.end(), row, row + stride);
    }
    z_stream z{};
    if (deflateInit2(&z, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    out.resize(deflateBound(&z, raw.size()));
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int result = deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return result == Z_STREAM_END;
}

// Chunks of this size, as libpng writes its own.
constexpr std::size_t IDAT_SIZE = 8192;

bool writeChunks(png_structp png, png_infop info, const Picture* picture, const std::vector<unsigned char>* idat,
                 WriteState* state)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, state, writeToMemory, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture->width), static_cast<png_uint_32>(picture->height), 8,
                 picture->hasAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::size_t at = 0; at < idat->size(); at += IDAT_SIZE) {
        const std::size_t length = idat->size() - at < IDAT_SIZE ? idat->size() - at : IDAT_SIZE;
        png_write_chunk(png, reinterpret_cast<png_const_bytep>("IDAT"), idat->data() + at, length);
    }
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
    return true;
}

} // namespace

std::optional<Picture> decodePng(const std::string& bytes)
{
    if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) != 0)
        return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreMessage);
    if (!png)
        return std::nullopt;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return std::nullopt;
    }
    ReadState state;
    state.bytes = &bytes;
    const bool ok = readRows(png, info, &state);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok)
        return std::nullopt;
    return std::move(state.picture);
}

std::string encodePng(const Picture& picture)
{
    std::vector<unsigned char> idat;
    if (!deflateRows(picture, idat))
        return {};
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failQuietly, ignoreMessage);
    if (!png)
        return {};
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return {};
    }
    WriteState state;
    const bool ok = writeChunks(png, info, &picture, &idat, &state);
    png_destroy_write_struct(&png, &info);
    return ok ? std::move(state.bytes) : std::string();
}

std::optional<Picture> loadPicture(const std::string& path)
{
    std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    const std::string& b = *bytes;
    const bool bitmap = b.size() >= 2 && b[0] == 'B' && b[1] == 'M';
    const bool icon = b.size() >= 4 && b[0] == 0 && b[1] == 0 && b[2] == 1 && b[3] == 0;
    if (bitmap || icon)
        return loadSystemPicture(path);
    return decodePng(b);
}

bool savePicture(const Picture& picture, const std::string& path)
{
    const std::string png = encodePng(picture);
    return !png.empty() && writeWholeFile(path, png);
}
