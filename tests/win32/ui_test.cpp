// The Win32 windows, controls, events, menus and boxes against real windows.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "platform/ui.h"
#include "platform/win32_ui_internal.h"
#include "../ui_events.h"

// Found by argument lookup, so they live beside UiEvent.
static bool operator==(const UiEvent& a, const UiEvent& b)
{
    if (a.kind != b.kind)
        return false;
    if (a.kind == UiEventKind::ControlEvent)
        return a.control == b.control && a.click == b.click;
    if (a.kind == UiEventKind::MenuEvent)
        return a.menuId == b.menuId;
    return true;
}

static void PrintTo(const UiEvent& e, std::ostream* out)
{
    *out << "{kind " << static_cast<int>(e.kind) << ", control " << e.control << ", click "
         << static_cast<int>(e.click) << ", menu " << e.menuId << "}";
}

namespace {

constexpr int PICTURE = 3; // any control number works; 3 shows it is not the id

bool quiet()
{
    MSG msg;
    return !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

// Every event until the thread has nothing more to process.
std::vector<UiEvent> eventsUntilQuiet()
{
    std::vector<UiEvent> events;
    for (int i = 0; i < 500; ++i) {
        const UiEvent e = waitEvent(20);
        if (e.kind != UiEventKind::Nothing)
            events.push_back(e);
        else if (quiet())
            break;
    }
    return events;
}

Picture rgbaPicture(int width, int height, const std::vector<std::uint8_t>& pixelsOfRow)
{
    Picture p = makePicture(width, height, true);
    for (int y = 0; y < height; ++y)
        std::copy(pixelsOfRow.begin(), pixelsOfRow.end(), p.pixels.begin() + y * width * 4);
    return p;
}

COLORREF pixelOf(HWND hwnd, int x, int y)
{
    HDC dc = GetDC(hwnd);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return c;
}

void repaint(HWND hwnd)
{
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

HWND tooltipWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM result) -> BOOL {
            char name[64];
            GetClassNameA(hwnd, name, sizeof(name));
            if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0)
                return TRUE;
            *reinterpret_cast<HWND*>(result) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class Win32Ui : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        initPlatform();
        SetCursorPos(1000, 740); // away from every window the tests open
    }
    static void TearDownTestSuite() { releasePlatform(); }

    void SetUp() override
    {
        openWindow(ANCHOR_WINDOW, WindowKind::Anchor, 0, 0, 0, 0, "", NO_WINDOW);
        openWindow(RING_WINDOW, WindowKind::Ring, 100, 100, 264, 264, "", ANCHOR_WINDOW);
        setWindowTopmost(RING_WINDOW);
        setWindowBackground(RING_WINDOW, KEY_COLOUR);
        makeWindowLayered(RING_WINDOW, KEY_COLOUR);
        createPictureControl(PICTURE, RING_WINDOW, 100, 0, 64, 64);
        ring = windowHandle(RING_WINDOW);
        picture = controlHandle(PICTURE);
        ASSERT_NE(ring, nullptr);
        ASSERT_NE(picture, nullptr);
        eventsUntilQuiet();
    }
    void TearDown() override
    {
        closeWindow(CHOOSER_WINDOW);
        closeWindow(RING_WINDOW);
        closeWindow(ANCHOR_WINDOW);
        eventsUntilQuiet();
    }

    void openChooser()
    {
        openWindow(CHOOSER_WINDOW, WindowKind::Dialog, 0, 0, 222, 144, "Skin \xE4ndern...", NO_WINDOW);
        setWindowTopmost(CHOOSER_WINDOW);
        createListBox(10, CHOOSER_WINDOW, 10, 10, 128, 128);
        createPictureControl(11, CHOOSER_WINDOW, 148, 10, 64, 64);
        createButton(12, CHOOSER_WINDOW, 148, 84, 64, 20, "Skin \xE4ndern");
        createButton(13, CHOOSER_WINDOW, 148, 114, 64, 20, "Abbrechen");
        eventsUntilQuiet();
    }

    HWND ring = nullptr;
    HWND picture = nullptr;
};

TEST_F(Win32Ui, RingIsAnOwnedLayeredPopupAndTheAnchorStaysHidden)
{
    HWND anchor = windowHandle(ANCHOR_WINDOW);
    EXPECT_FALSE(IsWindowVisible(anchor));
    EXPECT_EQ(clientSize(ANCHOR_WINDOW).width, 0);
    EXPECT_EQ(clientSize(ANCHOR_WINDOW).height, 0);
    EXPECT_TRUE(IsWindowVisible(ring));
    EXPECT_EQ(GetWindow(ring, GW_OWNER), anchor);
    const LONG style = GetWindowLongA(ring, GWL_STYLE);
    EXPECT_EQ(style & ~(WS_VISIBLE | WS_CLIPSIBLINGS), static_cast<LONG>(WS_POPUP));
    EXPECT_EQ(GetWindowLongA(ring, GWL_EXSTYLE) & ~WS_EX_TOPMOST, WS_EX_LAYERED);
    EXPECT_TRUE(GetWindowLongA(ring, GWL_EXSTYLE) & WS_EX_TOPMOST);
    COLORREF key = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(ring, &key, nullptr, &flags));
    EXPECT_EQ(key, RGB(17, 17, 17));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
    char title[8] = "x";
    GetWindowTextA(ring, title, sizeof(title));
    EXPECT_STREQ(title, "");

    const ScreenRect outer = windowRect(RING_WINDOW);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);
    EXPECT_EQ(outer.width, 264);
    EXPECT_EQ(clientSize(RING_WINDOW).height, 264);
    moveWindow(RING_WINDOW, 0, -284, 284, 284);
    const ScreenRect moved = windowRect(RING_WINDOW);
    EXPECT_EQ(moved.left, 0);
    EXPECT_EQ(moved.top, -284);
    EXPECT_EQ(moved.width, 284);
    EXPECT_EQ(moved.height, 284);
}

TEST_F(Win32Ui, PicturePixelsAreBlendedOverTheKeyColour)
{
    // Per column: transparent, opaque key grey, opaque colour, half-transparent colour.
    const Picture face = rgbaPicture(4, 3, {200, 50, 50, 0, 17, 17, 17, 255, 200, 100, 50, 255, 200, 100, 50, 128});
    setControlPicture(PICTURE, &face);
    RECT size;
    GetClientRect(picture, &size);
    EXPECT_EQ(size.right, 4);
    EXPECT_EQ(size.bottom, 3);
    repaint(ring);

    EXPECT_EQ(pixelOf(picture, 0, 1), RGB(17, 17, 17));
    EXPECT_EQ(pixelOf(picture, 1, 1), RGB(17, 17, 17));
    EXPECT_EQ(pixelOf(picture, 2, 1), RGB(200, 100, 50));
    // Premultiplied (100, 50, 25) plus 127/255 of the key grey.
    const COLORREF mix = pixelOf(picture, 3, 1);
    EXPECT_NEAR(GetRValue(mix), 108, 2);
    EXPECT_NEAR(GetGValue(mix), 58, 2);
    EXPECT_NEAR(GetBValue(mix), 33, 2);
    // Where the control used to reach, the ring's own background shows.
    EXPECT_EQ(pixelOf(ring, 100 + 30, 30), RGB(17, 17, 17));

    // No picture: the size stays, nothing but the background is drawn.
    setControlPicture(PICTURE, nullptr);
    repaint(ring);
    GetClientRect(picture, &size);
    EXPECT_EQ(size.right, 4);
    EXPECT_EQ(pixelOf(picture, 2, 1), RGB(17, 17, 17));
}

TEST_F(Win32Ui, RgbPicturesAreDrawnOpaque)
{
    Picture p = makePicture(2, 2, false);
    const std::uint8_t pixels[] = {1, 2, 3, 17, 17, 17, 250, 251, 252, 0, 0, 0};
    std::copy(std::begin(pixels), std::end(pixels), p.pixels.begin());
    setControlPicture(PICTURE, &p);
    repaint(ring);
    EXPECT_EQ(pixelOf(picture, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(pixelOf(picture, 1, 0), RGB(17, 17, 17));
    EXPECT_EQ(pixelOf(picture, 0, 1), RGB(250, 251, 252));
    EXPECT_EQ(pixelOf(picture, 1, 1), RGB(0, 0, 0));
}

TEST_F(Win32Ui, MouseButtonsOnAPictureControlBecomeClickKinds)
{
    struct Press {
        UINT message;
        WPARAM keys;
        int x;
    };
    const int farX = 5 + GetSystemMetrics(SM_CXDRAG) + 1;
    const int nearX = 5 + GetSystemMetrics(SM_CXDRAG);
    struct Case {
        const char* name;
        std::vector<Press> presses;
        std::vector<ClickKind> clicks;
    };
    const std::vector<Case> cases = {
        {"left click", {{WM_LBUTTONDOWN, MK_LBUTTON, 5}, {WM_LBUTTONUP, 0, 5}}, {ClickKind::LeftClick}},
        {"left double click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 5}, {WM_LBUTTONUP, 0, 5}, {WM_LBUTTONDBLCLK, MK_LBUTTON, 5}, {WM_LBUTTONUP, 0, 5}},
         {ClickKind::LeftClick, ClickKind::LeftDoubleClick}},
        {"right click", {{WM_RBUTTONDOWN, MK_RBUTTON, 5}, {WM_RBUTTONUP, 0, 5}}, {ClickKind::RightClick}},
        {"right double click",
         {{WM_RBUTTONDOWN, MK_RBUTTON, 5}, {WM_RBUTTONUP, 0, 5}, {WM_RBUTTONDBLCLK, MK_RBUTTON, 5}, {WM_RBUTTONUP, 0, 5}},
         {ClickKind::RightClick, ClickKind::RightDoubleClick}},
        {"drag",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 5},
          {WM_MOUSEMOVE, MK_LBUTTON, nearX},
          {WM_MOUSEMOVE, MK_LBUTTON, farX},
          {WM_MOUSEMOVE, MK_LBUTTON, farX + 10},
          {WM_LBUTTONUP, 0, farX + 10}},
         {ClickKind::LeftClick, ClickKind::DragStart}},
        {"moving without the button", {{WM_MOUSEMOVE, 0, 5}, {WM_MOUSEMOVE, 0, farX + 10}}, {}},
    };
    for (const Case& c : cases) {
        for (const Press& p : c.presses)
            PostMessageA(picture, p.message, p.keys, MAKELPARAM(p.x, 5));
        std::vector<UiEvent> expected;
        for (ClickKind click : c.clicks)
            expected.push_back(controlEvent(PICTURE, click));
        EXPECT_EQ(eventsUntilQuiet(), expected) << c.name;
    }
}

TEST_F(Win32Ui, CloseRequestLeavesTheWindowOpen)
{
    PostMessageA(ring, WM_CLOSE, 0, 0);
    EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{closeRequest()});
    EXPECT_TRUE(IsWindow(ring));
    PostMessageA(windowHandle(ANCHOR_WINDOW), WM_CLOSE, 0, 0);
    EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{closeRequest()});
    EXPECT_TRUE(IsWindow(windowHandle(ANCHOR_WINDOW)));
}

TEST_F(Win32Ui, PendingEventsComeOutOnePerWaitBeforeNewMessages)
{
    PostMessageA(picture, WM_RBUTTONUP, 0, 0);   // a new message, behind what is pending
    SendMessageA(ring, WM_CLOSE, 0, 0);           // these three arise outside any wait,
    SendMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, 0); // as inside a menu or a box
    SendMessageA(picture, WM_RBUTTONDBLCLK, MK_RBUTTON, 0);
    EXPECT_EQ(waitEvent(0), closeRequest());
    EXPECT_EQ(waitEvent(0), controlEvent(PICTURE, ClickKind::LeftClick));
    EXPECT_EQ(waitEvent(0), controlEvent(PICTURE, ClickKind::RightDoubleClick));
    // The release ends the right double click, so it reports nothing.
    EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{});
    EXPECT_EQ(waitEvent(30).kind, UiEventKind::Nothing);
}

TEST_F(Win32Ui, EveryMessageEndsAWait)
{
    PostMessageA(ring, WM_NULL, 0, 0);
    PostMessageA(ring, WM_CLOSE, 0, 0);
    EXPECT_EQ(waitEvent(WAIT_FOREVER).kind, UiEventKind::Nothing);
    EXPECT_EQ(waitEvent(WAIT_FOREVER), closeRequest());
    // A quit message is taken and asks for the end, so it cannot wake every wait after it.
    PostQuitMessage(0);
    EXPECT_EQ(waitEvent(WAIT_FOREVER), closeRequest());
    EXPECT_TRUE(quiet());
}

TEST_F(Win32Ui, MenuChoicesArriveAsMenuEvents)
{
    createPopupMenu(SLOT_MENU);
    const int ids[] = {0, 1, -1, 2, 5, -1, 4, -1, 3};
    for (int id : ids) {
        if (id < 0)
            appendMenuSeparator(SLOT_MENU);
        else
            appendMenuEntry(SLOT_MENU, id, "entry " + std::to_string(id));
    }
    // A stuck menu is closed after a while instead of hanging the test.
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
    int position = 0;
    for (int id : ids) {
        if (id < 0)
            continue;
        ++position;
        setForegroundWindow(RING_WINDOW);
        for (int i = 0; i < position; ++i)
            PostMessageA(ring, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(ring, WM_KEYDOWN, VK_RETURN, 0);
        showPopupMenu(SLOT_MENU, RING_WINDOW, 150, 150);
        EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{menuEvent(id)}) << "entry " << position;
    }
    KillTimer(nullptr, guard);
}

TEST_F(Win32Ui, OneTooltipServesAllControlsAndSurvivesTheRing)
{
    createPictureControl(4, RING_WINDOW, 0, 100, 64, 64);
    setControlTooltip(PICTURE, "leer");
    setControlTooltip(PICTURE, "A & B");
    setControlTooltip(4, "edit.exe");
    HWND tip = tooltipWindow();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(GetWindow(tip, GW_OWNER), windowHandle(ANCHOR_WINDOW));
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_ALWAYSTIP);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_STYLE) & TTS_NOPREFIX);
    EXPECT_TRUE(GetWindowLongA(tip, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 2);

    char text[80] = "";
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = ring;
    tool.uId = reinterpret_cast<UINT_PTR>(picture);
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "A & B");

    destroyControl(4);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    closeWindow(RING_WINDOW);
    EXPECT_TRUE(IsWindow(tip));
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(Win32Ui, ChooserDialogAndItsControls)
{
    openChooser();
    HWND dialog = windowHandle(CHOOSER_WINDOW);
    const LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(clientSize(CHOOSER_WINDOW).width, 222);
    EXPECT_EQ(clientSize(CHOOSER_WINDOW).height, 144);
    const ScreenRect outer = windowRect(CHOOSER_WINDOW);
    EXPECT_NEAR(outer.left + outer.width / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR(outer.top + outer.height / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);

    HWND list = controlHandle(10);
    EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(GetWindowLongA(list, GWL_STYLE) & LBS_SORT);
    for (int control : {10, 11, 12, 13})
        EXPECT_TRUE(GetWindowLongA(controlHandle(control), GWL_STYLE) & WS_TABSTOP) << control;
    for (int control : {10, 12, 13})
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(controlHandle(control), WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT))
            << control;

    listBoxAppend(10, "skin2");
    listBoxAppend(10, "skin1");
    EXPECT_EQ(listBoxSelection(10), -1);
    char row[16] = "";
    SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
    EXPECT_STREQ(row, "skin2");

    // A click on the second row selects it; a double click reports itself too.
    const int rowHeight = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
    const LPARAM second = MAKELPARAM(5, rowHeight + rowHeight / 2);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, second);
    PostMessageA(list, WM_LBUTTONUP, 0, second);
    EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{controlEvent(10, ClickKind::LeftClick)});
    EXPECT_EQ(listBoxSelection(10), 1);
    PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, second);
    PostMessageA(list, WM_LBUTTONUP, 0, second);
    EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{controlEvent(10, ClickKind::LeftDoubleClick)});

    PostMessageA(controlHandle(13), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(controlHandle(13), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{controlEvent(13, ClickKind::LeftClick)});

    // Keys reach the dialog's controls (Tab moves the focus between them).
    focusControl(12);
    EXPECT_EQ(GetFocus(), controlHandle(12));
    PostMessageA(controlHandle(12), WM_KEYDOWN, VK_TAB, 0);
    eventsUntilQuiet();
    EXPECT_EQ(GetFocus(), controlHandle(13));

    destroyControl(10);
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(controlHandle(10), nullptr);
    closeWindow(CHOOSER_WINDOW);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(controlHandle(12), nullptr);
}

// Runs inside the message box's own loop: notes what it sees and answers "No".
struct BoxSighting {
    HWND owner = nullptr;
    bool ringEnabled = true;
    bool dialogEnabled = true;
    bool seen = false;
};
BoxSighting sighting;

TEST_F(Win32Ui, MessageBoxDisablesOurOtherWindowsWhileOpen)
{
    openChooser();
    setForegroundWindow(RING_WINDOW);
    sighting = BoxSighting{};
    PostMessageA(picture, WM_RBUTTONUP, 0, 0); // dispatched by the box's loop
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND box = FindWindowA("#32770", "Frage");
        if (!box || sighting.seen)
            return;
        sighting.seen = true;
        sighting.owner = GetWindow(box, GW_OWNER);
        sighting.ringEnabled = IsWindowEnabled(windowHandle(RING_WINDOW));
        sighting.dialogEnabled = IsWindowEnabled(windowHandle(CHOOSER_WINDOW));
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDNO)));
    });
    const HWND foreground = GetForegroundWindow();
    const BoxAnswer answer = messageBox("Frage", "Ja?\rNein?", true);
    KillTimer(nullptr, timer);
    EXPECT_EQ(answer, BoxAnswer::No);
    ASSERT_TRUE(sighting.seen);
    if (foreground == ring || foreground == windowHandle(CHOOSER_WINDOW)) {
        EXPECT_EQ(sighting.owner, foreground);
    }
    EXPECT_FALSE(sighting.ringEnabled && sighting.dialogEnabled);
    EXPECT_TRUE(IsWindowEnabled(ring));
    EXPECT_TRUE(IsWindowEnabled(windowHandle(CHOOSER_WINDOW)));
    EXPECT_EQ(eventsUntilQuiet(), std::vector<UiEvent>{controlEvent(PICTURE, ClickKind::RightClick)});
}

// Runs inside a chooser's own loop: answers the first dialog of the thread it finds.
struct ChooserScript {
    const char* typedName = nullptr; // typed into the file name box, then OK; cancel without
    bool titleShown = false;
};
ChooserScript chooserScript;

BOOL CALLBACK noteTitle(HWND child, LPARAM title)
{
    char text[128] = "";
    GetWindowTextA(child, text, sizeof(text));
    if (lstrcmpA(text, reinterpret_cast<const char*>(title)) == 0)
        chooserScript.titleShown = true;
    return TRUE;
}

BOOL CALLBACK answerChooser(HWND hwnd, LPARAM title)
{
    char name[16] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    if (lstrcmpA(name, "#32770") != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    char caption[128] = "";
    GetWindowTextA(hwnd, caption, sizeof(caption));
    chooserScript.titleShown = lstrcmpA(caption, reinterpret_cast<const char*>(title)) == 0;
    EnumChildWindows(hwnd, noteTitle, title);
    if (chooserScript.typedName) {
        SetDlgItemTextA(hwnd, 0x47C, chooserScript.typedName); // the file name box
        PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    } else {
        PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    return FALSE;
}

const char* chooserTitle = "";

void CALLBACK chooserTimer(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(GetCurrentThreadId(), answerChooser, reinterpret_cast<LPARAM>(chooserTitle));
}

TEST_F(Win32Ui, ChoosersShowTheirTitleAndReturnTheChoice)
{
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, chooserTimer);
    chooserTitle = "Programm ausw\xE4hlen";
    chooserScript = ChooserScript{};
    EXPECT_EQ(chooseProgramFile(chooserTitle), "");
    EXPECT_TRUE(chooserScript.titleShown);
    chooserScript = ChooserScript{"C:\\windows\\notepad.exe"};
    EXPECT_EQ(chooseProgramFile(chooserTitle), "C:\\windows\\notepad.exe");

    chooserTitle = "Ordner ausw\xE4hlen";
    chooserScript = ChooserScript{};
    std::string path = "unchanged";
    EXPECT_FALSE(chooseFolder(chooserTitle, path));
    EXPECT_TRUE(chooserScript.titleShown);
    EXPECT_EQ(path, "unchanged");
    KillTimer(nullptr, timer);
    EXPECT_TRUE(IsWindowEnabled(ring));
}

TEST_F(Win32Ui, PointerAndCtrlKey)
{
    SetCursorPos(321, 234);
    const ScreenPoint p = cursorPos();
    EXPECT_EQ(p.x, 321);
    EXPECT_EQ(p.y, 234);
    SetCursorPos(1000, 740);
    ctrlKeyState();
    EXPECT_EQ(ctrlKeyState(), 0);
}

} // namespace
