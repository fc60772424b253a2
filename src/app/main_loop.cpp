#include "app/main_loop.h"

#include <cstdint>

#include "commands/launch.h"
#include "commands/slot_menu.h"
#include "platform/ui.h"
#include "ring/ring_geometry.h"
#include "ring/ring_window.h"
#include "store/settings.h"

int selectedSlot = 0;
int revealedFlag = 0;
int quitFlag = 0;

bool mainLoopPass()
{
    const UiEvent e = waitEvent(POLL_INTERVAL);

    if (e.kind == UiEventKind::ControlEvent) {
        const int n = e.control;
        if (n < 0 || n > settings.programs) {
            selectedSlot = -1;
        } else {
            selectedSlot = n;
            if (e.click == ClickKind::LeftClick)
                launchSlot(n);
            else if (e.click == ClickKind::RightClick)
                showSlotMenu();
        }
    } else if (e.kind == UiEventKind::MenuEvent) {
        runSlotCommand(e.menuId);
    }

    // Any non-zero state counts as held, the pressed-since-last-query bit too,
    // so a short tap between two passes still shows the ring for one pass.
    if (ctrlKeyState() != 0 && revealedFlag == 0) {
        revealRing();
        revealedFlag = 1;
    } else if (ctrlKeyState() == 0 && revealedFlag == 1) {
        hideRing();
        revealedFlag = 0;
    }

    return e.kind != UiEventKind::CloseRequest && quitFlag == 0;
}

void mainLoop()
{
    while (mainLoopPass()) {
    }
}

void revealRing()
{
    const ScreenPoint pointer = cursorPos();
    const int side = ringSide();
    moveWindow(RING_WINDOW, clampToInt(static_cast<std::int64_t>(pointer.x) - ringCentre.x),
               clampToInt(static_cast<std::int64_t>(pointer.y) - ringCentre.y), side, side);
}

void hideRing()
{
    const ScreenPoint hidden = hiddenPosition();
    const int side = ringSide();
    moveWindow(RING_WINDOW, hidden.x, hidden.y, side, side);
}
