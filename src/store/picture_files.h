// Reading and writing picture files: BMP and icon files through the system,
// PNG through libpng; written files are always PNG.
#pragma once

#include <optional>
#include <string>

#include "store/picture.h"

std::optional<Picture> loadPicture(const std::string& path);
bool savePicture(const Picture& picture, const std::string& path);

std::optional<Picture> decodePng(const std::string& bytes);
// Only IHDR, IDAT and IEND; bit depth 8, filter None, one zlib stream at level 9.
std::string encodePng(const Picture& picture);
