// The current skin's three layers under the picture numbers 0, 1 and 2.
#pragma once

// Loads "<skin>_l1", "_l2" and "_l3" of the current skin into the numbers 0, 1, 2.
void loadSkinLayers();
