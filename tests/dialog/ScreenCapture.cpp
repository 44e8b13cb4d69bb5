#include "ScreenCapture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quorvel {

std::vector<std::uint8_t> CaptureScreen(const ScreenRect& rect) {
    std::vector<std::uint8_t> rgb;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return rgb;
    }
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
    XCloseDisplay(display);
    return rgb;
}

}  // namespace quorvel
