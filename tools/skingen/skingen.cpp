// Draws the six built-in skin pictures and the program icon.
// Usage: skingen <source folder>; writes src/store/skins/*.png and src/app/velquor.ico.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "skin/face.h"
#include "store/picture.h"
#include "store/picture_files.h"

namespace {

constexpr int SIZE = FACE_SIZE;
constexpr double CENTRE = SIZE / 2.0;
constexpr int SUBSAMPLES = 8;

struct Rgba {
    double r = 0, g = 0, b = 0, a = 0; // colour 0..255, alpha 0..1
};

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double edge0, double edge1, double x)
{
    const double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

// Share of pixel (x, y) inside the circle around (cx, cy).
double coverage(int x, int y, double cx, double cy, double radius)
{
    int inside = 0;
    for (int sy = 0; sy < SUBSAMPLES; ++sy)
        for (int sx = 0; sx < SUBSAMPLES; ++sx) {
            const double px = x + (sx + 0.5) / SUBSAMPLES - cx;
            const double py = y + (sy + 0.5) / SUBSAMPLES - cy;
            if (px * px + py * py <= radius * radius)
                ++inside;
        }
    return static_cast<double>(inside) / (SUBSAMPLES * SUBSAMPLES);
}

double distanceToCentre(int x, int y) { return std::hypot(x + 0.5 - CENTRE, y + 0.5 - CENTRE); }

std::uint8_t level(double v) { return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

void setPixel(Picture& p, int x, int y, const Rgba& c)
{
    std::uint8_t* d = &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * 4];
    d[0] = level(c.r);
    d[1] = level(c.g);
    d[2] = level(c.b);
    d[3] = level(c.a * 255);
}

// Straight-alpha "over" in floating point.
Rgba over(const Rgba& top, const Rgba& bottom)
{
    const double a = top.a + bottom.a * (1 - top.a);
    if (a <= 0)
        return bottom;
    auto mix = [&](double t, double b) { return (t * top.a + b * bottom.a * (1 - top.a)) / a; };
    return {mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b), a};
}

// Opaque grey disc: black rim, a ring of grey 127, a soft radial grey inside.
Picture skin1Base()
{
    Picture p = makePicture(SIZE, SIZE, true);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const double d = distanceToCentre(x, y);
            int alpha = static_cast<int>(std::lround(coverage(x, y, CENTRE, CENTRE, CENTRE) * 255));
            if (alpha < 38)
                continue; // too faint to show; stays transparent black
            double grey;
            double blue;
            if (d > 31.0) {
                grey = blue = 0;
            } else if (d > 30.0) {
                grey = blue = 127;
            } else {
                const double t = d / 30.0;
                grey = 184 - 39 * t * t;
                blue = grey - 1;
            }
            setPixel(p, x, y, {grey, grey, blue, alpha / 255.0});
        }
    return p;
}

// White highlight, strongest at the top, fading towards the lower middle;
// shaped so that the top reaches 147 and the centre of the button 71.
Picture skin1Gloss()
{
    const double cx = 36.0, cy = 28.0, radius = 27.5; // columns 9..62, rows 1..54
    std::vector<double> field(SIZE * SIZE, 0.0);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const double edge = radius - std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            if (edge <= 0)
                continue;
            const double fromTop = clamp01((y + 0.5 - (cy - radius)) / (2 * radius));
            // Kept within the base disc so that nothing shows around the button.
            field[y * SIZE + x] = (0.04 + 0.96 * (1 - fromTop)) * smoothstep(0.0, 5.0, edge) *
                                  coverage(x, y, CENTRE, CENTRE, CENTRE - 0.5);
        }
    const double peak = *std::max_element(field.begin(), field.end());
    const double centre = field[31 * SIZE + 31] / peak;
    const double gamma = std::log(71.0 / 147.0) / std::log(centre);
    Picture p = makePicture(SIZE, SIZE, true);
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const double alpha = 147 * std::pow(field[y * SIZE + x] / peak, gamma);
            if (alpha >= 0.5)
                setPixel(p, x, y, {255, 255, 255, alpha / 255.0});
        }
    return p;
}

// Translucent flat blue disc without rim, a little denser in the middle.
Picture skin2Base()
{
    Picture p = makePicture(SIZE, SIZE, true);
    const double radius = 31.5;
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const double d = distanceToCentre(x, y);
            if (d > radius + 1.5)
                continue;
            const double t = std::min(d / radius, 1.0);
            const double alpha = (152 - 30 * t * t) * coverage(x, y, CENTRE, CENTRE, radius);
            setPixel(p, x, y, {81, 165, 246, alpha / 255.0});
        }
    return p;
}

// Pale cyan glass disc with a strong white highlight at the upper left.
Picture skin2Gloss()
{
    Picture p = makePicture(SIZE, SIZE, true);
    const double radius = 31.5;
    const Rgba rimColour{180, 218, 226, 115 / 255.0};
    const Rgba middleColour{235, 245, 247, 55 / 255.0};
    for (int y = 0; y < SIZE; ++y)
        for (int x = 0; x < SIZE; ++x) {
            const double cover = coverage(x, y, CENTRE, CENTRE, radius);
            if (cover <= 0)
                continue;
            const double t = std::min(distanceToCentre(x, y) / radius, 1.0);
            const double k = std::min(1.0, std::pow(t / 0.97, 2.0));
            // The lower half lets a little more of the base through.
            const double lower = std::clamp((y + 0.5 - CENTRE) / radius, 0.0, 1.0);
            Rgba glass{middleColour.r + (rimColour.r - middleColour.r) * k,
                       middleColour.g + (rimColour.g - middleColour.g) * k,
                       middleColour.b + (rimColour.b - middleColour.b) * k,
                       (middleColour.a + (rimColour.a - middleColour.a) * k) * (1 - 0.25 * lower * k)};
            // Highlight: a tilted ellipse towards the upper left.
            const double hx = x + 0.5 - 21.5, hy = y + 0.5 - 17.5;
            const double angle = -0.7;
            const double u = (hx * std::cos(angle) + hy * std::sin(angle)) / 15.0;
            const double v = (-hx * std::sin(angle) + hy * std::cos(angle)) / 9.5;
            const double e = std::sqrt(u * u + v * v);
            const Rgba highlight{255, 255, 255, (226 / 255.0) * (1 - smoothstep(0.3, 1.0, e))};
            Rgba c = over(highlight, glass);
            c.a *= cover;
            setPixel(p, x, y, c);
        }
    return p;
}

Picture blended(const Picture& base, const Picture& gloss)
{
    Picture empty = base;
    glossBlend(empty, gloss);
    return empty;
}

// Box filter over premultiplied colour.
Picture downscale(const Picture& source, int size)
{
    Picture p = makePicture(size, size, true);
    const int factor = source.width / size;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = 0; sy < factor; ++sy)
                for (int sx = 0; sx < factor; ++sx) {
                    const std::uint8_t* s =
                        &source.pixels[(static_cast<std::size_t>(y * factor + sy) * source.width + x * factor + sx) * 4];
                    const double sa = s[3] / 255.0;
                    r += s[0] * sa;
                    g += s[1] * sa;
                    b += s[2] * sa;
                    a += sa;
                }
            const Rgba c = a > 0 ? Rgba{r / a, g / a, b / a, a / (factor * factor)} : Rgba{};
            setPixel(p, x, y, c);
        }
    return p;
}

void put16(std::string& out, unsigned v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& out, unsigned v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// One 32-bit DIB icon image: header, bottom-up BGRA rows, an AND mask that
// marks the fully transparent pixels.
std::string iconImage(const Picture& p)
{
    std::string out;
    const int maskStride = ((p.width + 31) / 32) * 4;
    put32(out, 40);
    put32(out, static_cast<unsigned>(p.width));
    put32(out, static_cast<unsigned>(p.height * 2));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<unsigned>(p.width * p.height * 4 + maskStride * p.height));
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (int y = p.height - 1; y >= 0; --y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* s = &p.pixels[(static_cast<std::size_t>(y) * p.width + x) * 4];
            out += static_cast<char>(s[2]);
            out += static_cast<char>(s[1]);
            out += static_cast<char>(s[0]);
            out += static_cast<char>(s[3]);
        }
    for (int y = p.height - 1; y >= 0; --y) {
        std::string row(static_cast<std::size_t>(maskStride), '\0');
        for (int x = 0; x < p.width; ++x)
            if (p.pixels[(static_cast<std::size_t>(y) * p.width + x) * 4 + 3] == 0)
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out += row;
    }
    return out;
}

std::string iconFile(const std::vector<Picture>& images)
{
    std::string header;
    put16(header, 0);
    put16(header, 1);
    put16(header, static_cast<unsigned>(images.size()));
    std::string data;
    unsigned offset = static_cast<unsigned>(6 + 16 * images.size());
    for (const Picture& p : images) {
        const std::string image = iconImage(p);
        header += static_cast<char>(p.width);
        header += static_cast<char>(p.height);
        header += '\0'; // no palette
        header += '\0';
        put16(header, 1);
        put16(header, 32);
        put32(header, static_cast<unsigned>(image.size()));
        put32(header, offset);
        offset += static_cast<unsigned>(image.size());
        data += image;
    }
    return header + data;
}

bool writeFile(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        std::perror(path.c_str());
        return false;
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <source folder>\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const Picture base1 = skin1Base(), gloss1 = skin1Gloss();
    const Picture base2 = skin2Base(), gloss2 = skin2Gloss();
    const Picture empty1 = blended(base1, gloss1), empty2 = blended(base2, gloss2);
    const struct {
        const char* name;
        const Picture* picture;
    } outputs[] = {{"skin1_l1", &base1}, {"skin1_l2", &gloss1}, {"skin1_l3", &empty1},
                   {"skin2_l1", &base2}, {"skin2_l2", &gloss2}, {"skin2_l3", &empty2}};
    bool ok = true;
    for (const auto& o : outputs)
        ok = writeFile(root + "/src/store/skins/" + o.name + ".png", encodePng(*o.picture)) && ok;
    ok = writeFile(root + "/src/app/velquor.ico", iconFile({empty1, downscale(empty1, 32), downscale(empty1, 16)})) && ok;
    return ok ? 0 : 1;
}
