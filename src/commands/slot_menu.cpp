#include "commands/slot_menu.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>

#include "app/main_loop.h"
#include "platform/ui.h"
#include "ring/ring_window.h"
#include "skin/face.h"
#include "skin/skin_chooser.h"
#include "store/settings.h"
#include "store/slot_table.h"

namespace {

// A hand-edited radius may sit at either end of the range; the steps must not wrap.
std::int32_t saturatedAdd(std::int32_t value, std::int32_t step)
{
    const std::int64_t sum = static_cast<std::int64_t>(value) + step;
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

bool isSlotIndex(int s) { return s >= 0 && s <= settings.programs; }

} // namespace

void buildSlotMenu()
{
    createPopupMenu(SLOT_MENU);
    appendMenuEntry(SLOT_MENU, 0, "Button neu belegen");
    appendMenuEntry(SLOT_MENU, 1, "Diesen Button l\xF6schen");
    appendMenuSeparator(SLOT_MENU);
    appendMenuEntry(SLOT_MENU, 2, "Neuen Button hinzufuegen");
    appendMenuEntry(SLOT_MENU, 5, "Skin \xE4ndern");
    appendMenuSeparator(SLOT_MENU);
    appendMenuEntry(SLOT_MENU, 4, "Info");
    appendMenuSeparator(SLOT_MENU);
    appendMenuEntry(SLOT_MENU, 3, "Beenden");
}

void showSlotMenu()
{
    const ScreenPoint pointer = cursorPos();
    setForegroundWindow(RING_WINDOW);
    showPopupMenu(SLOT_MENU, RING_WINDOW, pointer.x - 1, pointer.y - 1);
}

void runSlotCommand(int id)
{
    switch (id) {
    case 0: reassignSlot(); break;
    case 1: deleteSlot(); break;
    case 2: addSlot(); break;
    case 3: requestQuit(); break;
    case 4: showInfo(); break;
    case 5: chooseSkin(); break;
    default: break;
    }
}

void reassignSlot()
{
    const int s = selectedSlot;
    if (!isSlotIndex(s))
        return;

    std::string path;
    if (messageBox("Frage",
                   "Wollen sie ein Programm hinzuf\xFCgen? (Ja)\r"
                   "Ansonsten k\xF6nnen sie einen Ordner w\xE4hlen. (Nein)",
                   true) == BoxAnswer::Yes) {
        path = chooseProgramFile("Programm ausw\xE4hlen");
    } else {
        std::string folder;
        if (chooseFolder("Ordner ausw\xE4hlen", folder)) {
            path = folder;
            if (path.empty() || path.back() != '\\')
                path += '\\';
        }
    }
    if (path.empty() || path == "/")
        return;

    // The old face goes only once a new one has taken its place: a declined
    // assignment leaves the slot exactly as it was. Handles are never reused,
    // so the remembered one cannot name the new face.
    const int oldFace = slotTable[s].face;
    if (assignSlot(path, s) && oldFace != EMPTY_MARKER && oldFace != NO_PICTURE)
        releasePicture(oldFace);
    setSlotPicture(s);
    setSlotTooltip(s);
}

void deleteSlot()
{
    const int s = selectedSlot;
    if (!isSlotIndex(s))
        return;

    deleteSlotFiles(s);
    releaseFace(s);
    if (s < settings.programs)
        closeGap(s);
    if (settings.programs > 0) {
        settings.programs -= 1;
        settings.radius = saturatedAdd(settings.radius, -RADIUS_STEP);
        saveSettings();
        resizeSlotTable(static_cast<std::size_t>(settings.programs) + 1);
        rebuildRing();
    } else {
        clearSlot(0);
        setSlotPicture(0);
        setSlotTooltip(0);
    }
}

void addSlot()
{
    const std::int32_t oldPrograms = settings.programs;
    const std::int32_t oldRadius = settings.radius;
    settings.programs += 1;
    settings.radius = saturatedAdd(settings.radius, RADIUS_STEP);
    // A table at its limit stays as it is, and so do the counters that describe it.
    if (!resizeSlotTable(static_cast<std::size_t>(settings.programs) + 1)) {
        settings.programs = oldPrograms;
        settings.radius = oldRadius;
        return;
    }
    clearSlot(settings.programs);
    rebuildRing();
}

void requestQuit() { quitFlag = 1; }

void showInfo() { messageBox("ZV Velquor", infoText(), false); }

std::string infoText()
{
    static const char* const lines[] = {
        "Version 1.0",
        "===========",
        "",
        "Halten Sie die Strg-Taste gedr\xFC" "ckt: Der Ring erscheint am Mauszeiger.",
        "Ein Linksklick auf einen Button startet das Programm oder \xF6" "ffnet den Ordner.",
        "Ein Rechtsklick \xF6" "ffnet das Men\xFC: Buttons neu belegen, l\xF6schen",
        "und hinzuf\xFCgen, oder den Skin \xE4ndern.",
        "",
        "\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1\xB1",
        "",
        "Entwickelt von:",
        "velquor, 2026",
        "das velquor-Team",
        "",
        "Kontakt:",
        "-> kontakt@velquor.example",
        "-> https://velquor.example",
    };
    std::string text = lines[0];
    for (std::size_t i = 1; i < std::size(lines); ++i)
        text += std::string("\r") + lines[i];
    return text;
}
