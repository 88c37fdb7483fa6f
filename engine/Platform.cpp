// The Linux side of the few things the game takes from its platform: file
// names, the log header's clock texts and the listing of the sound folders.
#include "engine/Platform.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "ol/LayerLog.h"

namespace platform {

namespace {

// Set before the game state is built, so a plain flag with no constructor.
bool playerFilesLeftAlone = false;

}  // namespace

// The local clock, formatted the way the log header has always shown it.
static std::string LocalClockText(const char* format, const char* unknown)
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local) == nullptr ||
        std::strftime(text, sizeof text, format, &local) == 0)
        return unknown;
    return text;
}

std::string DateText()
{
    return LocalClockText("%m/%d/%y", "00/00/00");
}
std::string TimeText()
{
    return LocalClockText("%H:%M:%S", "00:00:00");
}
std::string StampText()
{
    return LocalClockText("%Y-%m-%d-%H%M%S", "0000-00-00-000000");
}

bool ListDirectorySorted(const std::string& dir, std::vector<std::string>& names)
{
    DIR* listing = opendir(NativePath(dir).c_str());
    if (listing == nullptr)
        return false;
    std::vector<std::string> found;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            found.push_back(name);
    }
    closedir(listing);
    // std::string compares as unsigned bytes, so the order does not depend
    // on the locale or on the file system's own order.
    std::sort(found.begin(), found.end());
    names.insert(names.end(), found.begin(), found.end());
    return true;
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

bool WriteFileWhole(const std::string& path, const std::string& bytes)
{
    const std::string target = NativePath(path);
    const std::string temporary = target + ".new";
    if (!WriteFlushed(temporary, bytes) || std::rename(temporary.c_str(), target.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    FlushDirectoryOf(target);
    return true;
}

void LeavePlayerFilesAlone()
{
    playerFilesLeftAlone = true;
    ol::SilenceLog();
}

bool PlayerFilesLeftAlone()
{
    return playerFilesLeftAlone;
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

std::mutex& FileWriteLock()
{
    static std::mutex lock;
    return lock;
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

}  // namespace platform
