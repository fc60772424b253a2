#include "store/picture.h"

#include <unordered_map>
#include <utility>

namespace {
std::optional<Picture> layers[3];
std::unordered_map<int, Picture> keptPictures;
int nextHandle = 3;
}

Picture makePicture(int width, int height, bool hasAlpha)
{
    Picture p;
    p.width = width;
    p.height = height;
    p.hasAlpha = hasAlpha;
    p.pixels.assign(static_cast<std::size_t>(width) * height * (hasAlpha ? 4 : 3), 0);
    return p;
}

int channelsOf(const Picture& picture) { return picture.hasAlpha ? 4 : 3; }

void putPicture(int number, std::optional<Picture> picture)
{
    if (number >= 0 && number < 3)
        layers[number] = std::move(picture);
}

int keepPicture(Picture picture)
{
    int handle = nextHandle++;
    keptPictures.emplace(handle, std::move(picture));
    return handle;
}

Picture* pictureOf(int handle)
{
    if (handle >= 0 && handle < 3)
        return layers[handle] ? &*layers[handle] : nullptr;
    auto it = keptPictures.find(handle);
    return it == keptPictures.end() ? nullptr : &it->second;
}

void releasePicture(int handle)
{
    if (handle >= 0 && handle < 3)
        layers[handle].reset();
    else
        keptPictures.erase(handle);
}

void releaseAllPictures()
{
    for (auto& layer : layers)
        layer.reset();
    keptPictures.clear();
}
