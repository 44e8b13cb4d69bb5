#!/usr/bin/env python3
"""Draws Quorvel's application icon, a globe under a magnifying glass, in the 16 standard
colours, and writes it as XPM (32x32 and 16x16, compiled into the window) and as one .ico
holding both sizes (the Windows resource). Run it again after changing the picture."""

import math
import struct
from pathlib import Path

from icon_geometry import (BLACK_RING_OUTER, GLOBE_CX, GLOBE_CY, GLOBE_R, GRAY_RING_OUTER,
                           GRID_HALF_WIDTH, GRID_STEP, HANDLE_CORE_HALF, HANDLE_END, HANDLE_HALF,
                           HANDLE_START, LENS_CX, LENS_CY, LENS_INNER, LENS_ZOOM, RIM, is_land)

HERE = Path(__file__).resolve().parent

# The 16 colours every display could show; the icon uses nothing else.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, TEAL, SILVER, GRAY = 0, 1, 2, 3, 4, 6, 7, 8
LIME, BLUE, AQUA, WHITE = 10, 12, 14, 15
CLEAR = None


def pixel(x, y):
    """The colour at (x, y) of the picture drawn on a unit square (0..1, 0..1)."""
    # The magnifier: a ring with a light lens, its handle running to the lower right corner.
    lens_d = math.hypot(x - LENS_CX, y - LENS_CY)
    along = ((x - LENS_CX) + (y - LENS_CY)) / math.sqrt(2)
    across = abs((x - LENS_CX) - (y - LENS_CY)) / math.sqrt(2)
    if HANDLE_START < along < HANDLE_END and across < HANDLE_HALF:
        return MAROON if across < HANDLE_CORE_HALF else BLACK
    if lens_d <= BLACK_RING_OUTER:
        if lens_d > LENS_INNER:
            return BLACK if lens_d > GRAY_RING_OUTER else GRAY
        # Seen through the lens the globe is magnified and brighter.
        seen = pixel_of_globe(LENS_CX + (x - LENS_CX) / LENS_ZOOM,
                              LENS_CY + (y - LENS_CY) / LENS_ZOOM)
        return {BLUE: AQUA, NAVY: BLUE, GREEN: LIME, AQUA: WHITE}.get(seen, WHITE)
    return pixel_of_globe(x, y)


def pixel_of_globe(x, y):
    """The globe: blue sea crossed by a grid of meridians and parallels, with green land."""
    dx, dy = (x - GLOBE_CX) / GLOBE_R, (y - GLOBE_CY) / GLOBE_R
    d = math.hypot(dx, dy)
    if d > 1.0:
        return CLEAR
    if d > RIM:
        return NAVY
    lon = math.asin(max(-1.0, min(1.0, dx / math.sqrt(max(1e-9, 1 - dy * dy)))))
    lat = math.asin(max(-1.0, min(1.0, dy)))
    on_grid = min(abs(lon - k * GRID_STEP) for k in range(-2, 3)) < GRID_HALF_WIDTH or \
        min(abs(lat - k * GRID_STEP) for k in range(-2, 3)) < GRID_HALF_WIDTH
    if on_grid:
        return AQUA
    return GREEN if is_land(lon, lat) else BLUE


def render(size):
    # Each pixel takes the colour at its centre.
    return [[pixel((col + 0.5) / size, (row + 0.5) / size) for col in range(size)]
            for row in range(size)]


def write_xpm(image, name, path):
    used = sorted({c for row in image for c in row if c is not None})
    keys = "0123456789abcdef"
    lines = [f'"{len(image)} {len(image)} {len(used) + 1} 1",', '"  c None",']
    for c in used:
        r, g, b = PALETTE[c]
        lines.append(f'"{keys[c]} c #{r:02X}{g:02X}{b:02X}",')
    for row in image:
        lines.append('"' + "".join(" " if c is None else keys[c] for c in row) + '",')
    lines[-1] = lines[-1].rstrip(",")
    text = "/* XPM */\nstatic const char* const " + name + "[] = {\n" + "\n".join(lines) + "\n};\n"
    path.write_text(text)


def ico_image(image):
    """One 4-bit-per-pixel icon image: header, palette, colour bits and transparency mask,
    rows stored bottom-up as Windows expects."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    mask = bytearray()
    for row in reversed(image):
        line = bytearray()
        for i in range(0, size, 2):
            hi, lo = (c or 0 for c in row[i:i + 2])
            line.append(hi << 4 | lo)
        xor += line + bytes(-len(line) % 4)
        bits = bytearray()
        for i in range(0, size, 8):
            byte = 0
            for c in row[i:i + 8]:
                byte = byte << 1 | (1 if c is None else 0)
            bits.append(byte << (8 - len(row[i:i + 8])) & 0xFF)
        mask += bits + bytes(-len(bits) % 4)
    return header + palette + bytes(xor) + bytes(mask)


def write_ico(images, path):
    blobs = [ico_image(image) for image in images]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for image, blob in zip(images, blobs):
        size = len(image)
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(blob), offset)
        offset += len(blob)
    path.write_bytes(out + b"".join(blobs))


def main():
    big, small = render(32), render(16)
    write_xpm(big, "quorvel_32_xpm", HERE / "quorvel-32.xpm")
    write_xpm(small, "quorvel_16_xpm", HERE / "quorvel-16.xpm")
    write_ico([big, small], HERE / "quorvel.ico")


if __name__ == "__main__":
    main()
