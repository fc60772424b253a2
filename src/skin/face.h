// Binding a slot: name derivation, icon capture through the shell, and the
// face composed from the captured icon over the skin's base and gloss layers.
#pragma once

#include <optional>
#include <string>

#include "store/picture.h"

// The text after the last backslash or slash, up to the next double quote;
// one leading double quote is skipped.
std::string filePart(const std::string& path);
bool assignSlot(const std::string& path, int slot);
// Builds slot n's face from a captured icon and writes its face file;
// nullopt when there is no base layer to build on.
std::optional<Picture> composeFace(Picture captured, int n);
// The gloss rule of one layer over a face, clipped to the face.
void glossBlend(Picture& face, const Picture& gloss);
