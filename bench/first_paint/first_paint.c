/* Time from running a command to a window first showing painted on the X display.
 *
 *   first_paint [-t TIMEOUT_MS] [-s SETTLE_MS] TITLE COMMAND [ARGS...]
 *
 * COMMAND starts a program, or makes a running one show its hidden window (a click on its
 * notification icon, a second start). A window named TITLE that already shows is refused: it
 * would count as painted at once. A hidden (unmapped) one is never read: only from when it is
 * mapped again does it count.
 *
 * Starts COMMAND, then every 2 ms looks for a viewable top-level window named TITLE and reads
 * three rows and three columns of its pixels (at a quarter, half and three quarters). Once the
 * window has been viewable for SETTLE_MS (default 1500) the last reading is taken as the finished
 * picture; the first reading that differs from it in at most 1 % of its pixels (a caret may blink)
 * marks the first paint. Prints "first_paint_ms=", "mapped_ms=", "pid=" and leaves COMMAND
 * running: ending it is the caller's business. Exits non-zero when no window shows in time. */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

static int ignore_errors(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0; /* the window may vanish or change between two requests */
}

static Window find_window(Display* d, const char* title) {
    Window root_return, parent, *children = NULL, found = 0;
    unsigned int n = 0;
    if (!XQueryTree(d, DefaultRootWindow(d), &root_return, &parent, &children, &n))
        return 0;
    for (unsigned int i = n; i-- > 0 && !found;) { /* topmost first */
        char* name = NULL;
        if (XFetchName(d, children[i], &name) && name) {
            XWindowAttributes a;
            if (strcmp(name, title) == 0 && XGetWindowAttributes(d, children[i], &a) &&
                a.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
    }
    if (children)
        XFree(children);
    return found;
}

/* One reading: the pixels of the sample lines, or NULL when the window cannot be read. */
typedef struct {
    double t;
    int w, h, n;
    uint32_t* px;
} Reading;

static int read_line(Display* d, Window win, int x, int y, int w, int h, uint32_t* out) {
    XImage* img = XGetImage(d, win, x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
    if (!img)
        return 0;
    int k = 0;
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            out[k++] = (uint32_t)XGetPixel(img, i, j);
    XDestroyImage(img);
    return 1;
}

static int take_reading(Display* d, Window win, Reading* r) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(d, win, &a) || a.map_state != IsViewable)
        return 0;
    r->w = a.width;
    r->h = a.height;
    r->n = 3 * a.width + 3 * a.height;
    r->px = malloc(sizeof(uint32_t) * (size_t)r->n);
    uint32_t* p = r->px;
    for (int q = 1; q <= 3; ++q) {
        if (!read_line(d, win, 0, a.height * q / 4, a.width, 1, p))
            goto fail;
        p += a.width;
    }
    for (int q = 1; q <= 3; ++q) {
        if (!read_line(d, win, a.width * q / 4, 0, 1, a.height, p))
            goto fail;
        p += a.height;
    }
    return 1;
fail:
    free(r->px);
    r->px = NULL;
    return 0;
}

static int like(const Reading* a, const Reading* b) {
    if (a->w != b->w || a->h != b->h)
        return 0;
    int differ = 0;
    for (int i = 0; i < a->n; ++i)
        differ += a->px[i] != b->px[i];
    return differ * 100 <= a->n;
}

int main(int argc, char** argv) {
    int timeout_ms = 30000, settle_ms = 1500, opt;
    while ((opt = getopt(argc, argv, "+t:s:")) != -1) {
        if (opt == 't')
            timeout_ms = atoi(optarg);
        else if (opt == 's')
            settle_ms = atoi(optarg);
        else
            return 2;
    }
    if (argc - optind < 2) {
        fprintf(stderr,
                "usage: first_paint [-t TIMEOUT_MS] [-s SETTLE_MS] TITLE COMMAND [ARGS...]\n");
        return 2;
    }
    const char* title = argv[optind];
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "first_paint: no X display\n");
        return 1;
    }
    XSetErrorHandler(ignore_errors);
    if (find_window(d, title)) {
        fprintf(stderr, "first_paint: a window \"%s\" shows already\n", title);
        return 1;
    }

    const double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        dup2(null, 1);
        dup2(null, 2);
        setsid(); /* its own group, so the caller can end it and its children together */
        execvp(argv[optind + 1], argv + optind + 1);
        _exit(127);
    }
    if (pid < 0)
        return 1;

    size_t cap = 4096, count = 0;
    Reading* readings = malloc(sizeof(Reading) * cap);
    double mapped = -1;
    const struct timespec pause = {0, 2000000};
    while (now_ms() - start < timeout_ms) {
        Window win = find_window(d, title);
        if (win) {
            Reading r = {now_ms() - start, 0, 0, 0, NULL};
            if (take_reading(d, win, &r)) {
                if (mapped < 0)
                    mapped = r.t;
                if (count == cap)
                    readings = realloc(readings, sizeof(Reading) * (cap *= 2));
                readings[count++] = r;
            }
        }
        if (mapped >= 0 && now_ms() - start - mapped >= settle_ms)
            break;
        nanosleep(&pause, NULL);
    }
    printf("pid=%d\n", (int)pid);
    if (count == 0) {
        fprintf(stderr, "first_paint: no window \"%s\" within %d ms\n", title, timeout_ms);
        return 1;
    }
    const Reading* final = &readings[count - 1];
    size_t first = count - 1;
    for (size_t i = 0; i < count; ++i)
        if (like(&readings[i], final)) {
            first = i;
            break;
        }
    printf("first_paint_ms=%.1f\nmapped_ms=%.1f\nreadings=%zu\n", readings[first].t, mapped, count);
    for (size_t i = 0; i < count; ++i)
        free(readings[i].px);
    free(readings);
    XCloseDisplay(d);
    return 0;
}
