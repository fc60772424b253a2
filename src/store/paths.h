// The user's profile folder and every path composed from it.
#pragma once

#include <string>

// The profile folder ending with a backslash, or empty text when unknown.
std::string homeDirectory();

std::string dataFolderPath();
std::string settingsFilePath();
std::string skinsFolderPath();
// layer is 1, 2 or 3 for the files ending "_l1", "_l2", "_l3".
std::string layerFilePath(const std::string& skin, int layer);
std::string faceFilePath(int n);
std::string capturedIconFilePath(int n);
std::string descriptorFilePath(int n);
