#include "skin/skin_chooser.h"

#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/ui.h"
#include "skin/skin_switch.h"
#include "store/paths.h"
#include "store/picture_files.h"
#include "store/settings.h"

bool addSkinEntry(SkinNameList& list, const std::string& entryName)
{
    if (entryName == "." || entryName == "..")
        return false;
    // Layer files are "<name>_l1", "_l2", "_l3": the last three characters go.
    const std::string candidate = entryName.size() <= 3 ? std::string() : entryName.substr(0, entryName.size() - 3);
    if (candidate.find("skin") == std::string::npos)
        return false;
    for (std::size_t i = 0; i < list.names.size(); ++i) {
        if (list.names[i] == candidate) {
            list.current = static_cast<int>(i);
            return false;
        }
    }
    list.names.push_back(candidate);
    list.current = static_cast<int>(list.names.size()) - 1;
    return true;
}

void chooseSkin()
{
    const int skinList = settings.programs + 1;
    const int preview = settings.programs + 2;
    const int applyButton = settings.programs + 3;
    const int cancelButton = settings.programs + 4;

    openWindow(CHOOSER_WINDOW, WindowKind::Dialog, 0, 0, 222, 144, "Skin \xE4ndern...", NO_WINDOW);
    setWindowTopmost(CHOOSER_WINDOW);
    createListBox(skinList, CHOOSER_WINDOW, 10, 10, 128, 128);
    createPictureControl(preview, CHOOSER_WINDOW, 148, 10, 64, 64);
    setControlPicture(preview, pictureOf(EMPTY_LAYER));
    createButton(applyButton, CHOOSER_WINDOW, 148, 84, 64, 20, "Skin \xE4ndern");
    createButton(cancelButton, CHOOSER_WINDOW, 148, 114, 64, 20, "Abbrechen");

    int outcome = 0;
    SkinNameList list;
    std::vector<std::string> entries;
    if (listFolder(skinsFolderPath() + "*.*", &entries) == ListResult::Listed) {
        for (const std::string& entry : entries)
            if (addSkinEntry(list, entry))
                listBoxAppend(skinList, list.names.back());
    }

    int previewImage = NO_PICTURE;
    while (outcome == 0) {
        const UiEvent e = waitEvent(WAIT_FOREVER);
        if (e.kind != UiEventKind::ControlEvent)
            continue;
        if (e.control == skinList) {
            const int row = listBoxSelection(skinList);
            if (row < 0 || row >= static_cast<int>(list.names.size()))
                continue;
            if (previewImage != NO_PICTURE)
                releasePicture(previewImage);
            previewImage = NO_PICTURE;
            list.current = row;
            if (std::optional<Picture> picture = loadPicture(layerFilePath(list.names[row], 3))) {
                previewImage = keepPicture(std::move(*picture));
                setControlPicture(preview, pictureOf(previewImage));
            } else {
                setControlPicture(preview, pictureOf(BASE_LAYER));
            }
        } else if (e.control == applyButton) {
            outcome = 1;
        } else if (e.control == cancelButton) {
            outcome = 2;
        }
    }

    if (previewImage != NO_PICTURE)
        releasePicture(previewImage);
    destroyControl(skinList);
    destroyControl(preview);
    destroyControl(applyButton);
    destroyControl(cancelButton);
    closeWindow(CHOOSER_WINDOW);

    if (outcome == 1 && list.current >= 0)
        switchSkin(list.names[list.current]);
}
