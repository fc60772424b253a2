#include "store/paths.h"

#include "platform/ui.h"

// Asked for every composed path, so that a changed profile folder takes
// effect at once; the shell answers quickly.
std::string homeDirectory()
{
    std::string home = shellProfileFolder();
    if (!home.empty() && home.back() != '\\')
        home += '\\';
    return home;
}

// The home directory already ends with a backslash and every relative part
// starts with one; Windows reads the doubled separator as one.
std::string dataFolderPath() { return homeDirectory() + "\\velquor_ZV\\"; }
std::string settingsFilePath() { return homeDirectory() + "\\velquor_ZV\\data.ini"; }
std::string skinsFolderPath() { return homeDirectory() + "\\velquor_ZV\\Skins\\"; }

std::string layerFilePath(const std::string& skin, int layer)
{
    return skinsFolderPath() + skin + "_l" + std::to_string(layer);
}

std::string faceFilePath(int n) { return dataFolderPath() + "icon_" + std::to_string(n) + ".png"; }
std::string capturedIconFilePath(int n) { return dataFolderPath() + "icon_" + std::to_string(n) + "_org.png"; }
std::string descriptorFilePath(int n) { return dataFolderPath() + "icon_" + std::to_string(n) + "_p.zv"; }
