#include "skin/skin_switch.h"

#include <optional>
#include <utility>

#include "ring/ring_window.h"
#include "skin/face.h"
#include "skin/skin_layers.h"
#include "store/paths.h"
#include "store/picture_files.h"
#include "store/settings.h"
#include "store/slot_table.h"

void switchSkin(const std::string& name)
{
    if (name == settings.skin)
        return;
    settings.skin = name;
    applySkin();
    saveSettings();
}

void applySkin()
{
    loadSkinLayers();
    const int programs = settings.programs;
    for (int k = 0; k <= programs; ++k) {
        if (slotTable[k].face != EMPTY_MARKER) {
            // A slot whose captured icon cannot be read (or that has no base layer to
            // be built on) keeps the face it has: there is nothing better to show, and
            // the others are rebuilt all the same.
            if (std::optional<Picture> captured = loadPicture(capturedIconFilePath(k))) {
                if (std::optional<Picture> face = composeFace(std::move(*captured), k)) {
                    const int handle = keepPicture(std::move(*face));
                    releaseFace(k);
                    slotTable[k].face = handle;
                }
            }
        }
        setSlotPicture(k);
    }
}
