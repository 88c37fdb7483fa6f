// A gamepad for a machine without one, preloaded into the real game: opening
// /dev/input/js0 opens the FIFO named by QM_PAD instead, whose writer is the
// test, and the kernel's joystick ioctls on it are answered from
//   QM_PAD_AXES     the input code of each axis, "0,1,16,17"
//   QM_PAD_BUTTONS  the input code of each button, "304,305"
//   QM_PAD_NO_MAPS  set: the axis and button maps cannot be read.
// Removing the FIFO unplugs the pad: it no longer opens, and its ioctls fail.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <linux/joystick.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

// The codes of a comma-separated list, at most `most` of them; their count.
static int ReadCodes(const char* variable, int* codes, int most)
{
    const char* text = getenv(variable);
    int count = 0;
    while (text && *text && count < most) {
        char* end = NULL;
        codes[count] = (int)strtol(text, &end, 10);
        if (end == text) {
            break;
        }
        count += 1;
        text = *end == ',' ? end + 1 : end;
    }
    return count;
}

int open(const char* path, int flags, ...)
{
    static int (*realOpen)(const char*, int, ...);
    if (!realOpen) {
        realOpen = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
    }
    mode_t mode = 0;
    if (flags & (O_CREAT | O_TMPFILE)) {
        va_list rest;
        va_start(rest, flags);
        mode = (mode_t)va_arg(rest, int);
        va_end(rest);
    }
    if (!getenv("QM_PAD") || strcmp(path, "/dev/input/js0") != 0) {
        return realOpen(path, flags, mode);
    }
    return realOpen(getenv("QM_PAD"), O_RDWR | O_NONBLOCK);
}

static int Answer(unsigned long request, void* answer)
{
    int axes[ABS_CNT];
    int buttons[KEY_MAX - BTN_MISC + 1];
    const int axisCount = ReadCodes("QM_PAD_AXES", axes, ABS_CNT);
    const int buttonCount = ReadCodes("QM_PAD_BUTTONS", buttons, KEY_MAX - BTN_MISC + 1);
    const int maps = getenv("QM_PAD_NO_MAPS") == NULL;
    if (request == JSIOCGVERSION) {
        *(__u32*)answer = 0x020100;
    } else if (request == JSIOCGAXES) {
        *(__u8*)answer = (__u8)axisCount;
    } else if (request == JSIOCGBUTTONS) {
        *(__u8*)answer = (__u8)buttonCount;
    } else if (request == JSIOCGAXMAP && maps) {
        memset(answer, 0, _IOC_SIZE(request));
        for (int i = 0; i < axisCount; ++i) {
            ((__u8*)answer)[i] = (__u8)axes[i];
        }
    } else if (request == JSIOCGBTNMAP && maps) {
        memset(answer, 0, _IOC_SIZE(request));
        for (int i = 0; i < buttonCount; ++i) {
            ((__u16*)answer)[i] = (__u16)buttons[i];
        }
    } else {
        errno = EINVAL;
        return -1;
    }
    return 0;
}

int ioctl(int fd, unsigned long request, ...)
{
    static int (*realIoctl)(int, unsigned long, ...);
    if (!realIoctl) {
        realIoctl = (int (*)(int, unsigned long, ...))dlsym(RTLD_NEXT, "ioctl");
    }
    va_list rest;
    va_start(rest, request);
    void* answer = va_arg(rest, void*);
    va_end(rest);
    // Only FIFOs are asked joystick questions here: every other descriptor goes to the kernel.
    struct stat node;
    const int pad = _IOC_TYPE(request) == 'j' && fstat(fd, &node) == 0 && S_ISFIFO(node.st_mode);
    if (!pad) {
        return realIoctl(fd, request, answer);
    }
    if (stat(getenv("QM_PAD"), &node) != 0) {
        errno = ENODEV;
        return -1;
    }
    return Answer(request, answer);
}
