#include "ScreenCapture.h"

#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quorvel {
namespace {

std::vector<std::uint8_t> ReadScreen(Display* display, const ScreenRect& rect) {
    std::vector<std::uint8_t> rgb;
    XImage* image = XGetImage(display, XDefaultRootWindow(display), rect.x, rect.y,
                              static_cast<unsigned>(rect.width), static_cast<unsigned>(rect.height),
                              AllPlanes, ZPixmap);
    if (image != nullptr) {
        rgb.reserve(static_cast<std::size_t>(rect.width * rect.height * 3));
        for (int y = 0; y < rect.height; ++y) {
            for (int x = 0; x < rect.width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                rgb.push_back(static_cast<std::uint8_t>((pixel & image->red_mask) >> 16));
                rgb.push_back(static_cast<std::uint8_t>((pixel & image->green_mask) >> 8));
                rgb.push_back(static_cast<std::uint8_t>(pixel & image->blue_mask));
            }
        }
        XDestroyImage(image);
    }
    return rgb;
}

unsigned long PixelOf(Display* display, Rgb colour) {
    XColor pixel{};
    pixel.red = static_cast<unsigned short>(colour.red * 257);
    pixel.green = static_cast<unsigned short>(colour.green * 257);
    pixel.blue = static_cast<unsigned short>(colour.blue * 257);
    XAllocColor(display, XDefaultColormap(display, XDefaultScreen(display)), &pixel);
    return pixel.pixel;
}

}  // namespace

std::vector<std::uint8_t> CaptureScreen(const ScreenRect& rect) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> rgb = ReadScreen(display, rect);
    XCloseDisplay(display);
    return rgb;
}

std::vector<std::uint8_t> CoverScreen(const ScreenRect& rect, Rgb colour,
                                      std::chrono::milliseconds span) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return {};
    }
    // Override-redirect: placed and stacked as given, whatever manages the other windows. The
    // server paints its background as it maps it.
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = PixelOf(display, colour);
    const Window cover = XCreateWindow(
        display, XDefaultRootWindow(display), rect.x, rect.y, static_cast<unsigned>(rect.width),
        static_cast<unsigned>(rect.height), 0, CopyFromParent, InputOutput, nullptr,
        CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(display, cover);
    XSync(display, False);
    std::this_thread::sleep_for(span);
    std::vector<std::uint8_t> rgb = ReadScreen(display, rect);
    XDestroyWindow(display, cover);
    XSync(display, False);
    XCloseDisplay(display);
    return rgb;
}

}  // namespace quorvel
