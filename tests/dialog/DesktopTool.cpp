// quorvel_desktop: does to the top-level window with the given title what the desktop and the
// user's other windows do to it, for the scripts that run the real program.
//
// quorvel_desktop close TITLE             clicks its close box
// quorvel_desktop ping TITLE LIMIT_MS     pings it; prints how long its answer took
// quorvel_desktop cover TITLE             covers it for 0.5 s; 1 s after the cover is gone,
//                                         compares it with how it looked before
//
// Exits with 0 when the window did what a live window does, 1 when it did not, 2 when there is
// no such window or no display.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "DesktopRequests.h"
#include "ScreenCapture.h"

namespace {

using namespace std::chrono_literals;

constexpr quorvel::Rgb kCoverColour{255, 0, 255};  // a colour no part of the window has

bool IsCoverColour(const std::vector<std::uint8_t>& rgb, std::size_t at) {
    return rgb[at] == kCoverColour.red && rgb[at + 1] == kCoverColour.green &&
           rgb[at + 2] == kCoverColour.blue;
}

struct Difference {
    std::size_t changed = 0;    // pixels unlike before
    std::size_t coverLeft = 0;  // of those, pixels of the cover's colour
};

Difference Compare(const std::vector<std::uint8_t>& before,
                   const std::vector<std::uint8_t>& after) {
    Difference difference;
    for (std::size_t at = 0; at + 2 < before.size() && at + 2 < after.size(); at += 3) {
        if (before[at] != after[at] || before[at + 1] != after[at + 1] ||
            before[at + 2] != after[at + 2]) {
            ++difference.changed;
            difference.coverLeft += IsCoverColour(after, at) ? 1U : 0U;
        }
    }
    return difference;
}

bool AllCoverColour(const std::vector<std::uint8_t>& rgb) {
    for (std::size_t at = 0; at + 2 < rgb.size(); at += 3) {
        if (!IsCoverColour(rgb, at)) {
            return false;
        }
    }
    return !rgb.empty();
}

int Close(const std::string& title) {
    if (!quorvel::SendCloseRequest(title)) {
        std::printf("no window titled \"%s\"\n", title.c_str());
        return 2;
    }
    return 0;
}

int Ping(const std::string& title, std::chrono::milliseconds limit) {
    const quorvel::PingOutcome outcome = quorvel::PingWindow(title, limit);
    if (!outcome.windowFound) {
        std::printf("no window titled \"%s\"\n", title.c_str());
        return 2;
    }
    if (!outcome.delay) {
        std::printf("ping not answered within %lld ms\n", static_cast<long long>(limit.count()));
        return 1;
    }
    std::printf("ping answered in %lld ms\n", static_cast<long long>(outcome.delay->count()));
    return 0;
}

// A window left as the cover left it was not repainted; one that changed all over (blanked by
// the X server, say) was not either. A live window looks as before, but for a blinking caret.
int Cover(const std::string& title) {
    const std::optional<quorvel::ScreenRect> rect = quorvel::TopLevelRect(title);
    if (!rect) {
        std::printf("no window titled \"%s\"\n", title.c_str());
        return 2;
    }
    const std::vector<std::uint8_t> before = quorvel::CaptureScreen(*rect);
    if (!AllCoverColour(quorvel::CoverScreen(*rect, kCoverColour, 500ms))) {
        std::printf("the cover did not show over the window\n");
        return 2;
    }
    std::this_thread::sleep_for(1s);
    const Difference difference = Compare(before, quorvel::CaptureScreen(*rect));
    const std::size_t pixels = before.size() / 3;
    std::printf("1 s after the cover: %zu of %zu pixels unlike before, %zu of the cover's colour\n",
                difference.changed, pixels, difference.coverLeft);
    return difference.coverLeft == 0 && difference.changed * 200 <= pixels ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc >= 3 ? argv[1] : "";
    if (verb == "close" && argc == 3) {
        return Close(argv[2]);
    }
    if (verb == "ping" && argc == 4) {
        return Ping(argv[2], std::chrono::milliseconds(std::stol(argv[3])));
    }
    if (verb == "cover" && argc == 3) {
        return Cover(argv[2]);
    }
    std::fprintf(stderr,
                 "usage: quorvel_desktop close TITLE | ping TITLE LIMIT_MS | cover TITLE\n");
    return 2;
}
