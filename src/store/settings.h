// The settings file data.ini: one group "General" with three keys.
#pragma once

#include <cstdint>
#include <string>

struct Settings {
    std::int32_t programs = 5; // highest slot index
    std::int32_t radius = 100; // ring centre to slot centre, in pixels
    std::string skin = "skin1";
};

extern Settings settings;

void loadSettings();
void saveSettings();

// The reading rules applied to the file's bytes, floors included.
Settings parseSettings(const std::string& bytes);
// The four CR LF lines that a save writes.
std::string settingsBytes(const Settings& s);
