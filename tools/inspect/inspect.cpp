// velquor-inspect: prints what the tests need to know about the windows on the
// desktop it runs in. One record per line, fields separated by tabs as
// key=value; texts keep their Windows-1252 bytes, with backslash, tab, CR and
// LF written as \\, \t, \r and \n.
//
//   velquor-inspect windows      every top-level window and all its children
//   velquor-inspect pixel X Y    colour of the screen at X,Y as rgb=RRGGBB
//   velquor-inspect close HWND   posts WM_CLOSE to the window
//   velquor-inspect tooltip      texts of the visible tooltip windows
//   velquor-inspect cursor       the pointer position
//   velquor-inspect foreground   the foreground window
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

const UINT TEXT_TIMEOUT_MS = 1000;

std::string escaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default: out += c;
        }
    }
    return out;
}

std::string hex(unsigned long long value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "0x%llx", value);
    return buffer;
}

std::string handleText(HWND window)
{
    return hex(reinterpret_cast<unsigned long long>(window));
}

void printLine(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::string className(HWND window)
{
    char buffer[256] = {};
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

// WM_GETTEXT reaches controls of other processes too, where GetWindowTextA only
// sees the caption stored with the window.
std::string windowText(HWND window)
{
    DWORD_PTR length = 0;
    if (SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, TEXT_TIMEOUT_MS, &length)) {
        std::string text(length + 1, '\0');
        DWORD_PTR copied = 0;
        if (SendMessageTimeoutA(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                                SMTO_ABORTIFHUNG, TEXT_TIMEOUT_MS, &copied)) {
            text.resize(std::strlen(text.c_str()));
            return text;
        }
    }
    char buffer[1024] = {};
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

LRESULT sendQuery(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* ok)
{
    DWORD_PTR result = 0;
    *ok = SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, TEXT_TIMEOUT_MS, &result) != 0;
    return static_cast<LRESULT>(result);
}

void printListRows(HWND list)
{
    bool ok = false;
    LRESULT count = sendQuery(list, LB_GETCOUNT, 0, 0, &ok);
    if (!ok || count < 0)
        return;
    LRESULT selected = sendQuery(list, LB_GETCURSEL, 0, 0, &ok);
    printLine("listbox\thwnd=" + handleText(list) + "\tcount=" + std::to_string(count) +
              "\tselected=" + std::to_string(ok ? selected : -1));
    // Wine hands LB_GETTEXT across processes as UTF-16 even to an ANSI
    // caller; asking for UTF-16 and converting back gives the bytes the
    // program put in, as both processes share the code page.
    for (LRESULT row = 0; row < count; ++row) {
        DWORD_PTR length = 0;
        if (!SendMessageTimeoutW(list, LB_GETTEXTLEN, row, 0, SMTO_ABORTIFHUNG, TEXT_TIMEOUT_MS, &length) ||
            static_cast<LRESULT>(length) < 0)
            continue;
        std::wstring wide(length + 1, L'\0');
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG,
                            TEXT_TIMEOUT_MS, &copied);
        wide.resize(std::wcslen(wide.c_str()));
        std::string text(wide.size() * 2 + 1, '\0');
        int bytes = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), text.data(),
                                        static_cast<int>(text.size()), nullptr, nullptr);
        text.resize(bytes > 0 ? bytes : 0);
        printLine("row\thwnd=" + handleText(list) + "\tindex=" + std::to_string(row) + "\ttext=" + escaped(text));
    }
}

// Popup menus are windows of class #32768; their items are read through the
// menu handle the window reports. Wine keeps menu items in the owning process,
// so there the item count may be unavailable (count=-1).
void printMenuItems(HWND menuWindow)
{
    bool ok = false;
    HMENU menu = reinterpret_cast<HMENU>(sendQuery(menuWindow, 0x01E1 /* MN_GETHMENU */, 0, 0, &ok));
    int count = menu ? GetMenuItemCount(menu) : -1;
    printLine("menu\thwnd=" + handleText(menuWindow) + "\thmenu=" + hex(reinterpret_cast<unsigned long long>(menu)) +
              "\tcount=" + std::to_string(count));
    for (int item = 0; item < count; ++item) {
        char text[512] = {};
        GetMenuStringA(menu, item, text, sizeof text, MF_BYPOSITION);
        UINT state = GetMenuState(menu, item, MF_BYPOSITION);
        printLine("menuitem\thwnd=" + handleText(menuWindow) + "\tindex=" + std::to_string(item) +
                  "\tid=" + std::to_string(static_cast<int>(GetMenuItemID(menu, item))) +
                  "\tseparator=" + std::to_string((state & MF_SEPARATOR) ? 1 : 0) +
                  "\tgrayed=" + std::to_string((state & (MF_GRAYED | MF_DISABLED)) ? 1 : 0) +
                  "\ttext=" + escaped(text));
    }
}

// The program file's name without its folder, so that the tests can tell
// their program's windows from Wine's own.
std::string processName(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return "";
    char path[MAX_PATH * 2] = {};
    DWORD length = sizeof path;
    std::string name;
    if (QueryFullProcessImageNameA(process, 0, path, &length)) {
        name.assign(path, length);
        std::string::size_type slash = name.find_last_of("\\/");
        if (slash != std::string::npos)
            name.erase(0, slash + 1);
    }
    CloseHandle(process);
    return name;
}

void printWindow(HWND window, bool topLevel)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    RECT client = {};
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HWND parent = topLevel ? nullptr : GetAncestor(window, GA_PARENT);
    std::string windowClass = className(window);
    std::string line = std::string(topLevel ? "window" : "child") +
        "\thwnd=" + handleText(window) +
        "\tparent=" + handleText(parent) +
        "\towner=" + handleText(GetWindow(window, GW_OWNER)) +
        "\tpid=" + std::to_string(processId) +
        "\texe=" + escaped(processName(processId)) +
        "\tclass=" + escaped(windowClass) +
        "\tid=" + std::to_string(static_cast<long long>(GetWindowLongPtrA(window, GWLP_ID))) +
        "\trect=" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                    std::to_string(rect.right) + "," + std::to_string(rect.bottom) +
        "\tclient=" + std::to_string(client.right - client.left) + "," + std::to_string(client.bottom - client.top) +
        "\torigin=" + std::to_string(origin.x) + "," + std::to_string(origin.y) +
        "\tstyle=" + hex(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE))) +
        "\texstyle=" + hex(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE))) +
        "\tvisible=" + std::to_string(IsWindowVisible(window) ? 1 : 0) +
        "\tenabled=" + std::to_string(IsWindowEnabled(window) ? 1 : 0) +
        "\ttext=" + escaped(windowText(window));
    printLine(line);
    if (lstrcmpiA(windowClass.c_str(), "ListBox") == 0)
        printListRows(window);
    if (windowClass == "#32768")
        printMenuItems(window);
}

BOOL CALLBACK printChild(HWND window, LPARAM)
{
    printWindow(window, false);
    return TRUE;
}

BOOL CALLBACK printTopLevel(HWND window, LPARAM)
{
    printWindow(window, true);
    EnumChildWindows(window, printChild, 0);
    return TRUE;
}

BOOL CALLBACK printTooltip(HWND window, LPARAM)
{
    if (IsWindowVisible(window) && className(window) == "tooltips_class32")
        printLine("tooltip\thwnd=" + handleText(window) + "\ttext=" + escaped(windowText(window)));
    return TRUE;
}

int usage()
{
    std::fputs("usage: velquor-inspect windows | pixel X Y | close HWND | tooltip | cursor | foreground\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2)
        return usage();
    std::string command = argv[1];
    if (command == "windows" && argc == 2) {
        EnumWindows(printTopLevel, 0);
    } else if (command == "pixel" && argc == 4) {
        HDC screen = GetDC(nullptr);
        COLORREF colour = GetPixel(screen, std::atoi(argv[2]), std::atoi(argv[3]));
        ReleaseDC(nullptr, screen);
        if (colour == CLR_INVALID) {
            printLine("pixel\tinvalid=1");
            return 1;
        }
        char rgb[16];
        std::snprintf(rgb, sizeof rgb, "%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour));
        printLine(std::string("pixel\trgb=") + rgb);
    } else if (command == "close" && argc == 3) {
        HWND window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::strtoull(argv[2], nullptr, 0)));
        if (!PostMessageA(window, WM_CLOSE, 0, 0))
            return 1;
    } else if (command == "tooltip" && argc == 2) {
        EnumWindows(printTooltip, 0);
    } else if (command == "cursor" && argc == 2) {
        POINT point = {};
        GetCursorPos(&point);
        printLine("cursor\tx=" + std::to_string(point.x) + "\ty=" + std::to_string(point.y));
    } else if (command == "foreground" && argc == 2) {
        printLine("foreground\thwnd=" + handleText(GetForegroundWindow()));
    } else {
        return usage();
    }
    std::fflush(stdout);
    return 0;
}
