#include "skin/face.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/ui.h"
#include "store/data_folder.h"
#include "store/paths.h"
#include "store/picture_files.h"
#include "store/slot_table.h"

// Integer "over" rule with straight alpha; a picture without alpha counts as opaque.
void glossBlend(Picture& face, const Picture& gloss)
{
    const int fc = channelsOf(face);
    const int gc = channelsOf(gloss);
    const int w = std::min(face.width, gloss.width);
    const int h = std::min(face.height, gloss.height);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* s = &gloss.pixels[(static_cast<std::size_t>(y) * gloss.width + x) * gc];
            std::uint8_t* d = &face.pixels[(static_cast<std::size_t>(y) * face.width + x) * fc];
            const int sa = gloss.hasAlpha ? s[3] : 255;
            const int da = face.hasAlpha ? d[3] : 255;
            if (sa == 0)
                continue;
            const int t = sa * 255 + (255 - sa) * da;
            for (int c = 0; c < 3; ++c)
                d[c] = static_cast<std::uint8_t>(da == 0 ? s[c] : (s[c] * sa * 255 + d[c] * da * (255 - sa)) / t);
            if (face.hasAlpha)
                d[3] = static_cast<std::uint8_t>(t / 255);
        }
    }
}

std::string filePart(const std::string& path)
{
    const std::size_t begin = !path.empty() && path[0] == '"' ? 1 : 0;
    const std::size_t separator = path.find_last_of("\\/");
    const std::size_t start = separator == std::string::npos ? begin : separator + 1;
    const std::size_t quote = path.find('"', start);
    return path.substr(start, quote == std::string::npos ? std::string::npos : quote - start);
}

std::optional<Picture> composeFace(Picture captured, int n)
{
    const Picture* base = pictureOf(BASE_LAYER);
    if (!base)
        return std::nullopt;

    const int w = captured.width;
    const int h = captured.height;
    const int cc = channelsOf(captured);
    // Column-major, colour only: an alpha channel of the captured picture is not used.
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(w) * h * 3);
    for (int x = 0; x < w; ++x) {
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* p = &captured.pixels[(static_cast<std::size_t>(y) * w + x) * cc];
            std::uint8_t* b = &buffer[(static_cast<std::size_t>(x) * h + y) * 3];
            b[0] = p[0];
            b[1] = p[1];
            b[2] = p[2];
        }
    }
    captured = Picture{};

    Picture face = *base;
    const int fc = channelsOf(face);
    const int ox = (FACE_SIZE - (w - 1)) / 2;
    const int oy = (FACE_SIZE - (h - 1)) / 2;
    for (int x = 0; x < w; ++x) {
        const int fx = x + ox;
        if (fx < 0 || fx >= face.width)
            continue; // icons wider than the face lose their outer columns
        for (int y = 0; y < h; ++y) {
            const int fy = y + oy;
            if (fy < 0 || fy >= face.height)
                continue;
            const std::uint8_t* b = &buffer[(static_cast<std::size_t>(x) * h + y) * 3];
            if (b[0] == KEY_LEVEL && b[1] == KEY_LEVEL && b[2] == KEY_LEVEL)
                continue;
            std::uint8_t* d = &face.pixels[(static_cast<std::size_t>(fy) * face.width + fx) * fc];
            d[0] = b[0];
            d[1] = b[1];
            d[2] = b[2];
        }
    }

    if (const Picture* gloss = pictureOf(GLOSS_LAYER))
        glossBlend(face, *gloss);
    savePicture(face, faceFilePath(n));
    return face;
}

bool assignSlot(const std::string& path, int slot)
{
    ensureDataFolder();

    std::string name = filePart(path);
    std::uint8_t isFolder = 0;
    if (name.empty()) {
        name = path.empty() ? std::string() : filePart(path.substr(0, path.size() - 1));
        isFolder = 1;
    }
    if (name.empty())
        return false;

    // Without an icon or a base layer there is no face to show: the slot stays as it was.
    std::optional<Picture> captured = shellIconPicture(path);
    if (!captured || !pictureOf(BASE_LAYER))
        return false;

    savePicture(*captured, capturedIconFilePath(slot));
    std::optional<Picture> face = composeFace(std::move(*captured), slot);
    writeDescriptor(slot, path, name, isFolder);

    SlotRecord& record = slotTable[slot];
    record.face = keepPicture(std::move(*face));
    record.name = name;
    record.isFolder = isFolder;
    record.path = path;
    return true;
}
