#include "store/slot_table.h"

#include <new>
#include <optional>

#include "platform/files.h"
#include "store/paths.h"
#include "store/picture_files.h"
#include "store/settings.h"

SlotTable slotTable;

namespace {

// A line ends at CR, LF, CR LF, a zero byte or the end; returns the text
// and moves pos past the line end.
std::string readLine(const std::string& bytes, std::size_t& pos)
{
    const std::size_t start = pos;
    while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n' && bytes[pos] != '\0')
        ++pos;
    std::string line = bytes.substr(start, pos - start);
    if (pos < bytes.size()) {
        if (bytes[pos] == '\r' && pos + 1 < bytes.size() && bytes[pos + 1] == '\n')
            ++pos;
        ++pos;
    }
    return line;
}

} // namespace

Descriptor parseDescriptor(const std::string& bytes)
{
    Descriptor d;
    std::size_t pos = 0;
    d.path = readLine(bytes, pos);
    d.name = readLine(bytes, pos);
    d.isFolder = pos < bytes.size() ? static_cast<std::uint8_t>(bytes[pos]) : 0;
    return d;
}

std::string descriptorBytes(const std::string& path, const std::string& name, std::uint8_t isFolder)
{
    return path + "\r\n" + name + "\r\n" + static_cast<char>(isFolder);
}

void allocateSlotTable()
{
    if (settings.programs > MAX_PROGRAMS)
        settings.programs = MAX_PROGRAMS;
    try {
        slotTable.assign(static_cast<std::size_t>(settings.programs) + 1, SlotRecord{});
    } catch (const std::bad_alloc&) {
        settings.programs = Settings{}.programs;
        slotTable.assign(static_cast<std::size_t>(settings.programs) + 1, SlotRecord{});
    }
}

void loadSlots()
{
    for (std::size_t i = 0; i < slotTable.size(); ++i) {
        SlotRecord& record = slotTable[i];
        const int n = static_cast<int>(i);
        std::optional<std::string> bytes = readWholeFile(descriptorFilePath(n));
        if (!bytes) {
            record.face = EMPTY_MARKER;
            record.name = "leer";
            continue;
        }
        Descriptor d = parseDescriptor(*bytes);
        record.path = std::move(d.path);
        record.name = std::move(d.name);
        record.isFolder = d.isFolder;
        std::optional<Picture> face = loadPicture(faceFilePath(n));
        record.face = face ? keepPicture(std::move(*face)) : NO_PICTURE;
    }
}

void writeDescriptor(int n, const std::string& path, const std::string& name, std::uint8_t isFolder)
{
    writeWholeFile(descriptorFilePath(n), descriptorBytes(path, name, isFolder), true);
}

void releaseFace(int n)
{
    const int face = slotTable[n].face;
    if (face != EMPTY_MARKER && face != NO_PICTURE)
        releasePicture(face);
}

void deleteSlotFiles(int n)
{
    deleteFile(faceFilePath(n));
    deleteFile(descriptorFilePath(n));
    deleteFile(capturedIconFilePath(n));
}

void closeGap(int s)
{
    for (int p = s; p < settings.programs && static_cast<std::size_t>(p) + 1 < slotTable.size(); ++p) {
        SlotRecord& to = slotTable[p];
        const SlotRecord& from = slotTable[p + 1];
        to.face = from.face;
        to.name = from.name;
        to.isFolder = from.isFolder;
        to.path = from.path;
        renameFile(faceFilePath(p + 1), faceFilePath(p));
        renameFile(descriptorFilePath(p + 1), descriptorFilePath(p));
        renameFile(capturedIconFilePath(p + 1), capturedIconFilePath(p));
    }
}

bool resizeSlotTable(std::size_t count)
{
    if (count > static_cast<std::size_t>(MAX_PROGRAMS) + 1)
        return false;
    try {
        slotTable.resize(count);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

void clearSlot(int n)
{
    SlotRecord& record = slotTable[n];
    record.face = EMPTY_MARKER;
    record.name = "leer";
    record.path.clear();
    record.isFolder = 0;
}
