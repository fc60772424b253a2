// velquor-mark: a launch target for the tests. Appends one line
//   cmdline=<its command line>\tcwd=<its current folder>
// to the file named by VELQUOR_MARK_FILE, or else to mark.txt beside the
// program, and exits at once.
#include <windows.h>

#include <string>

namespace {

std::string markFile()
{
    char buffer[MAX_PATH * 2] = {};
    DWORD length = GetEnvironmentVariableA("VELQUOR_MARK_FILE", buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer)
        return buffer;
    length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string path(buffer, length < sizeof buffer ? length : 0);
    std::string::size_type slash = path.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "mark.txt";
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char folder[MAX_PATH * 2] = {};
    DWORD folderLength = GetCurrentDirectoryA(sizeof folder, folder);
    std::string line = std::string("cmdline=") + GetCommandLineA() + "\tcwd=" +
                       std::string(folder, folderLength < sizeof folder ? folderLength : 0) + "\n";
    HANDLE file = CreateFileA(markFile().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == line.size() ? 0 : 1;
}
