// Where the slot buttons stand on the ring.
#pragma once

#include <cstdint>

#include "platform/ui.h"

// The single-precision number nearest to pi / 180.
constexpr float DEG_TO_RAD = 0.0174532924f;

// 360 / (programs + 1), divided in double precision, rounded to single.
float angleStepFor(int programs);
// Top-left corner of slot i's button in the ring window's inner coordinates.
ScreenPoint slotPositionFor(int i, float angleStep, int radius, ScreenPoint centre);
// Nearest integer, halves to even.
int roundHalfEven(double value);
// The value, or the nearest end of the int range: sizes and positions from
// a hand-edited radius must not wrap.
int clampToInt(std::int64_t value);
