#!/usr/bin/env python3
"""Draws the icons the desktop shows for Quorvel, into hicolor/ beside this script:

- 16x16 and 32x32 PNGs, pixel for pixel the window's own icon (resources/icons/*.xpm), so the
  menu, the task bar and the window show the same picture;
- a scalable SVG of the same picture, a globe under a magnifying glass, drawn from the
  geometry the window's icon is drawn from (resources/icons/icon_geometry.py);
- a 48x48 PNG rendered from the SVG (needs rsvg-convert, Debian's librsvg2-bin).

Run it again after the window's icon changes, and commit what it writes. With --check it
writes nothing and fails when the committed 16, 32 and scalable icons are not what it would
draw, that is when the window's icon changed and these were not redrawn."""

import math
import struct
import subprocess
import sys
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
WINDOW_ICONS = HERE.parent.parent / "resources" / "icons"
sys.path.insert(0, str(WINDOW_ICONS))
from icon_geometry import (BLACK_RING_OUTER, GLOBE_CX, GLOBE_CY, GLOBE_R, GRAY_RING_OUTER,  # noqa: E402
                           GRID_STEP, HANDLE_CORE_HALF, HANDLE_END, HANDLE_HALF, HANDLE_START,
                           LAND_LAT_PHASE, LAND_LAT_WAVES, LAND_LON_PHASE, LAND_LON_WAVES,
                           LAND_THRESHOLD, LENS_CX, LENS_CY, LENS_INNER, LENS_R, LENS_ZOOM, RIM)

# The icons' file name here; installed, they are named after the application id.
ICON_NAME = "quorvel"

# Scaled, the grid lines are drawn thinner than the pixels' one-pixel lines.
SVG_GRID_HALF_WIDTH = 0.05  # radians either side of a line

# The 16-colour palette entries the icon uses.
NAVY, BLUE, AQUA, GREEN, LIME = "#000080", "#0000FF", "#00FFFF", "#008000", "#00FF00"
BLACK, GRAY, MAROON, WHITE = "#000000", "#808080", "#800000", "#FFFFFF"
# Seen through the lens everything is one step brighter.
PLAIN = {"rim": NAVY, "sea": BLUE, "grid": AQUA, "land": GREEN}
BRIGHT = {"rim": BLUE, "sea": AQUA, "grid": WHITE, "land": LIME}

SIZE = 128  # the SVG's user units per side


def u(value):
    """A unit-square length in SVG user units, short enough to read."""
    return f"{value * SIZE:.2f}".rstrip("0").rstrip(".")


def project(lon, lat):
    """Where a point of the globe's front hemisphere lands on the picture."""
    return (GLOBE_CX + GLOBE_R * math.sin(lon) * math.cos(lat),
            GLOBE_CY + GLOBE_R * math.sin(lat))


def land_intervals(lat):
    """The longitudes where the window's icon has land at this latitude (icon_geometry's
    is_land), solved for the longitude."""
    t = LAND_THRESHOLD - math.cos(LAND_LAT_WAVES * lat - LAND_LAT_PHASE)
    if t >= 1:
        return []
    a = math.asin(t)
    found = []
    waves, phase = LAND_LON_WAVES, LAND_LON_PHASE
    for start, end in (((a - phase) / waves, (math.pi - a - phase) / waves),
                       ((-2 * math.pi + a - phase) / waves, (-math.pi - a - phase) / waves)):
        start, end = max(start, -math.pi / 2), min(end, math.pi / 2)
        if start < end:
            found.append((start, end))
    return found


def land_paths():
    """The land as closed outlines: for each stretch of latitudes with land, its western
    edge going south and its eastern edge coming back."""
    steps = 48
    lats = [-math.pi / 2 + math.pi * i / steps for i in range(steps + 1)]
    paths = []
    for which in range(2):
        west, east = [], []
        for lat in lats:
            intervals = [iv for iv in land_intervals(lat) if (iv[0] > -1.2) == (which == 0)]
            if intervals:
                west.append(project(intervals[0][0], lat))
                east.append(project(intervals[0][1], lat))
        if west:
            points = west + east[::-1]
            paths.append("M" + " L".join(f"{u(x)},{u(y)}" for x, y in points) + " Z")
    return paths


def globe(colours):
    """The globe: a navy rim, blue sea with green land, crossed by the aqua grid of
    meridians and parallels every 45 degrees."""
    cx, cy, r = u(GLOBE_CX), u(GLOBE_CY), GLOBE_R
    grid = u(2 * SVG_GRID_HALF_WIDTH * GLOBE_R)
    parts = [
        f'<circle cx="{cx}" cy="{cy}" r="{u(r)}" fill="{colours["rim"]}"/>',
        f'<g clip-path="url(#sea)">',
        f'<circle cx="{cx}" cy="{cy}" r="{u(r * RIM)}" fill="{colours["sea"]}"/>',
    ]
    parts += [f'<path d="{d}" fill="{colours["land"]}"/>' for d in land_paths()]
    parts.append(f'<g fill="none" stroke="{colours["grid"]}" stroke-width="{grid}">')
    parts.append(f'<line x1="{cx}" y1="{u(GLOBE_CY - r)}" x2="{cx}" y2="{u(GLOBE_CY + r)}"/>')
    parts.append(f'<ellipse cx="{cx}" cy="{cy}" rx="{u(r * math.sin(GRID_STEP))}" '
                 f'ry="{u(r)}"/>')
    for lat in (-GRID_STEP, 0, GRID_STEP):
        y = GLOBE_CY + r * math.sin(lat)
        half = r * math.cos(lat)
        parts.append(f'<line x1="{u(GLOBE_CX - half)}" y1="{u(y)}" '
                     f'x2="{u(GLOBE_CX + half)}" y2="{u(y)}"/>')
    parts += ["</g>", "</g>"]
    return parts


def ring(colour, inner, outer):
    return (f'<circle cx="{u(LENS_CX)}" cy="{u(LENS_CY)}" r="{u((inner + outer) / 2)}" '
            f'fill="none" stroke="{colour}" stroke-width="{u(outer - inner)}"/>')


def magnifier():
    """The lens shows the globe magnified and brighter; its ring is grey inside black; the
    handle runs to the lower right corner, maroon inside black."""
    lx, ly = u(LENS_CX), u(LENS_CY)
    zoom = (f"translate({lx} {ly}) scale({LENS_ZOOM:.4f}) "
            f"translate({u(-LENS_CX)} {u(-LENS_CY)})")
    reach = HANDLE_END * math.sqrt(0.5)
    start = HANDLE_START * math.sqrt(0.5)
    parts = [
        '<g clip-path="url(#lens)">',
        f'<rect width="{SIZE}" height="{SIZE}" fill="{WHITE}"/>',
        f'<g transform="{zoom}">',
        *globe(BRIGHT),
        "</g>",
        "</g>",
        ring(GRAY, LENS_INNER, GRAY_RING_OUTER),
        ring(BLACK, GRAY_RING_OUTER, BLACK_RING_OUTER),
    ]
    for colour, half in ((BLACK, HANDLE_HALF), (MAROON, HANDLE_CORE_HALF)):
        parts.append(f'<line x1="{u(LENS_CX + start)}" y1="{u(LENS_CY + start)}" '
                     f'x2="{u(LENS_CX + reach)}" y2="{u(LENS_CY + reach)}" '
                     f'stroke="{colour}" stroke-width="{u(2 * half)}" stroke-linecap="butt"/>')
    return parts


def svg():
    defs = [
        "<defs>",
        f'<clipPath id="sea"><circle cx="{u(GLOBE_CX)}" cy="{u(GLOBE_CY)}" '
        f'r="{u(GLOBE_R * RIM)}"/></clipPath>',
        f'<clipPath id="lens"><circle cx="{u(LENS_CX)}" cy="{u(LENS_CY)}" '
        f'r="{u(LENS_INNER)}"/></clipPath>',
        "</defs>",
    ]
    body = defs + globe(PLAIN) + magnifier()
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" '
            f'viewBox="0 0 {SIZE} {SIZE}">\n<title>Quorvel</title>\n'
            + "\n".join(body) + "\n</svg>\n")


def read_xpm(path):
    """The pixels of one of the window's XPM icons, as RGBA rows (None is transparent)."""
    strings = [line.strip().rstrip(",").strip('"') for line in path.read_text().splitlines()
               if line.strip().startswith('"')]
    width, height, colours, per_pixel = (int(v) for v in strings[0].split()[:4])
    palette = {}
    for entry in strings[1:1 + colours]:
        key, value = entry[:per_pixel], entry[per_pixel:].split()[-1]
        palette[key] = (0, 0, 0, 0) if value == "None" else \
            tuple(int(value[i:i + 2], 16) for i in (1, 3, 5)) + (255,)
    rows = strings[1 + colours:1 + colours + height]
    return [[palette[row[i:i + per_pixel]] for i in range(0, width * per_pixel, per_pixel)]
            for row in rows]


def png(rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def drawn_from_window_icon():
    """The icons drawn from the window's, by their path: the SVG and the small PNGs."""
    apps = HERE / "hicolor" / "{}" / "apps"
    drawn = {Path(str(apps).format("scalable")) / f"{ICON_NAME}.svg": svg().encode()}
    for size in (16, 32):
        path = Path(str(apps).format(f"{size}x{size}")) / f"{ICON_NAME}.png"
        drawn[path] = png(read_xpm(WINDOW_ICONS / f"quorvel-{size}.xpm"))
    return drawn


def check():
    stale = [str(path.relative_to(HERE)) for path, data in drawn_from_window_icon().items()
             if not path.exists() or path.read_bytes() != data]
    if stale:
        print("not drawn from the window's icon: " + ", ".join(stale)
              + "; run packaging/icons/draw-icons.py", file=sys.stderr)
        return 1
    return 0


def main():
    if sys.argv[1:] == ["--check"]:
        return check()
    drawn = drawn_from_window_icon()
    for path, data in drawn.items():
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
    scalable = next(path for path in drawn if path.suffix == ".svg")
    big = HERE / "hicolor" / "48x48" / "apps" / f"{ICON_NAME}.png"
    big.parent.mkdir(parents=True, exist_ok=True)
    subprocess.run(["rsvg-convert", "-w", "48", "-h", "48", "-o", str(big), str(scalable)],
                   check=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
