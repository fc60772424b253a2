#include "ring/ring_geometry.h"

#include <cmath>
#include <limits>

int clampToInt(std::int64_t value)
{
    if (value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

float angleStepFor(int programs)
{
    // programs + 1 in double: the highest index may be INT_MAX.
    return static_cast<float>(360.0 / (static_cast<double>(programs) + 1.0));
}

int roundHalfEven(double value)
{
    // nearbyint follows the default rounding mode: nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

ScreenPoint slotPositionFor(int i, float angleStep, int radius, ScreenPoint centre)
{
    // The step and the factor are single precision; their product is taken in double.
    const double a = (static_cast<double>(angleStep) * static_cast<double>(DEG_TO_RAD)) * i;
    const std::int64_t dx = roundHalfEven(std::sin(a) * radius);
    const std::int64_t dy = roundHalfEven(-std::cos(a) * radius);
    const std::int64_t half = FACE_SIZE / 2;
    return {clampToInt(centre.x + dx - half), clampToInt(centre.y + dy - half)};
}
