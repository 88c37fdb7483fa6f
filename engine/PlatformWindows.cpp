// The Windows side of the few things the game takes from its platform: the
// clock, the listing of the sound folders, files read and written safely,
// the command line, and the ways Windows asks a program to end. Names are
// UTF-8 inside the game and UTF-16 for Windows.
// Allegro's own header brings windows.h, and its hook into the window's
// messages serves the end of the session.
#include <allegro.h>
#include <winalleg.h>
//
#include <shellapi.h>

#include <algorithm>
#include <ctime>

#include "engine/Platform.h"
#include "engine/PlatformSystem.h"

namespace platform {

namespace {

std::wstring Wide(const std::string& utf8)
{
    if (utf8.empty())
        return std::wstring();
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], length);
    return wide;
}

std::string Utf8(const wchar_t* wide)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1)
        return std::string();
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &utf8[0], length, nullptr, nullptr);
    utf8.resize(static_cast<std::size_t>(length - 1));
    return utf8;
}

// The system's words for its last error, without the line break it ends with.
std::string LastErrorText()
{
    wchar_t* text = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    FormatMessageW(flags, nullptr, GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0,
                   nullptr);
    std::string reason = text ? Utf8(text) : "unknown error";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
        reason.pop_back();
    return reason;
}

}  // namespace

namespace system {

bool LocalTimeNow(std::tm& local)
{
    const std::time_t now = std::time(nullptr);
    return localtime_s(&local, &now) == 0;
}

bool ListEntries(const std::string& dir, std::vector<std::string>& entries)
{
    WIN32_FIND_DATAW entry;
    const HANDLE listing = FindFirstFileW(Wide(dir + "\\*").c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE)
        return false;
    do {
        entries.push_back(Utf8(entry.cFileName));
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
    return true;
}

}  // namespace system

bool MoveIntoPlace(const std::string& from, const std::string& to)
{
    // Write-through: the move itself is on the disk when the call returns.
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFile(const std::string& path)
{
    DeleteFileW(Wide(path).c_str());
}

std::string TextModeLines(const std::string& text)
{
    std::string lines;
    for (char c : text) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return lines;
}

std::string InWorkingDirectory(const std::string& name)
{
    wchar_t dir[MAX_PATH];
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, dir);
    if (length == 0 || length >= MAX_PATH)
        return name;
    return Utf8(dir) + "\\" + name;
}

// Opens an existing file to read; a directory does not open.
static HANDLE OpenToRead(const std::string& path)
{
    return CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

bool ReadRegularFile(const std::string& path, std::string& bytes, std::size_t limit)
{
    bytes.clear();
    const HANDLE file = OpenToRead(path);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    // A pipe or a device could block the game or never end.
    const bool regular = GetFileType(file) == FILE_TYPE_DISK;
    bytes.assign(regular ? limit : 0, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, 1 << 20));
        if (!ReadFile(file, &bytes[got], want, &n, nullptr) || n == 0)
            break;
        got += n;
    }
    bytes.resize(got);
    CloseHandle(file);
    return regular;
}

bool WriteFlushed(const std::string& path, const std::string& bytes)
{
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        DWORD n = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
        written = WriteFile(file, bytes.data() + done, want, &n, nullptr) && n > 0;
        done += n;
    }
    written = written && FlushFileBuffers(file);
    return CloseHandle(file) && written;
}

void FlushDirectoryOf(const std::string&)
{
    // Windows keeps a directory's entries with the moves made write-through.
}

std::string UnreadableReason(const std::string& path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return LastErrorText();
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return "is a directory";
    const HANDLE file = OpenToRead(path);
    if (file == INVALID_HANDLE_VALUE)
        return LastErrorText();
    const bool regular = GetFileType(file) == FILE_TYPE_DISK;
    CloseHandle(file);
    return regular ? "cannot be read" : "not a regular file";
}

bool MakeDirectory(const std::string& dir)
{
    if (CreateDirectoryW(Wide(dir).c_str(), nullptr))
        return true;
    const DWORD attributes = GetFileAttributesW(Wide(dir).c_str());
    return GetLastError() == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::string> CommandLine()
{
    std::vector<std::string> args;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr)
        return args;
    for (int i = 0; i < count; ++i)
        args.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return args;
}

namespace {

void (*endRequest)() = nullptr;
void (*sessionEnd)() = nullptr;
HANDLE filesSafe = nullptr;
// Windows gives a program about five seconds once the session ends.
constexpr DWORD kSessionEndWait = 4000;

// The session is ending: ask the game to quit, and hold Windows back until
// the player's files are on the disk.
void EndSession()
{
    sessionEnd();
    WaitForSingleObject(filesSafe, kSessionEndWait);
}

// Runs on a thread of the console's own.
BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        endRequest();
        return TRUE;
    }
    EndSession();
    return TRUE;
}

// Runs on Allegro's window thread, before Allegro's own handling.
int OnWindowMessage(HWND, UINT message, WPARAM wparam, LPARAM, int* result)
{
    if (message != WM_ENDSESSION || !wparam)
        return 1;
    EndSession();
    *result = 0;
    return 0;
}

}  // namespace

void OnEndRequests(void (*request)(), void (*sessionEnds)())
{
    endRequest = request;
    sessionEnd = sessionEnds;
    filesSafe = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    win_set_msg_pre_proc(OnWindowMessage);
}

void PlayerFilesSafe()
{
    if (filesSafe != nullptr)
        SetEvent(filesSafe);
}

}  // namespace platform
