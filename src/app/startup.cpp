#include "app/startup.h"

#include "app/main_loop.h"
#include "commands/slot_menu.h"
#include "platform/ui.h"
#include "ring/ring_window.h"
#include "skin/skin_layers.h"
#include "store/data_folder.h"
#include "store/picture.h"
#include "store/settings.h"
#include "store/slot_table.h"

namespace {
// The anchor and ring windows exist from their opening to shutdown; the
// fatal failure of the data folder comes before either is opened.
bool windowsOpen = false;
}

void startup()
{
    initPlatform();

    settings = Settings{0, 0, ""};
    slotTable.clear();
    releaseAllPictures();
    ringCentre = {};
    angleStep = 0.0f;
    selectedSlot = 0;
    revealedFlag = 0;
    quitFlag = 0;
    windowsOpen = false;

    loadSettings();
    loadSkinLayers();
    allocateSlotTable();
    prepareDataFolder();
    loadSlots();
    openAnchor();
    windowsOpen = true;
    const ScreenPoint hidden = hiddenPosition();
    openRing(hidden.x, hidden.y);
    buildSlotMenu();
    mainLoop();
    saveSettings();
    shutdown();
}

void shutdown()
{
    // Controls and the tooltips go with their windows; the slot menu is no window.
    if (windowsOpen) {
        closeWindow(RING_WINDOW);
        closeWindow(ANCHOR_WINDOW);
        windowsOpen = false;
    }
    releaseAllPictures();
    releasePlatform();
    endProcess(0);
}
