// The built-in skins carried inside the program as PNG data.
#pragma once

#include <string_view>

// skin is 1 or 2, layer 1 (base), 2 (gloss) or 3 (empty).
std::string_view builtinSkinPng(int skin, int layer);
