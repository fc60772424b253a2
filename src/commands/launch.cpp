#include "commands/launch.h"

#include "platform/files.h"
#include "platform/ui.h"
#include "store/data_folder.h"
#include "store/slot_table.h"

namespace {

bool isBareDrive(const std::string& path)
{
    const char c = path.empty() ? '\0' : path[0];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    return path.size() == 2 && letter && path[1] == ':';
}

} // namespace

bool programFileExists(const std::string& path)
{
    if (path.empty())
        return false;
    std::string name = path;
    while (!name.empty() && name.back() == '\\')
        name.pop_back();
    // "X:" and "X:\" name a drive, never a program, whether the drive is there or not.
    if (isBareDrive(name))
        return false;
    const FoundEntry entry = findEntry(name);
    return entry.found && !entry.isDirectory;
}

std::string commandLineFor(const std::string& file, const std::string& parameter)
{
    std::string line = !file.empty() && file[0] == '"' ? file : "\"" + file + "\"";
    if (!parameter.empty())
        line += " " + parameter;
    return line;
}

void startProgram(const std::string& file, const std::string& parameter, const std::string& workingFolder)
{
    if (createProcess(commandLineFor(file, parameter), workingFolder))
        return;
    // Documents and shortcuts: the shell opens them, from their own folder.
    std::string folder = workingFolder;
    if (folder.empty()) {
        const std::size_t slash = file.rfind('\\');
        if (slash != std::string::npos && slash != 0)
            folder = file.substr(0, slash + 1);
    }
    shellExecute(file, parameter, folder);
}

void launchSlot(int n)
{
    const SlotRecord& record = slotTable[n];
    if (record.isFolder == 1) {
        if (folderExists(record.path))
            startProgram("explorer.exe", record.path, "");
        else
            messageBox("Error",
                       "Der Ordner existiert nicht oder befindet\r"
                       "sich auf einem nicht angeschlossenen Medium!",
                       false);
    } else if (programFileExists(record.path)) {
        startProgram(record.path, "", "");
    } else {
        messageBox("Error",
                   "Das Programm existiert nicht oder befindet\r"
                   "sich auf einem nicht angeschlossenen Medium!",
                   false);
    }
}
