// The anchor window, the ring window and its slot buttons.
#pragma once

#include "platform/ui.h"

extern ScreenPoint ringCentre;
extern float angleStep;

int ringSide();
ScreenPoint hiddenPosition();
ScreenPoint slotPosition(int i);

void openAnchor();
void openRing(int left, int top);
void rebuildRing();
// The picture number or handle that slot i shows.
int slotPicture(int i);
void setSlotPicture(int i);
void setSlotTooltip(int i);
