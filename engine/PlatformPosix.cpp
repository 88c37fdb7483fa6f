// The Linux side of the few things the game takes from its platform: the
// clock, the listing of the sound folders, and files read and written safely.
#include "engine/Platform.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>

#include "engine/PlatformSystem.h"

namespace platform {

namespace system {

bool LocalTimeNow(std::tm& local)
{
    const std::time_t now = std::time(nullptr);
    return localtime_r(&now, &local) != nullptr;
}

bool ListEntries(const std::string& dir, std::vector<std::string>& entries)
{
    DIR* listing = opendir(NativePath(dir).c_str());
    if (listing == nullptr)
        return false;
    while (const dirent* entry = readdir(listing))
        entries.push_back(entry->d_name);
    closedir(listing);
    return true;
}

}  // namespace system

bool MoveIntoPlace(const std::string& from, const std::string& to)
{
    return std::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

void RemoveFile(const std::string& path)
{
    std::remove(NativePath(path).c_str());
}

std::string TextModeLines(const std::string& text)
{
    return text;
}

std::string InWorkingDirectory(const std::string& name)
{
    char dir[4096];
    if (getcwd(dir, sizeof dir) == nullptr)
        return name;
    return std::string(dir) + "/" + NativePath(name);
}

bool ReadRegularFile(const std::string& path, std::string& bytes, std::size_t limit)
{
    // O_NONBLOCK: opening a FIFO must not wait for a writer; the look at what
    // was opened then turns it away.
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    bytes.assign(regular ? limit : 0, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = read(fd, &bytes[got], bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;  // a quit signal, not the end of the file
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    close(fd);
    return regular;
}

// Every byte, however many calls write() takes.
static bool WriteAll(int fd, const std::string& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;  // a quit signal, not a failed write
        if (n < 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteFlushed(const std::string& path, const std::string& bytes)
{
    const int fd = open(NativePath(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = WriteAll(fd, bytes) && fsync(fd) == 0;
    return close(fd) == 0 && written;
}

void FlushDirectoryOf(const std::string& path)
{
    const std::string file = NativePath(path);
    const std::string::size_type slash = file.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : file.substr(0, slash + 1);
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

std::string UnreadableReason(const std::string& path)
{
    struct stat info;
    if (stat(NativePath(path).c_str(), &info) != 0)
        return std::strerror(errno);
    if (S_ISDIR(info.st_mode))
        return "is a directory";
    if (!S_ISREG(info.st_mode))
        return "not a regular file";
    const int fd = open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::strerror(errno);
    close(fd);
    return "cannot be read";
}

bool MakeDirectory(const std::string& dir)
{
    const std::string native = NativePath(dir);
    struct stat info;
    if (mkdir(native.c_str(), 0755) == 0)
        return true;
    return errno == EEXIST && stat(native.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> CommandLine()
{
    std::vector<std::string> args;
    std::FILE* file = std::fopen("/proc/self/cmdline", "rb");
    if (!file)
        return args;
    std::string arg;
    for (int c; (c = std::fgetc(file)) != EOF;) {
        if (c == '\0') {
            args.push_back(arg);
            arg.clear();
        } else {
            arg += static_cast<char>(c);
        }
    }
    std::fclose(file);
    return args;
}

namespace {

void (*endRequest)() = nullptr;

void RequestEnd(int)
{
    endRequest();
}

}  // namespace

// Linux ends a session with SIGHUP and SIGTERM, so the session needs nothing of its own.
void OnEndRequests(void (*request)(), void (*)())
{
    endRequest = request;
    struct sigaction action = {};
    action.sa_handler = RequestEnd;
    sigemptyset(&action.sa_mask);
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signalNumber, &action, nullptr);
}

void PlayerFilesSafe()
{
    // Nothing waits for it here: a signal leaves the program all the time it needs.
}

}  // namespace platform
