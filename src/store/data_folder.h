// The data folder: existence test, creation and the first-run installation.
#pragma once

#include <string>

bool folderExists(const std::string& folder);
bool createFolder(const std::string& folder);
// On a first start creates the data folder and the skins folder and writes
// the built-in skins, leaving skin1's pictures as the layers; ends the
// program with its error message when the data folder cannot be created.
void prepareDataFolder();
void ensureDataFolder();
