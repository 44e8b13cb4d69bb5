// What the X server shows in a rectangle of the screen, read straight from the server so that
// the picture is what a user sees, not what the toolkit believes it drew.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvel {

struct ScreenRect {
    int x, y, width, height;
};

// The rectangle's pixels as RGB bytes, row by row; empty when the display cannot be read.
std::vector<std::uint8_t> CaptureScreen(const ScreenRect& rect);

}  // namespace quorvel
