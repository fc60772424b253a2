#include "ring/ring_window.h"

#include <algorithm>
#include <cstdint>

#include "ring/ring_geometry.h"
#include "store/picture.h"
#include "store/settings.h"
#include "store/slot_table.h"

ScreenPoint ringCentre;
float angleStep = 0.0f;

namespace {

// Slot buttons 0 to slotButtons - 1 stand on the current ring window.
std::int64_t slotButtons = 0;

int centreFor(std::int32_t radius) { return clampToInt(static_cast<std::int64_t>(radius) + FACE_SIZE / 2); }

// Window, placement, background and colour key.
void openRingWindow(int left, int top)
{
    const int side = ringSide();
    openWindow(RING_WINDOW, WindowKind::Ring, left, top, side, side, "", ANCHOR_WINDOW);
    setWindowTopmost(RING_WINDOW);
    setWindowBackground(RING_WINDOW, KEY_COLOUR);
    makeWindowLayered(RING_WINDOW, KEY_COLOUR);
    slotButtons = 0;
}

// The angle step and one button with its tooltip per slot.
void fillRing()
{
    angleStep = angleStepFor(settings.programs);
    for (std::int64_t n = 0; n <= settings.programs; ++n) {
        const int i = static_cast<int>(n);
        const ScreenPoint corner = slotPosition(i);
        createPictureControl(i, RING_WINDOW, corner.x, corner.y, FACE_SIZE, FACE_SIZE);
        slotButtons = n + 1;
        setSlotPicture(i);
        setSlotTooltip(i);
    }
}

} // namespace

int ringSide() { return clampToInt(2 * static_cast<std::int64_t>(settings.radius) + FACE_SIZE); }

ScreenPoint hiddenPosition() { return {0, clampToInt(-static_cast<std::int64_t>(ringSide()))}; }

ScreenPoint slotPosition(int i) { return slotPositionFor(i, angleStep, settings.radius, ringCentre); }

void openAnchor() { openWindow(ANCHOR_WINDOW, WindowKind::Anchor, 0, 0, 0, 0, "", NO_WINDOW); }

void openRing(int left, int top)
{
    openRingWindow(left, top);
    const ScreenRect inner = clientSize(RING_WINDOW);
    ringCentre = {inner.width / 2, inner.height / 2};
    fillRing();
}

void rebuildRing()
{
    const ScreenRect outer = windowRect(RING_WINDOW);
    const std::int64_t pointX = static_cast<std::int64_t>(outer.left) + ringCentre.x;
    const std::int64_t pointY = static_cast<std::int64_t>(outer.top) + ringCentre.y;

    // Buttons above the new count go with the window.
    const std::int64_t last = std::min<std::int64_t>(settings.programs, slotButtons - 1);
    for (std::int64_t i = 0; i <= last; ++i)
        destroyControl(static_cast<int>(i));
    closeWindow(RING_WINDOW);

    const int centre = centreFor(settings.radius);
    ringCentre = {centre, centre};
    openRingWindow(clampToInt(pointX - centre), clampToInt(pointY - centre));
    fillRing();
}

int slotPicture(int i)
{
    const int face = slotTable[i].face;
    // A slot whose face file failed to load shows the base layer.
    return face == NO_PICTURE ? BASE_LAYER : face;
}

void setSlotPicture(int i) { setControlPicture(i, pictureOf(slotPicture(i))); }

void setSlotTooltip(int i) { setControlTooltip(i, slotTable[i].name); }
