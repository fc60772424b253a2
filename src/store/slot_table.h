// The slot table and the slot files (descriptor, face, captured icon).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "store/picture.h"

struct SlotRecord {
    std::string name;
    std::string path;
    int face = NO_PICTURE; // own face handle, EMPTY_MARKER, or NO_PICTURE
    std::uint8_t isFolder = 0;
};

// Highest slot index the table accepts: every slot is a child window plus a
// tooltip tool, and a process may own 10000 window handles.
constexpr int MAX_PROGRAMS = 4999;

using SlotTable = std::vector<SlotRecord>;
extern SlotTable slotTable;

struct Descriptor {
    std::string path;
    std::string name;
    std::uint8_t isFolder = 0;
};
Descriptor parseDescriptor(const std::string& bytes);
std::string descriptorBytes(const std::string& path, const std::string& name, std::uint8_t isFolder);

// Allocates settings.programs + 1 blank records; lowers settings.programs to
// MAX_PROGRAMS, or to the default when even that cannot be allocated.
void allocateSlotTable();
void loadSlots();
void writeDescriptor(int n, const std::string& path, const std::string& name, std::uint8_t isFolder);
void releaseFace(int n);
void deleteSlotFiles(int n);
void closeGap(int s);
// False when the table cannot grow that far; it is then left as it was.
bool resizeSlotTable(std::size_t count);
void clearSlot(int n);
