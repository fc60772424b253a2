// The slot menu and its commands.
#pragma once

#include <string>

constexpr int RADIUS_STEP = 10;

void buildSlotMenu();
void showSlotMenu();
void runSlotCommand(int id);
void reassignSlot();
void deleteSlot();
void addSlot();
void requestQuit();
void showInfo();
std::string infoText();
