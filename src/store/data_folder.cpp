#include "store/data_folder.h"

#include <string_view>

#include "app/startup.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "store/builtin_skins.h"
#include "store/paths.h"
#include "store/picture_files.h"

namespace {
constexpr std::size_t MAX_PATH_LENGTH = 260;
}

bool folderExists(const std::string& folder)
{
    std::string pattern = folder.substr(0, MAX_PATH_LENGTH);
    // An empty path lists the current folder.
    if (!pattern.empty() && pattern.back() != '\\')
        pattern += '\\';
    pattern += "*.*";
    const ListResult result = listFolder(pattern, nullptr);
    return result == ListResult::Listed || result == ListResult::NothingFound;
}

bool createFolder(const std::string& folder)
{
    std::string path = folder.substr(0, MAX_PATH_LENGTH);
    while (!path.empty() && (path.back() == ' ' || path.back() == '/' || path.back() == '\\'))
        path.pop_back();
    return createDirectory(path);
}

// Decodes the three built-in pictures of one skin into the layer numbers
// and writes them to the skins folder.
static void installSkin(int skin)
{
    const std::string name = "skin" + std::to_string(skin);
    for (int layer = 1; layer <= 3; ++layer) {
        std::string_view png = builtinSkinPng(skin, layer);
        putPicture(layer - 1, decodePng(std::string(png)));
    }
    for (int layer = 1; layer <= 3; ++layer)
        if (const Picture* picture = pictureOf(layer - 1))
            savePicture(*picture, layerFilePath(name, layer));
}

void prepareDataFolder()
{
    if (folderExists(dataFolderPath()))
        return;
    if (!createFolder(dataFolderPath())) {
        messageBox("Error",
                   "Das Programm hat keine Rechte Informationen auf dem Computer zu speichern. "
                   "Dies ist aber notwendig f\xFCr den Betrieb!",
                   false);
        shutdown();
    }
    createFolder(skinsFolderPath());
    installSkin(2);
    releasePicture(BASE_LAYER);
    releasePicture(GLOSS_LAYER);
    releasePicture(EMPTY_LAYER);
    // skin1 stays loaded: a first run always has the default skin.
    installSkin(1);
}

void ensureDataFolder()
{
    if (!folderExists(dataFolderPath()))
        createFolder(dataFolderPath());
}
