// The user-interface seam on Win32: windows, controls, menus, dialogs, the
// shell and process creation. Everything runs on the one thread that calls
// initPlatform.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <vector>

#include "platform/files.h"
#include "platform/ui.h"
#include "platform/win32_ui_internal.h"

namespace {

const char* const WINDOW_CLASS = "VelquorWindow";
// Child ids are control number + CONTROL_ID_OFFSET so that no control gets id 0
// (nor IDOK or IDCANCEL); menu entries likewise, so that entry id 0 works.
constexpr int CONTROL_ID_OFFSET = 100;
constexpr int MENU_ID_OFFSET = 1000;

using AlphaBlendFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);

enum class ControlKind { Picture, ListBox, Button };

struct WindowState {
    HWND hwnd = nullptr;
    WindowKind kind = WindowKind::Anchor;
    HBRUSH background = nullptr; // owned when ownBrush is set
    bool ownBrush = false;
};

struct ControlState {
    HWND hwnd = nullptr;
    int window = NO_WINDOW;
    ControlKind kind = ControlKind::Picture;
    bool hasTool = false;
    // Picture controls: the premultiplied copy of the picture shown.
    HBITMAP picture = nullptr;
    bool pictureHasAlpha = false;
    int pictureWidth = 0;
    int pictureHeight = 0;
    // Click tracking of picture controls.
    POINT pressPoint{};
    bool dragArmed = false;
    bool rightDoublePressed = false;
};

HINSTANCE instance = nullptr;
HMODULE msimg32 = nullptr;
AlphaBlendFunction alphaBlend = nullptr;
bool comInitialised = false;
WNDPROC staticProc = nullptr;
HWND tooltip = nullptr;

std::map<int, WindowState> windows;
std::map<int, ControlState> controls;
std::map<int, HMENU> menus;
std::deque<UiEvent> pendingEvents;

// GetProcAddress with the cast that the function-type warning accepts.
template <typename Function>
Function procAddress(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

COLORREF colourRef(std::uint32_t rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void pushControlEvent(int control, ClickKind click)
{
    UiEvent e;
    e.kind = UiEventKind::ControlEvent;
    e.control = control;
    e.click = click;
    pendingEvents.push_back(e);
}

WindowState* windowStateOf(HWND hwnd)
{
    for (auto& [number, state] : windows)
        if (state.hwnd == hwnd)
            return &state;
    return nullptr;
}

ControlState* controlStateOf(HWND hwnd)
{
    auto it = controls.find(GetDlgCtrlID(hwnd) - CONTROL_ID_OFFSET);
    return it != controls.end() && it->second.hwnd == hwnd ? &it->second : nullptr;
}

HWND handleOf(const std::map<int, WindowState>& states, int number)
{
    auto it = states.find(number);
    return it != states.end() ? it->second.hwnd : nullptr;
}

HBITMAP createDib(int width, int height, void** bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// Reads a 32-bit top-down DIB back as an RGB picture.
Picture rgbPictureFromBgrx(const std::uint8_t* bits, int width, int height)
{
    Picture picture = makePicture(width, height, false);
    const std::size_t count = static_cast<std::size_t>(width) * height;
    for (std::size_t i = 0; i < count; ++i) {
        picture.pixels[i * 3] = bits[i * 4 + 2];
        picture.pixels[i * 3 + 1] = bits[i * 4 + 1];
        picture.pixels[i * 3 + 2] = bits[i * 4];
    }
    return picture;
}

// Draws the control's picture over its parent's background, through a buffer.
void paintPictureControl(HWND hwnd, const ControlState& state, HDC target)
{
    RECT client;
    GetClientRect(hwnd, &client);
    if (client.right <= 0 || client.bottom <= 0)
        return;
    void* bufferBits = nullptr;
    HBITMAP buffer = createDib(client.right, client.bottom, &bufferBits);
    if (!buffer)
        return;
    HDC bufferDc = CreateCompatibleDC(target);
    HGDIOBJ oldBuffer = SelectObject(bufferDc, buffer);

    // The parent paints its background into the buffer, shifted to where the control sits.
    POINT origin{0, 0};
    MapWindowPoints(hwnd, GetParent(hwnd), &origin, 1);
    POINT oldOrigin;
    SetViewportOrgEx(bufferDc, -origin.x, -origin.y, &oldOrigin);
    SendMessageA(GetParent(hwnd), WM_ERASEBKGND, reinterpret_cast<WPARAM>(bufferDc), 0);
    SetViewportOrgEx(bufferDc, oldOrigin.x, oldOrigin.y, nullptr);

    if (state.picture) {
        HDC pictureDc = CreateCompatibleDC(target);
        HGDIOBJ oldPicture = SelectObject(pictureDc, state.picture);
        if (!state.pictureHasAlpha) {
            BitBlt(bufferDc, 0, 0, state.pictureWidth, state.pictureHeight, pictureDc, 0, 0, SRCCOPY);
        } else if (alphaBlend) {
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            alphaBlend(bufferDc, 0, 0, state.pictureWidth, state.pictureHeight, pictureDc, 0, 0,
                       state.pictureWidth, state.pictureHeight, blend);
        }
        SelectObject(pictureDc, oldPicture);
        DeleteDC(pictureDc);
    }
    BitBlt(target, 0, 0, client.right, client.bottom, bufferDc, 0, 0, SRCCOPY);
    SelectObject(bufferDc, oldBuffer);
    DeleteDC(bufferDc);
    DeleteObject(buffer);
}

// Picture controls are "STATIC" controls with SS_NOTIFY; this takes over their
// painting and reports the mouse clicks the static control does not.
LRESULT CALLBACK pictureControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ControlState* state = controlStateOf(hwnd);
    if (state) {
        const int control = GetDlgCtrlID(hwnd) - CONTROL_ID_OFFSET;
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            paintPictureControl(hwnd, *state, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            state->pressPoint = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            state->dragArmed = true;
            break;
        case WM_LBUTTONUP:
            state->dragArmed = false;
            break;
        case WM_MOUSEMOVE:
            if (state->dragArmed && (wParam & MK_LBUTTON)) {
                const int dx = std::abs(GET_X_LPARAM(lParam) - state->pressPoint.x);
                const int dy = std::abs(GET_Y_LPARAM(lParam) - state->pressPoint.y);
                if (dx > GetSystemMetrics(SM_CXDRAG) || dy > GetSystemMetrics(SM_CYDRAG)) {
                    state->dragArmed = false;
                    pushControlEvent(control, ClickKind::DragStart);
                }
            }
            break;
        case WM_RBUTTONDBLCLK:
            state->rightDoublePressed = true;
            pushControlEvent(control, ClickKind::RightDoubleClick);
            break;
        case WM_RBUTTONUP:
            if (state->rightDoublePressed)
                state->rightDoublePressed = false;
            else
                pushControlEvent(control, ClickKind::RightClick);
            break;
        }
    }
    return CallWindowProcA(staticProc, hwnd, message, wParam, lParam);
}

void commandEvent(WPARAM wParam, LPARAM lParam)
{
    const int code = HIWORD(wParam);
    if (lParam == 0) {
        if (code == 0 && LOWORD(wParam) >= MENU_ID_OFFSET) {
            UiEvent e;
            e.kind = UiEventKind::MenuEvent;
            e.menuId = LOWORD(wParam) - MENU_ID_OFFSET;
            pendingEvents.push_back(e);
        }
        return;
    }
    HWND child = reinterpret_cast<HWND>(lParam);
    ControlState* state = controlStateOf(child);
    if (!state)
        return;
    const int control = GetDlgCtrlID(child) - CONTROL_ID_OFFSET;
    switch (state->kind) {
    case ControlKind::Picture:
        if (code == STN_CLICKED)
            pushControlEvent(control, ClickKind::LeftClick);
        else if (code == STN_DBLCLK)
            pushControlEvent(control, ClickKind::LeftDoubleClick);
        break;
    case ControlKind::ListBox:
        if (code == LBN_SELCHANGE)
            pushControlEvent(control, ClickKind::LeftClick);
        else if (code == LBN_DBLCLK)
            pushControlEvent(control, ClickKind::LeftDoubleClick);
        break;
    case ControlKind::Button:
        if (code == BN_CLICKED)
            pushControlEvent(control, ClickKind::LeftClick);
        break;
    }
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE: {
        UiEvent e;
        e.kind = UiEventKind::CloseRequest;
        pendingEvents.push_back(e);
        return 0;
    }
    case WM_COMMAND:
        commandEvent(wParam, lParam);
        return 0;
    case WM_ERASEBKGND: {
        const WindowState* state = windowStateOf(hwnd);
        RECT client;
        GetClientRect(hwnd, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 state && state->background ? state->background : GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void removeTool(ControlState& state)
{
    if (!state.hasTool || !tooltip)
        return;
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = GetParent(state.hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(state.hwnd);
    SendMessageA(tooltip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    state.hasTool = false;
}

void releaseControlPicture(ControlState& state)
{
    if (state.picture)
        DeleteObject(state.picture);
    state.picture = nullptr;
}

void destroyControlState(ControlState& state)
{
    removeTool(state);
    DestroyWindow(state.hwnd);
    releaseControlPicture(state);
}

void createControl(int control, int window, ControlKind kind, const char* className, DWORD exStyle,
                   DWORD style, int x, int y, int width, int height, const std::string& text)
{
    auto parent = windows.find(window);
    if (parent == windows.end())
        return;
    const bool onDialog = parent->second.kind == WindowKind::Dialog;
    if (onDialog)
        style |= WS_TABSTOP;
    HWND hwnd = CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y,
                                width, height, parent->second.hwnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(control + CONTROL_ID_OFFSET)),
                                instance, nullptr);
    if (!hwnd)
        return;
    if (onDialog)
        SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ControlState state;
    state.hwnd = hwnd;
    state.window = window;
    state.kind = kind;
    auto old = controls.find(control);
    if (old != controls.end())
        destroyControlState(old->second);
    controls[control] = state;
}

// The owner that dialogs get: the foreground window when it is one of ours.
HWND dialogOwner()
{
    HWND foreground = GetForegroundWindow();
    DWORD process = 0;
    if (foreground)
        GetWindowThreadProcessId(foreground, &process);
    return process == GetCurrentProcessId() ? foreground : nullptr;
}

// Disables the program's visible, enabled windows while a modal box is open;
// the box itself takes care of its owner.
std::vector<HWND> disableOurWindows(HWND owner)
{
    std::vector<HWND> disabled;
    for (auto& [number, state] : windows)
        if (state.hwnd != owner && IsWindowVisible(state.hwnd) && IsWindowEnabled(state.hwnd)) {
            EnableWindow(state.hwnd, FALSE);
            disabled.push_back(state.hwnd);
        }
    return disabled;
}

void enableWindows(const std::vector<HWND>& disabled)
{
    for (HWND hwnd : disabled)
        if (IsWindow(hwnd))
            EnableWindow(hwnd, TRUE);
}

void destroyTooltip()
{
    if (tooltip)
        DestroyWindow(tooltip);
    tooltip = nullptr;
    for (auto& [number, state] : controls)
        state.hasTool = false;
}

} // namespace

std::vector<std::uint8_t> premultipliedCopy(const Picture& picture)
{
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    const int channels = channelsOf(picture);
    std::vector<std::uint8_t> bgra(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = &picture.pixels[i * channels];
        const std::uint8_t alpha = picture.hasAlpha ? p[3] : 255;
        bgra[i * 4] = premultiplyChannel(p[2], alpha);
        bgra[i * 4 + 1] = premultiplyChannel(p[1], alpha);
        bgra[i * 4 + 2] = premultiplyChannel(p[0], alpha);
        bgra[i * 4 + 3] = alpha;
    }
    return bgra;
}

std::optional<Picture> captureIcon(HICON icon)
{
    ICONINFO info;
    if (!GetIconInfo(icon, &info)) {
        DestroyIcon(icon);
        return std::nullopt;
    }
    const int width = 2 * static_cast<int>(info.xHotspot);
    const int height = 2 * static_cast<int>(info.yHotspot);
    Picture picture = makePicture(width, height, false);
    std::fill(picture.pixels.begin(), picture.pixels.end(), KEY_LEVEL);
    void* bits = nullptr;
    HBITMAP canvas = width > 0 && height > 0 ? createDib(width, height, &bits) : nullptr;
    if (canvas) {
        const std::size_t count = static_cast<std::size_t>(width) * height;
        auto* pixels = static_cast<std::uint8_t*>(bits);
        for (std::size_t i = 0; i < count; ++i) {
            pixels[i * 4] = KEY_LEVEL;
            pixels[i * 4 + 1] = KEY_LEVEL;
            pixels[i * 4 + 2] = KEY_LEVEL;
            pixels[i * 4 + 3] = 0;
        }
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, canvas);
        DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
        GdiFlush();
        picture = rgbPictureFromBgrx(pixels, width, height);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(canvas);
    }
    DestroyIcon(icon);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return picture;
}

HWND windowHandle(int window) { return handleOf(windows, window); }

HWND controlHandle(int control)
{
    auto it = controls.find(control);
    return it != controls.end() ? it->second.hwnd : nullptr;
}

void initPlatform()
{
    instance = GetModuleHandleA(nullptr);
    // Older common-controls libraries refuse flags they do not know, so the
    // tooltip class is asked for on its own first.
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    classes.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&classes);
    comInitialised = SUCCEEDED(CoInitialize(nullptr));
    msimg32 = LoadLibraryA("msimg32.dll");
    if (msimg32)
        alphaBlend = procAddress<AlphaBlendFunction>(msimg32, "AlphaBlend");

    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIcon(instance, MAKEINTRESOURCE(1));
    windowClass.lpszClassName = WINDOW_CLASS;
    RegisterClassExA(&windowClass);
}

void releasePlatform()
{
    for (auto& [number, state] : controls)
        destroyControlState(state);
    controls.clear();
    destroyTooltip();
    for (auto& [number, state] : windows) {
        DestroyWindow(state.hwnd);
        if (state.ownBrush)
            DeleteObject(state.background);
    }
    windows.clear();
    for (auto& [number, menu] : menus)
        DestroyMenu(menu);
    menus.clear();
    pendingEvents.clear();
    UnregisterClassA(WINDOW_CLASS, instance);
    alphaBlend = nullptr;
    if (msimg32)
        FreeLibrary(msimg32);
    msimg32 = nullptr;
    if (comInitialised)
        CoUninitialize();
    comInitialised = false;
}

void endProcess(int exitCode) { ExitProcess(static_cast<UINT>(exitCode)); }

UiEvent waitEvent(int timeoutMs)
{
    if (pendingEvents.empty()) {
        MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs == WAIT_FOREVER ? INFINITE : static_cast<DWORD>(timeoutMs),
                                    QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        // Sent messages are handled inside PeekMessage; at most one queued
        // message is taken, so every message ends the wait.
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                UiEvent e;
                e.kind = UiEventKind::CloseRequest;
                pendingEvents.push_back(e);
            } else {
                HWND chooser = windowHandle(CHOOSER_WINDOW);
                if (!chooser || !IsDialogMessageA(chooser, &msg)) {
                    TranslateMessage(&msg);
                    DispatchMessageA(&msg);
                }
            }
        }
    }
    if (pendingEvents.empty())
        return UiEvent{};
    UiEvent e = pendingEvents.front();
    pendingEvents.pop_front();
    return e;
}

void openWindow(int window, WindowKind kind, int x, int y, int width, int height, const std::string& title,
                int owner)
{
    DWORD style = WS_POPUP;
    if (kind == WindowKind::Dialog)
        style = WS_OVERLAPPED | WS_CAPTION;
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    const int outerWidth = outer.right - outer.left;
    const int outerHeight = outer.bottom - outer.top;
    if (kind == WindowKind::Dialog) {
        x = (GetSystemMetrics(SM_CXSCREEN) - outerWidth) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - outerHeight) / 2;
    }
    HWND hwnd = CreateWindowExA(0, WINDOW_CLASS, title.c_str(), style, x, y, outerWidth, outerHeight,
                                windowHandle(owner), nullptr, instance, nullptr);
    if (!hwnd)
        return;
    closeWindow(window);
    WindowState state;
    state.hwnd = hwnd;
    state.kind = kind;
    windows[window] = state;
    if (kind != WindowKind::Anchor)
        ShowWindow(hwnd, SW_SHOW);
}

void closeWindow(int window)
{
    auto it = windows.find(window);
    if (it == windows.end())
        return;
    for (auto control = controls.begin(); control != controls.end();) {
        if (control->second.window == window) {
            destroyControlState(control->second);
            control = controls.erase(control);
        } else {
            ++control;
        }
    }
    if (tooltip && GetWindow(tooltip, GW_OWNER) == it->second.hwnd)
        destroyTooltip();
    DestroyWindow(it->second.hwnd);
    if (it->second.ownBrush)
        DeleteObject(it->second.background);
    windows.erase(it);
}

void setWindowTopmost(int window)
{
    SetWindowPos(windowHandle(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void setWindowBackground(int window, std::uint32_t rgb)
{
    auto it = windows.find(window);
    if (it == windows.end())
        return;
    HBRUSH brush = CreateSolidBrush(colourRef(rgb));
    if (it->second.ownBrush)
        DeleteObject(it->second.background);
    it->second.background = brush;
    it->second.ownBrush = true;
    InvalidateRect(it->second.hwnd, nullptr, TRUE);
}

void makeWindowLayered(int window, std::uint32_t keyRgb)
{
    HWND hwnd = windowHandle(window);
    SetWindowLongA(hwnd, GWL_EXSTYLE, WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, colourRef(keyRgb), 0, LWA_COLORKEY);
}

void moveWindow(int window, int x, int y, int width, int height)
{
    HWND hwnd = windowHandle(window);
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
    SetWindowPos(hwnd, nullptr, x, y, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

ScreenRect windowRect(int window)
{
    RECT r{};
    GetWindowRect(windowHandle(window), &r);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

ScreenRect clientSize(int window)
{
    RECT r{};
    GetClientRect(windowHandle(window), &r);
    return {0, 0, r.right, r.bottom};
}

void setForegroundWindow(int window) { SetForegroundWindow(windowHandle(window)); }

void createPictureControl(int control, int window, int x, int y, int width, int height)
{
    createControl(control, window, ControlKind::Picture, "STATIC", 0, SS_NOTIFY, x, y, width, height, "");
    HWND hwnd = controlHandle(control);
    if (!hwnd)
        return;
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pictureControlProc)));
    if (!staticProc)
        staticProc = previous;
}

void setControlPicture(int control, const Picture* picture)
{
    auto it = controls.find(control);
    if (it == controls.end() || it->second.kind != ControlKind::Picture)
        return;
    ControlState& state = it->second;
    releaseControlPicture(state);
    if (picture) {
        void* bits = nullptr;
        state.picture = picture->width > 0 && picture->height > 0
                            ? createDib(picture->width, picture->height, &bits)
                            : nullptr;
        if (state.picture) {
            const std::vector<std::uint8_t> copy = premultipliedCopy(*picture);
            std::memcpy(bits, copy.data(), copy.size());
        }
        state.pictureHasAlpha = picture->hasAlpha;
        state.pictureWidth = picture->width;
        state.pictureHeight = picture->height;
        SetWindowPos(state.hwnd, nullptr, 0, 0, picture->width, picture->height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Repaints the parent's background under the control, then the picture.
    RECT area;
    GetWindowRect(state.hwnd, &area);
    MapWindowPoints(nullptr, GetParent(state.hwnd), reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(GetParent(state.hwnd), &area, TRUE);
    InvalidateRect(state.hwnd, nullptr, TRUE);
}

void setControlTooltip(int control, const std::string& text)
{
    auto it = controls.find(control);
    if (it == controls.end())
        return;
    if (!tooltip) {
        tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  windowHandle(ANCHOR_WINDOW), nullptr, instance, nullptr);
        if (!tooltip)
            return;
        SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    TOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = GetParent(it->second.hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(it->second.hwnd);
    tool.hinst = instance;
    tool.lpszText = const_cast<char*>(text.c_str());
    if (it->second.hasTool) {
        SendMessageA(tooltip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    } else {
        it->second.hasTool = SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) != FALSE;
    }
}

void createListBox(int control, int window, int x, int y, int width, int height)
{
    createControl(control, window, ControlKind::ListBox, "LISTBOX", WS_EX_CLIENTEDGE,
                  WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY, x, y, width, height, "");
}

void listBoxAppend(int control, const std::string& text)
{
    SendMessageA(controlHandle(control), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int listBoxSelection(int control)
{
    const LRESULT row = SendMessageA(controlHandle(control), LB_GETCURSEL, 0, 0);
    return row == LB_ERR ? -1 : static_cast<int>(row);
}

void createButton(int control, int window, int x, int y, int width, int height, const std::string& text)
{
    createControl(control, window, ControlKind::Button, "BUTTON", 0, BS_PUSHBUTTON, x, y, width, height, text);
}

void destroyControl(int control)
{
    auto it = controls.find(control);
    if (it == controls.end())
        return;
    destroyControlState(it->second);
    controls.erase(it);
}

void focusControl(int control) { SetFocus(controlHandle(control)); }

void createPopupMenu(int menu)
{
    auto it = menus.find(menu);
    if (it != menus.end())
        DestroyMenu(it->second);
    menus[menu] = CreatePopupMenu();
}

void appendMenuEntry(int menu, int id, const std::string& text)
{
    AppendMenuA(menus[menu], MF_STRING, static_cast<UINT_PTR>(id + MENU_ID_OFFSET), text.c_str());
}

void appendMenuSeparator(int menu) { AppendMenuA(menus[menu], MF_SEPARATOR, 0, nullptr); }

void showPopupMenu(int menu, int window, int x, int y)
{
    HWND owner = windowHandle(window);
    TrackPopupMenu(menus[menu], TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, owner, nullptr);
    // Lets the menu close properly when it was dismissed by a click elsewhere.
    PostMessageA(owner, WM_NULL, 0, 0);
}

BoxAnswer messageBox(const std::string& title, const std::string& text, bool yesNo)
{
    HWND owner = dialogOwner();
    const std::vector<HWND> disabled = disableOurWindows(owner);
    const int answer = MessageBoxA(owner, text.c_str(), title.c_str(), yesNo ? MB_YESNO : MB_OK);
    enableWindows(disabled);
    if (answer == IDYES)
        return BoxAnswer::Yes;
    if (answer == IDNO)
        return BoxAnswer::No;
    return BoxAnswer::Ok;
}

std::string chooseProgramFile(const std::string& title)
{
    char file[MAX_PATH] = "";
    OPENFILENAMEA choice{};
    choice.lStructSize = sizeof(choice);
    HWND owner = dialogOwner();
    choice.hwndOwner = owner;
    choice.lpstrFilter = "Programm\0*.exe\0\0";
    choice.nFilterIndex = 1;
    choice.lpstrFile = file;
    choice.nMaxFile = MAX_PATH;
    choice.lpstrTitle = title.c_str();
    choice.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY; // 0x8080C
    const std::vector<HWND> disabled = disableOurWindows(owner);
    const bool chosen = GetOpenFileNameA(&choice) != FALSE;
    enableWindows(disabled);
    return chosen ? std::string(file) : std::string();
}

bool chooseFolder(const std::string& title, std::string& path)
{
    using BrowseFunction = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOA);
    using PathFunction = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPSTR);
    HMODULE shell = LoadLibraryA("SHELL32.DLL");
    if (!shell)
        return false;
    auto browse = procAddress<BrowseFunction>(shell, "SHBrowseForFolderA");
    auto pathOf = procAddress<PathFunction>(shell, "SHGetPathFromIDListA");
    bool chosen = false;
    if (browse && pathOf) {
        const bool com = SUCCEEDED(CoInitialize(nullptr));
        char name[MAX_PATH] = "";
        BROWSEINFOA browseInfo{};
        HWND owner = dialogOwner();
        browseInfo.hwndOwner = owner;
        browseInfo.pidlRoot = nullptr;
        browseInfo.pszDisplayName = name;
        browseInfo.lpszTitle = title.c_str();
        browseInfo.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX; // 0x50
        const std::vector<HWND> disabled = disableOurWindows(owner);
        PIDLIST_ABSOLUTE item = browse(&browseInfo);
        enableWindows(disabled);
        if (item) {
            char folder[MAX_PATH] = "";
            path = pathOf(item, folder) ? std::string(folder) : std::string();
            CoTaskMemFree(item);
            chosen = true;
        }
        if (com)
            CoUninitialize();
    }
    FreeLibrary(shell);
    return chosen;
}

int ctrlKeyState() { return GetAsyncKeyState(VK_CONTROL); }

ScreenPoint cursorPos()
{
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

std::string shellProfileFolder()
{
    using LocationFunction = HRESULT(WINAPI*)(HWND, int, PIDLIST_ABSOLUTE*);
    using PathFunction = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPSTR);
    using MallocFunction = HRESULT(WINAPI*)(IMalloc**);
    constexpr int PROFILE_FOLDER = 40; // CSIDL_PROFILE
    HMODULE shell = LoadLibraryA("Shell32.dll");
    if (!shell)
        return "";
    auto location = procAddress<LocationFunction>(shell, "SHGetSpecialFolderLocation");
    auto pathOf = procAddress<PathFunction>(shell, "SHGetPathFromIDListA");
    auto shellMalloc = procAddress<MallocFunction>(shell, "SHGetMalloc");
    std::string folder;
    IMalloc* allocator = nullptr;
    if (location && pathOf && shellMalloc && SUCCEEDED(shellMalloc(&allocator)) && allocator) {
        PIDLIST_ABSOLUTE item = nullptr;
        if (SUCCEEDED(location(nullptr, PROFILE_FOLDER, &item)) && item) {
            char path[MAX_PATH] = "";
            if (pathOf(item, path))
                folder = path;
            allocator->Free(item);
        }
        allocator->Release();
    }
    FreeLibrary(shell);
    return folder;
}

std::optional<Picture> shellIconPicture(const std::string& path)
{
    SHFILEINFOA info{};
    SHGetFileInfoA(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON);
    if (!info.hIcon)
        return std::nullopt;
    return captureIcon(info.hIcon);
}

std::optional<Picture> loadSystemPicture(const std::string& path)
{
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes)
        return std::nullopt;
    if (bytes->compare(0, 2, "BM") == 0) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        if (!bitmap)
            return std::nullopt;
        BITMAP shape{};
        GetObjectA(bitmap, sizeof(shape), &shape);
        const int width = shape.bmWidth;
        const int height = std::abs(shape.bmHeight);
        std::optional<Picture> picture;
        BITMAPINFO request{};
        request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        request.bmiHeader.biWidth = width;
        request.bmiHeader.biHeight = -height;
        request.bmiHeader.biPlanes = 1;
        request.bmiHeader.biBitCount = 32;
        request.bmiHeader.biCompression = BI_RGB;
        std::vector<std::uint8_t> bgrx(static_cast<std::size_t>(width) * height * 4);
        HDC dc = CreateCompatibleDC(nullptr);
        if (width > 0 && height > 0 &&
            GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bgrx.data(), &request, DIB_RGB_COLORS) == height)
            picture = rgbPictureFromBgrx(bgrx.data(), width, height);
        DeleteDC(dc);
        DeleteObject(bitmap);
        return picture;
    }
    if (bytes->compare(0, 4, std::string("\0\0\1\0", 4)) == 0) {
        HICON icon = static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
        if (!icon)
            return std::nullopt;
        return captureIcon(icon);
    }
    return std::nullopt;
}

bool createProcess(const std::string& commandLine, const std::string& workingFolder)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                        workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool shellExecute(const std::string& file, const std::string& parameter, const std::string& folder)
{
    SHELLEXECUTEINFOA execute{};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI; // a failed start is not reported
    execute.hwnd = nullptr;
    execute.lpVerb = nullptr;
    execute.lpFile = file.c_str();
    execute.lpParameters = parameter.c_str();
    execute.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&execute))
        return false;
    if (execute.hProcess)
        CloseHandle(execute.hProcess);
    return true;
}
