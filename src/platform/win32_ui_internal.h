// Pieces of the Win32 user interface that the Wine tests reach directly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "store/picture.h"

// One colour channel of a pixel with the given alpha, premultiplied as the
// picture controls keep it: opaque pixels stay exact, all others round down.
constexpr std::uint8_t premultiplyChannel(std::uint8_t c, std::uint8_t alpha)
{
    return alpha == 255 ? c : static_cast<std::uint8_t>(c * alpha / 256);
}
// 32-bit blue-green-red-alpha pixels, top row first: premultiplied for a
// picture with alpha, alpha 255 for one without.
std::vector<std::uint8_t> premultipliedCopy(const Picture& picture);

// Draws an icon on KEY_COLOUR into an RGB picture of twice its hot spot and
// releases the icon; nullopt when its information cannot be read.
std::optional<Picture> captureIcon(HICON icon);

// The system handle behind a window or control number, nullptr when none.
HWND windowHandle(int window);
HWND controlHandle(int control);
