// Switching to another skin while the program runs.
#pragma once

#include <string>

void switchSkin(const std::string& name);
void applySkin();
