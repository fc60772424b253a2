#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "ring/ring_geometry.h"

namespace {

struct RingCase {
    int programs;
    int radius;
    float angleStep;
    std::vector<ScreenPoint> corners;
};

TEST(RingGeometry, WorkedPositions)
{
    const RingCase cases[] = {
        {5, 100, 60.0f, {{100, 0}, {187, 50}, {187, 150}, {100, 200}, {13, 150}, {13, 50}}},
        {6, 110, 51.42857f, {{110, 0}, {196, 41}, {217, 134}, {158, 209}, {62, 209}, {3, 134}, {24, 41}}},
        {0, 64, 360.0f, {{64, 0}}},
    };
    for (const RingCase& c : cases) {
        SCOPED_TRACE(c.programs);
        const float step = angleStepFor(c.programs);
        EXPECT_FLOAT_EQ(step, c.angleStep);
        const ScreenPoint centre{c.radius + 32, c.radius + 32};
        ASSERT_EQ(c.corners.size(), static_cast<std::size_t>(c.programs) + 1);
        for (int i = 0; i <= c.programs; ++i) {
            const ScreenPoint p = slotPositionFor(i, step, c.radius, centre);
            EXPECT_EQ(p.x, c.corners[i].x) << "slot " << i;
            EXPECT_EQ(p.y, c.corners[i].y) << "slot " << i;
        }
    }
}

TEST(RingGeometry, AngleStepIsTheSingleOfTheDoubleQuotient)
{
    EXPECT_EQ(angleStepFor(6), static_cast<float>(360.0 / 7.0));
    EXPECT_EQ(angleStepFor(2), static_cast<float>(360.0 / 3.0));
    // The largest index does not wrap to a division by a negative count.
    EXPECT_GT(angleStepFor(INT_MAX), 0.0f);
}

TEST(RingGeometry, RoundsToNearestWithHalvesToEven)
{
    struct {
        double value;
        int rounded;
    } const cases[] = {
        {86.6, 87},   {-68.58, -69}, {0.5, 0},    {1.5, 2},    {2.5, 2},   {-0.5, 0},
        {-1.5, -2},   {-2.5, -2},    {3.4999, 3}, {-3.5, -4},  {100.0, 100},
        {3e9, INT_MAX}, {-3e9, INT_MIN}, {2147483647.4, INT_MAX}, {-2147483648.0, INT_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value;
}

TEST(RingGeometry, HugeRadiusClampsInsteadOfWrapping)
{
    // Slot 3 of six lies at the bottom: centre y + radius is beyond the int range.
    const ScreenPoint low = slotPositionFor(3, 60.0f, INT_MAX, {INT_MAX, INT_MAX});
    EXPECT_EQ(low.y, INT_MAX);
    // Slot 0 lies at the top: centre y - radius - 32 is below it.
    const ScreenPoint high = slotPositionFor(0, 60.0f, INT_MAX, {INT_MIN, INT_MIN});
    EXPECT_EQ(high.x, INT_MIN);
    EXPECT_EQ(high.y, INT_MIN);
    EXPECT_EQ(clampToInt(static_cast<std::int64_t>(INT_MAX) + 1), INT_MAX);
    EXPECT_EQ(clampToInt(static_cast<std::int64_t>(INT_MIN) - 1), INT_MIN);
    EXPECT_EQ(clampToInt(-5), -5);
}

} // namespace
