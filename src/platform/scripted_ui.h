// The scripted user interface for native tests: every call is written to a
// log, answers come from queues the test fills beforehand.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"

struct ScriptedWindow {
    WindowKind kind = WindowKind::Anchor;
    ScreenRect rect;
    std::string title;
    int owner = NO_WINDOW;
    bool topmost = false;
    bool layered = false;
    std::uint32_t background = 0;
    std::uint32_t colourKey = 0;
};

struct ScriptedControl {
    int window = NO_WINDOW;
    std::string kind; // "picture", "listbox", "button"
    ScreenRect rect;
    std::string text;                    // button text
    std::optional<Picture> picture;      // copy of what was set
    std::string tooltip;
    std::vector<std::string> rows;       // list box rows
    int selection = -1;
};

struct ScriptedMenuEntry {
    int id = -1; // -1 for a separator
    std::string text;
};

// Thrown by endProcess so that a test can see the process end.
struct ProcessEnded {
    int exitCode;
};
// Thrown when a wait without time-out finds the script empty, or when the
// script has run dry for too many waits in a row.
struct ScriptExhausted {};

struct ScriptedUi {
    std::deque<UiEvent> events;          // waitEvent answers, in order
    std::deque<int> ctrlStates;          // ctrlKeyState answers; 0 once empty
    ScreenPoint cursor;
    std::deque<BoxAnswer> boxAnswers;    // messageBox answers; Ok or No once empty
    std::deque<std::string> fileChoices; // chooseProgramFile answers; "" once empty
    std::deque<std::optional<std::string>> folderChoices; // nullopt: cancelled
    std::string profileFolder;
    std::map<std::string, Picture> shellIcons; // shellIconPicture answers by path
    bool createProcessSucceeds = true;
    bool shellExecuteSucceeds = true;
    int dryWaitLimit = 1000;

    std::vector<std::string> log;
    std::map<int, ScriptedWindow> windows;
    std::map<int, ScriptedControl> controls;
    std::map<int, std::vector<ScriptedMenuEntry>> menus;
    // Called after each logged call, with the log line.
    std::function<void(const std::string&)> onCall;

    int dryWaits = 0;
};

extern ScriptedUi scriptedUi;
void resetScriptedUi();
// Log lines that start with prefix, in order.
std::vector<std::string> scriptedCalls(const std::string& prefix);
