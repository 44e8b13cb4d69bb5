// What the X server shows in a rectangle of the screen, read straight from the server so that
// the picture is what a user sees, not what the toolkit believes it drew; and another window
// passing over it.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace quorvel {

struct ScreenRect {
    int x, y, width, height;
};

// The rectangle's pixels as RGB bytes, row by row; empty when the display cannot be read.
std::vector<std::uint8_t> CaptureScreen(const ScreenRect& rect);

struct Rgb {
    std::uint8_t red, green, blue;
};

// Shows a window of one colour over the rectangle, above all others, for `span`, takes the
// screen's picture of the rectangle meanwhile and removes the window; returns the picture
// (empty when the display cannot be opened).
std::vector<std::uint8_t> CoverScreen(const ScreenRect& rect, Rgb colour,
                                      std::chrono::milliseconds span);

}  // namespace quorvel
