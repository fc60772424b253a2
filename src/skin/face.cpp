#include "skin/face.h"

#include <algorithm>

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
