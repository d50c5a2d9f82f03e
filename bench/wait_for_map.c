/* Starts a program and reports how long it takes until a top-level window
 * whose title contains the given text is mapped on the display.
 *
 *   wait_for_map TITLE TIMEOUT_MS PROGRAM [ARGS...]
 *
 * Prints "PID MILLISECONDS" and leaves the program running. The clock starts
 * just before the fork, so the time covers exec, library loading and
 * everything the program does before its first window shows. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static int title_matches(Display* display, Window window, const char* wanted)
{
    Atom net_wm_name = XInternAtom(display, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* value = NULL;
    int found = 0;
    if (XGetWindowProperty(display, window, net_wm_name, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &value) == Success && value) {
        found = strstr((const char*)value, wanted) != NULL;
        XFree(value);
    }
    if (!found) {
        char* name = NULL;
        if (XFetchName(display, window, &name) && name) {
            found = strstr(name, wanted) != NULL;
            XFree(name);
        }
    }
    return found;
}

/* A mapped window may be the client itself or, under a window manager, a
 * frame around it: look at the window and a few levels of its children. */
static int window_or_child_matches(Display* display, Window window, const char* wanted, int depth)
{
    if (title_matches(display, window, wanted))
        return 1;
    if (depth == 0)
        return 0;
    Window root, parent, *children = NULL;
    unsigned int count = 0;
    int found = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i)
            found = window_or_child_matches(display, children[i], wanted, depth - 1);
        if (children)
            XFree(children);
    }
    return found;
}

int main(int argc, char** argv)
{
    if (argc < 4) {
        fprintf(stderr, "usage: %s TITLE TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const char* wanted = argv[1];
    const double timeout = atof(argv[2]);
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        /* The program must not hold the caller's pipes open after we exit. */
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, 0);
            dup2(devnull, 1);
            dup2(devnull, 2);
            close(devnull);
        }
        setsid();
        execvp(argv[3], argv + 3);
        _exit(127);
    }

    /* Title changes after mapping count too: watch every mapped window. */
    while (now_ms() - start < timeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && window_or_child_matches(display, event.xmap.window, wanted, 3)) {
                printf("%d %.1f\n", (int)pid, now_ms() - start);
                fflush(stdout);
                XCloseDisplay(display);
                return 0;
            }
        }
        struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 5);
    }
    fprintf(stderr, "no window titled '%s' within %.0f ms\n", wanted, timeout);
    printf("%d -1\n", (int)pid);
    XCloseDisplay(display);
    return 1;
}
