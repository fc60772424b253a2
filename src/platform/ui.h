// The user-interface seam: everything the launcher asks of the window system,
// the shell and the process. Windows, controls and menus are addressed by
// small numbers. Implemented for Win32 (the product) and by a scripted double
// for the native tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "store/picture.h"

// Window numbers.
constexpr int RING_WINDOW = 0;
constexpr int ANCHOR_WINDOW = 1;
constexpr int CHOOSER_WINDOW = 2;
constexpr int NO_WINDOW = -1;
// Menu numbers.
constexpr int SLOT_MENU = 0;

constexpr int WAIT_FOREVER = -1;

enum class UiEventKind { Nothing, ControlEvent, MenuEvent, CloseRequest };
enum class ClickKind { LeftClick, RightClick, LeftDoubleClick, RightDoubleClick, DragStart };

struct UiEvent {
    UiEventKind kind = UiEventKind::Nothing;
    int control = 0;                       // ControlEvent
    ClickKind click = ClickKind::LeftClick; // ControlEvent
    int menuId = 0;                        // MenuEvent
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Sets up what the later calls need (common controls, COM, AlphaBlend) and
// releases it again.
void initPlatform();
void releasePlatform();
[[noreturn]] void endProcess(int exitCode);

// Returns one event per call: first the events held from earlier messages,
// in arrival order; otherwise it waits up to timeoutMs (WAIT_FOREVER: no
// limit) for one message of the thread, dispatches it and returns what it
// produced, or Nothing.
UiEvent waitEvent(int timeoutMs);

enum class WindowKind {
    Anchor, // top-level, never shown
    Ring,   // WS_POPUP only, shown (and so activated) at once
    Dialog  // caption and fixed frame, no system menu, centred, button-face background
};
// Opens window `window` with the given inner size; x and y are ignored for a
// Dialog, which is centred on the screen. owner is a window number or NO_WINDOW.
void openWindow(int window, WindowKind kind, int x, int y, int width, int height,
                const std::string& title, int owner);
void closeWindow(int window);
void setWindowTopmost(int window);
void setWindowBackground(int window, std::uint32_t rgb);
// Replaces the whole extended style by WS_EX_LAYERED and sets the colour key.
void makeWindowLayered(int window, std::uint32_t keyRgb);
// Moves and sizes without activating and without touching the z-order.
void moveWindow(int window, int x, int y, int width, int height);
ScreenRect windowRect(int window);  // outer rectangle on the screen
ScreenRect clientSize(int window);  // inner size (left and top 0)
void setForegroundWindow(int window);

// Controls share one number space across all windows.
void createPictureControl(int control, int window, int x, int y, int width, int height);
// The control takes the picture's size and keeps a premultiplied copy;
// nullptr draws nothing and keeps the size.
void setControlPicture(int control, const Picture* picture);
void setControlTooltip(int control, const std::string& text);
void createListBox(int control, int window, int x, int y, int width, int height);
void listBoxAppend(int control, const std::string& text);
int listBoxSelection(int control); // -1 when no row is selected
void createButton(int control, int window, int x, int y, int width, int height,
                  const std::string& text);
void destroyControl(int control);
void focusControl(int control);

void createPopupMenu(int menu);
void appendMenuEntry(int menu, int id, const std::string& text);
void appendMenuSeparator(int menu);
// Opens the menu with its top-left corner at (x, y), owned by `window`; a
// choice is posted to the owner and arrives later as a MenuEvent.
void showPopupMenu(int menu, int window, int x, int y);

enum class BoxAnswer { Ok, Yes, No };
// Message box without icon, owned by the foreground window when it is one of
// the program's; the program's other visible enabled windows are disabled
// while it is open.
BoxAnswer messageBox(const std::string& title, const std::string& text, bool yesNo);
// File chooser for programs: the chosen path, or empty text when cancelled.
std::string chooseProgramFile(const std::string& title);
// Folder chooser rooted at the desktop: false when cancelled; otherwise
// `path` holds the file-system path of the choice (empty for a virtual folder).
bool chooseFolder(const std::string& title, std::string& path);

// GetAsyncKeyState(VK_CONTROL) as it came.
int ctrlKeyState();
ScreenPoint cursorPos();

// The user's profile folder as the shell reports it, empty when unknown.
std::string shellProfileFolder();
// The large shell icon of a path drawn on KEY_COLOUR, an RGB picture whose
// size follows the icon's hot spot; nullopt when there is no icon.
std::optional<Picture> shellIconPicture(const std::string& path);
// BMP or icon files read by the system; nullopt for anything else.
std::optional<Picture> loadSystemPicture(const std::string& path);
// CreateProcessA with the command line; false when no process was created.
bool createProcess(const std::string& commandLine, const std::string& workingFolder);
// ShellExecuteExA with the default verb.
bool shellExecute(const std::string& file, const std::string& parameter, const std::string& folder);
