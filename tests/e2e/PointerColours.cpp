// Prints what the X server's mouse pointer looks like now, for the window tests: how many of its
// pixels show, and how many of those have green or blue above a threshold. One line:
//   pointer WxH shown N green-or-blue M brightest-red R
// Usage: e2e_pointer_colours [THRESHOLD]   (THRESHOLD 0..255, 16 by default). Exit 1 without a
// display or the XFIXES extension.

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const unsigned long threshold = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "e2e_pointer_colours: cannot open the display\n");
        return 1;
    }
    int eventBase = 0, errorBase = 0;
    XFixesCursorImage* image = nullptr;
    if (XFixesQueryExtension(display, &eventBase, &errorBase))
        image = XFixesGetCursorImage(display);
    if (!image) {
        std::fprintf(stderr, "e2e_pointer_colours: the server does not give the pointer's picture\n");
        XCloseDisplay(display);
        return 1;
    }
    long shown = 0, coloured = 0;
    unsigned long brightestRed = 0;
    for (long i = 0; i < static_cast<long>(image->width) * image->height; ++i) {
        // Premultiplied ARGB in the low 32 bits of each word.
        const unsigned long p = image->pixels[i];
        if (((p >> 24) & 0xFFu) == 0)
            continue;
        ++shown;
        const unsigned long r = (p >> 16) & 0xFFu, g = (p >> 8) & 0xFFu, b = p & 0xFFu;
        if (g > threshold || b > threshold)
            ++coloured;
        if (r > brightestRed)
            brightestRed = r;
    }
    std::printf("pointer %dx%d shown %ld green-or-blue %ld brightest-red %lu\n", image->width, image->height,
                shown, coloured, brightestRed);
    XFree(image);
    XCloseDisplay(display);
    return 0;
}
