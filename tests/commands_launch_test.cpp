#include "skin_fixture.h"

#include "commands/launch.h"

using namespace skintest;

namespace {
const std::string FOLDER_MISSING =
    "messageBox Error|Der Ordner existiert nicht oder befindet\rsich auf einem nicht angeschlossenen Medium!|ok";
const std::string PROGRAM_MISSING =
    "messageBox Error|Das Programm existiert nicht oder befindet\rsich auf einem nicht angeschlossenen Medium!|ok";
}

class LaunchTest : public ProfileTest {
protected:
    std::string native; // the temporary folder, as the program spells it

    void SetUp() override
    {
        ProfileTest::SetUp();
        native = dir.string() + "\\";
        writeBytes(dir / "tool.exe", "MZ");
        writeBytes(dir / "empty.exe", "");
        writeBytes(dir / "my tool.exe", "MZ");
        std::filesystem::create_directories(dir / "My Folder");
        scriptedUi.log.clear();
    }
    void bindRecord(int n, const std::string& path, std::uint8_t isFolder)
    {
        slotTable[n].path = path;
        slotTable[n].name = "x";
        slotTable[n].isFolder = isFolder;
    }
};

TEST_F(LaunchTest, ProgramTargets)
{
    struct Case {
        std::string path;
        bool exists;
    } cases[] = {
        {"", false},
        {"C:", false},
        {"C:\\", false},
        {"z:", false},
        {"C:\\\\", false},
        {native + "tool.exe", true},
        {native + "tool.exe\\", true},
        {native + "tool.exe\\\\\\", true},
        {native + "empty.exe", true},
        {native + "missing.exe", false},
        {native + "My Folder", false},
        {native + "My Folder\\", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(programFileExists(c.path), c.exists) << c.path;
}

TEST(CommandLine, QuotesTheFileAndAppendsTheParameterAsItIs)
{
    struct Case {
        const char* file;
        const char* parameter;
        const char* line;
    } cases[] = {
        {"C:\\Program Files\\App\\app.exe", "", "\"C:\\Program Files\\App\\app.exe\""},
        {"\"C:\\Program Files\\App\\app.exe\"", "", "\"C:\\Program Files\\App\\app.exe\""},
        {"explorer.exe", "C:\\My Folder\\", "\"explorer.exe\" C:\\My Folder\\"},
        {"\"quoted", "-x y", "\"quoted -x y"},
        {"", "", "\"\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(commandLineFor(c.file, c.parameter), c.line) << c.file;
}

TEST(StartProgram, FallsBackToTheShellInTheFilesFolder)
{
    struct Case {
        const char* file;
        const char* working;
        const char* shell;
    } cases[] = {
        {"C:\\Docs\\letter.txt", "", "shellExecute C:\\Docs\\letter.txt|-p|C:\\Docs\\"},
        {"C:\\Docs\\letter.txt", "D:\\Work", "shellExecute C:\\Docs\\letter.txt|-p|D:\\Work"},
        {"\\letter.txt", "", "shellExecute \\letter.txt|-p|"},
        {"letter.txt", "", "shellExecute letter.txt|-p|"},
        {"C:\\a\\b\\", "", "shellExecute C:\\a\\b\\|-p|C:\\a\\b\\"},
    };
    for (const Case& c : cases) {
        resetScriptedUi();
        scriptedUi.createProcessSucceeds = false;
        startProgram(c.file, "-p", c.working);
        EXPECT_EQ(scriptedUi.log, (std::vector<std::string>{"createProcess " + commandLineFor(c.file, "-p") + "|" +
                                                                c.working,
                                                            c.shell}));
    }

    resetScriptedUi();
    startProgram("C:\\Docs\\app.exe", "", "");
    EXPECT_EQ(scriptedUi.log, (std::vector<std::string>{"createProcess \"C:\\Docs\\app.exe\"|"}));
}

TEST_F(LaunchTest, ProgramSlotsStartTheirProgram)
{
    bindRecord(0, native + "my tool.exe", 0);
    launchSlot(0);
    bindRecord(1, native + "empty.exe", 7); // any byte but 1 is a program slot
    launchSlot(1);
    EXPECT_EQ(uiLog(), (std::vector<std::string>{"createProcess \"" + native + "my tool.exe\"|",
                                                 "createProcess \"" + native + "empty.exe\"|"}));
}

TEST_F(LaunchTest, FolderSlotsOpenExplorerWithTheFolderUnquoted)
{
    bindRecord(2, native + "My Folder\\", 1);
    launchSlot(2);
    EXPECT_EQ(uiLog(), (std::vector<std::string>{"createProcess \"explorer.exe\" " + native + "My Folder\\|"}));
}

TEST_F(LaunchTest, MissingTargetsAreReported)
{
    launchSlot(0); // an empty slot
    bindRecord(1, native + "gone\\", 1);
    launchSlot(1);
    bindRecord(2, native + "My Folder\\", 0);
    launchSlot(2);
    bindRecord(3, native + "My Folder\\", 2);
    launchSlot(3);
    bindRecord(4, native + "tool.exe", 1); // a file is no folder
    launchSlot(4);
    EXPECT_EQ(uiLog(), (std::vector<std::string>{PROGRAM_MISSING, FOLDER_MISSING, PROGRAM_MISSING, PROGRAM_MISSING,
                                                 FOLDER_MISSING}));
}
