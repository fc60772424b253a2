// The skin chooser dialog, "Skin \xE4ndern..." in the slot menu.
#pragma once

#include <string>
#include <vector>

struct SkinNameList {
    std::vector<std::string> names;
    int current = -1; // none while the list is empty
};

// One folder entry by the list's rules; true when it added a row.
bool addSkinEntry(SkinNameList& list, const std::string& entryName);
void chooseSkin();
