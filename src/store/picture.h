// Pictures in memory: 8-bit RGB or RGBA with straight alpha, row 0 at the top.
// The skin layers live under the picture numbers 0, 1 and 2; every other
// picture is kept under a handle of its own, handed out once and never reused,
// so a stale handle can never name a newer picture.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;            // RGBA when set, RGB otherwise
    std::vector<std::uint8_t> pixels; // width * height * (hasAlpha ? 4 : 3) bytes
};

constexpr int BASE_LAYER = 0;
constexpr int GLOSS_LAYER = 1;
constexpr int EMPTY_LAYER = 2;
constexpr int EMPTY_MARKER = EMPTY_LAYER; // an empty slot shows whatever empty layer is loaded
constexpr int NO_PICTURE = -1;

Picture makePicture(int width, int height, bool hasAlpha);
int channelsOf(const Picture& picture);

// Puts a picture under one of the layer numbers, releasing what it held;
// an empty optional leaves the number without a picture.
void putPicture(int number, std::optional<Picture> picture);
// Keeps a picture under a new handle (always above the layer numbers).
int keepPicture(Picture picture);
// The picture under a number or handle, or nullptr when there is none.
Picture* pictureOf(int handle);
void releasePicture(int handle);
void releaseAllPictures();

// The background of captured icons and the ring window's colour key: RGB 17, 17, 17.
constexpr std::uint32_t KEY_COLOUR = 0x111111;
constexpr std::uint8_t KEY_LEVEL = 17;
// Slot buttons and faces are FACE_SIZE x FACE_SIZE pixels.
constexpr int FACE_SIZE = 64;
