// The main loop with the Ctrl reveal.
#pragma once

constexpr int POLL_INTERVAL = 100; // milliseconds

extern int selectedSlot;
extern int revealedFlag;
extern int quitFlag;

// One pass; false once the loop is to end.
bool mainLoopPass();
void mainLoop();
void revealRing();
void hideRing();
