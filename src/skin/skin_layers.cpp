#include "skin/skin_layers.h"

#include "store/paths.h"
#include "store/picture_files.h"
#include "store/settings.h"

void loadSkinLayers()
{
    putPicture(BASE_LAYER, loadPicture(layerFilePath(settings.skin, 1)));
    putPicture(GLOSS_LAYER, loadPicture(layerFilePath(settings.skin, 2)));
    putPicture(EMPTY_LAYER, loadPicture(layerFilePath(settings.skin, 3)));
}
