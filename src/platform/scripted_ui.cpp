#include "platform/scripted_ui.h"

#include <cstdio>

ScriptedUi scriptedUi;

void resetScriptedUi() { scriptedUi = ScriptedUi{}; }

std::vector<std::string> scriptedCalls(const std::string& prefix)
{
    std::vector<std::string> found;
    for (const std::string& line : scriptedUi.log)
        if (line.compare(0, prefix.size(), prefix) == 0)
            found.push_back(line);
    return found;
}

static void record(const std::string& line)
{
    scriptedUi.log.push_back(line);
    if (scriptedUi.onCall)
        scriptedUi.onCall(line);
}

static std::string numbers(std::initializer_list<int> values)
{
    std::string text;
    for (int v : values)
        text += " " + std::to_string(v);
    return text;
}

void initPlatform() { record("initPlatform"); }
void releasePlatform() { record("releasePlatform"); }

void endProcess(int exitCode)
{
    record("endProcess" + numbers({exitCode}));
    throw ProcessEnded{exitCode};
}

UiEvent waitEvent(int timeoutMs)
{
    record("waitEvent" + numbers({timeoutMs}));
    if (scriptedUi.events.empty()) {
        if (timeoutMs == WAIT_FOREVER || ++scriptedUi.dryWaits > scriptedUi.dryWaitLimit)
            throw ScriptExhausted{};
        return UiEvent{};
    }
    scriptedUi.dryWaits = 0;
    UiEvent e = scriptedUi.events.front();
    scriptedUi.events.pop_front();
    return e;
}

void openWindow(int window, WindowKind kind, int x, int y, int width, int height,
                const std::string& title, int owner)
{
    ScriptedWindow w;
    w.kind = kind;
    w.rect = {x, y, width, height};
    w.title = title;
    w.owner = owner;
    scriptedUi.windows[window] = w;
    record("openWindow" + numbers({window, static_cast<int>(kind), x, y, width, height, owner}) + " " + title);
}

void closeWindow(int window)
{
    for (auto it = scriptedUi.controls.begin(); it != scriptedUi.controls.end();)
        it = it->second.window == window ? scriptedUi.controls.erase(it) : std::next(it);
    scriptedUi.windows.erase(window);
    record("closeWindow" + numbers({window}));
}

void setWindowTopmost(int window)
{
    scriptedUi.windows[window].topmost = true;
    record("setWindowTopmost" + numbers({window}));
}

void setWindowBackground(int window, std::uint32_t rgb)
{
    scriptedUi.windows[window].background = rgb;
    record("setWindowBackground" + numbers({window, static_cast<int>(rgb)}));
}

void makeWindowLayered(int window, std::uint32_t keyRgb)
{
    scriptedUi.windows[window].layered = true;
    scriptedUi.windows[window].colourKey = keyRgb;
    record("makeWindowLayered" + numbers({window, static_cast<int>(keyRgb)}));
}

void moveWindow(int window, int x, int y, int width, int height)
{
    scriptedUi.windows[window].rect = {x, y, width, height};
    record("moveWindow" + numbers({window, x, y, width, height}));
}

ScreenRect windowRect(int window)
{
    record("windowRect" + numbers({window}));
    return scriptedUi.windows[window].rect;
}

ScreenRect clientSize(int window)
{
    record("clientSize" + numbers({window}));
    const ScreenRect& r = scriptedUi.windows[window].rect;
    return {0, 0, r.width, r.height};
}

void setForegroundWindow(int window) { record("setForegroundWindow" + numbers({window})); }

void createPictureControl(int control, int window, int x, int y, int width, int height)
{
    ScriptedControl c;
    c.window = window;
    c.kind = "picture";
    c.rect = {x, y, width, height};
    scriptedUi.controls[control] = c;
    record("createPictureControl" + numbers({control, window, x, y, width, height}));
}

void setControlPicture(int control, const Picture* picture)
{
    ScriptedControl& c = scriptedUi.controls[control];
    if (picture) {
        c.picture = *picture;
        c.rect.width = picture->width;
        c.rect.height = picture->height;
    } else {
        c.picture.reset();
    }
    record("setControlPicture" + numbers({control}) + (picture ? numbers({picture->width, picture->height}) : " none"));
}

void setControlTooltip(int control, const std::string& text)
{
    scriptedUi.controls[control].tooltip = text;
    record("setControlTooltip" + numbers({control}) + " " + text);
}

void createListBox(int control, int window, int x, int y, int width, int height)
{
    ScriptedControl c;
    c.window = window;
    c.kind = "listbox";
    c.rect = {x, y, width, height};
    scriptedUi.controls[control] = c;
    record("createListBox" + numbers({control, window, x, y, width, height}));
}

void listBoxAppend(int control, const std::string& text)
{
    scriptedUi.controls[control].rows.push_back(text);
    record("listBoxAppend" + numbers({control}) + " " + text);
}

int listBoxSelection(int control)
{
    record("listBoxSelection" + numbers({control}));
    return scriptedUi.controls[control].selection;
}

void createButton(int control, int window, int x, int y, int width, int height, const std::string& text)
{
    ScriptedControl c;
    c.window = window;
    c.kind = "button";
    c.rect = {x, y, width, height};
    c.text = text;
    scriptedUi.controls[control] = c;
    record("createButton" + numbers({control, window, x, y, width, height}) + " " + text);
}

void destroyControl(int control)
{
    scriptedUi.controls.erase(control);
    record("destroyControl" + numbers({control}));
}

void focusControl(int control) { record("focusControl" + numbers({control})); }

void createPopupMenu(int menu)
{
    scriptedUi.menus[menu].clear();
    record("createPopupMenu" + numbers({menu}));
}

void appendMenuEntry(int menu, int id, const std::string& text)
{
    scriptedUi.menus[menu].push_back({id, text});
    record("appendMenuEntry" + numbers({menu, id}) + " " + text);
}

void appendMenuSeparator(int menu)
{
    scriptedUi.menus[menu].push_back({-1, ""});
    record("appendMenuSeparator" + numbers({menu}));
}

void showPopupMenu(int menu, int window, int x, int y) { record("showPopupMenu" + numbers({menu, window, x, y})); }

BoxAnswer messageBox(const std::string& title, const std::string& text, bool yesNo)
{
    record("messageBox " + title + "|" + text + (yesNo ? "|yesno" : "|ok"));
    if (scriptedUi.boxAnswers.empty())
        return yesNo ? BoxAnswer::No : BoxAnswer::Ok;
    BoxAnswer a = scriptedUi.boxAnswers.front();
    scriptedUi.boxAnswers.pop_front();
    return a;
}

std::string chooseProgramFile(const std::string& title)
{
    record("chooseProgramFile " + title);
    if (scriptedUi.fileChoices.empty())
        return "";
    std::string choice = scriptedUi.fileChoices.front();
    scriptedUi.fileChoices.pop_front();
    return choice;
}

bool chooseFolder(const std::string& title, std::string& path)
{
    record("chooseFolder " + title);
    if (scriptedUi.folderChoices.empty())
        return false;
    std::optional<std::string> choice = scriptedUi.folderChoices.front();
    scriptedUi.folderChoices.pop_front();
    if (!choice)
        return false;
    path = *choice;
    return true;
}

int ctrlKeyState()
{
    int state = 0;
    if (!scriptedUi.ctrlStates.empty()) {
        state = scriptedUi.ctrlStates.front();
        scriptedUi.ctrlStates.pop_front();
    }
    record("ctrlKeyState" + numbers({state}));
    return state;
}

ScreenPoint cursorPos()
{
    record("cursorPos");
    return scriptedUi.cursor;
}

std::string shellProfileFolder()
{
    record("shellProfileFolder");
    return scriptedUi.profileFolder;
}

std::optional<Picture> shellIconPicture(const std::string& path)
{
    record("shellIconPicture " + path);
    auto it = scriptedUi.shellIcons.find(path);
    if (it == scriptedUi.shellIcons.end())
        return std::nullopt;
    return it->second;
}

std::optional<Picture> loadSystemPicture(const std::string&) { return std::nullopt; }

bool createProcess(const std::string& commandLine, const std::string& workingFolder)
{
    record("createProcess " + commandLine + "|" + workingFolder);
    return scriptedUi.createProcessSucceeds;
}

bool shellExecute(const std::string& file, const std::string& parameter, const std::string& folder)
{
    record("shellExecute " + file + "|" + parameter + "|" + folder);
    return scriptedUi.shellExecuteSucceeds;
}
